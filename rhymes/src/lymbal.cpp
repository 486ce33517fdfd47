#include "rhymes/src/lymbal.h"

#include "platform/core/cp1250.h"
#include "platform/ui/forms.h"
#include "resources/resources.h"
#include "rhymes/src/lym_main.h"
#include "shared/program.h"

namespace tq {

void StartRhymesProgram() {
  RegisterRhymesResources();
  ResetLymbalUnit();
  StartTulimboProgram(ProgramKind::RhymesOrSongs, [] {
    tlb::Application->Initialize();
    tlb::Application->Title = tlb::Cz("TQ2 - Rozmotky");
    tlb::Application->CreateForm<TFORM_Lymbal>();
  });
}

void RunRhymesProgram() {
  StartRhymesProgram();
  FinishTulimboProgram();
}

}  // namespace tq
