#include "songs/src/melim32.h"

#include "platform/core/cp1250.h"
#include "platform/ui/forms.h"
#include "resources/resources.h"
#include "shared/program.h"
#include "songs/src/m_hudba.h"
#include "songs/src/zpev_1.h"

namespace tq {

void StartSongsProgram() {
  RegisterSongsResources();
  StartTulimboProgram(ProgramKind::RhymesOrSongs, [] {
    tlb::Application->Initialize();
    tlb::Application->Title = tlb::Cz("TQ2 - Trilanky");
    // The menu is made first and so is the main form; the singing form is made once,
    // hidden, and lives until the program ends.
    tlb::Application->CreateForm<songs::TFORM_Menu>();
    tlb::Application->CreateForm<songs::TFORM_Fumbamesi>();
  });
}

void RunSongsProgram() {
  StartSongsProgram();
  FinishTulimboProgram();
}

}  // namespace tq
