#include "games/src/tq2_hry.h"

#include "games/src/kamen.h"
#include "games/src/kim_1.h"
#include "games/src/kim_2.h"
#include "games/src/m_hry.h"
#include "platform/core/cp1250.h"
#include "platform/ui/forms.h"
#include "resources/resources.h"
#include "shared/program.h"

namespace tq {

void StartGamesProgram() {
  RegisterGamesResources();
  // The games the menu's tiles open, each unit fresh for this run.
  ResetKim1Unit();
  ResetKamenUnit();
  ResetKim2Unit();
  SetGameFormFactory(1, [](tlb::TComponent* owner) { return new Tform_kim1(owner); });
  SetGameFormFactory(2, [](tlb::TComponent* owner) { return new TFORM_kamen(owner); });
  SetGameFormFactory(3, [](tlb::TComponent* owner) { return new Tform_kim2(owner); });
  StartTulimboProgram(ProgramKind::Games, [] {
    tlb::Application->Initialize();
    tlb::Application->Title = tlb::Cz("TQ II - Hry");
    tlb::Application->CreateForm<TFORM_Menu>();
  });
}

void RunGamesProgram() {
  StartGamesProgram();
  FinishTulimboProgram();
}

}  // namespace tq
