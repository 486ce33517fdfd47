#include "rhymes/src/lymbal.h"

#include "platform/core/cp1250.h"
#include "platform/ui/forms.h"
#include "resources/resources.h"
#include "shared/program.h"

namespace tq {

void RunRhymesProgram() {
  RegisterRhymesResources();
  RunTulimboProgram(ProgramKind::RhymesOrSongs, [] {
    tlb::Application->Initialize();
    tlb::Application->Title = tlb::Cz("TQ2 - Rozmotky");
  });
}

}  // namespace tq
