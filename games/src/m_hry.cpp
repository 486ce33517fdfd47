#include "games/src/m_hry.h"

#include <map>

#include "platform/core/exceptions.h"
#include "platform/ui/dialogs.h"

namespace tq {

using namespace tlb;

TFORM_Menu* FORM_Menu = nullptr;

namespace {

MenuState state;

std::map<int, GameFormFactory>& Factories() {
  static std::map<int, GameFormFactory> factories;
  return factories;
}

// The digit in each clip message is the number in the clip's file name, not the tile's.
const TileMenuDesign kDesign = {
    {
        {1, "AVI_obr1", "\\animace\\h_01.avi", "Animace č. 1 nebyla nalezena!", "\\zvuky\\iko_kim1.WAV", "pop1"},
        {2, "AVI_obr2", "\\animace\\h_03.avi", "Animace č. 3 nebyla nalezena!", "\\zvuky\\iko_knp.WAV", "pop2"},
        {3, "AVI_obr3", "\\animace\\h_02.avi", "Animace č. 2 nebyla nalezena!", "\\zvuky\\iko_kim2.WAV", "pop3"},
        {9, "AVI_obr9", "\\animace\\konec.avi", "Animace č. 9 nebyla nalezena!", "\\zvuky\\iko_kon.WAV", nullptr},
    },
    {{0, 1}, {1, 2}, {3, 3}, {4, 9}},
    6,
    "\\hudba\\h_menu.mid",
    CreditsLine,
};

const char* const kCredits[5] = {
    "Program: vývojáři Tulimba",
    "Grafika: malíři Tulimba",
    "Scénář: tým Tulimbo",
    "Díky pro: všechny malé hráče",
    "Tým Tulimbo, 2026",
};

}  // namespace

MenuState& MenuUnit() { return state; }

void SetGameFormFactory(int game, GameFormFactory factory) { Factories()[game] = std::move(factory); }

const char* CreditsLine(int number) {
  static std::string lines[5];
  return CachedCreditsLine(kCredits, lines, number);
}

TFORM_Menu::TFORM_Menu(TComponent* AOwner) : TTileMenu(AOwner, kDesign, state) {
  ClassRegistry::Instance().RegisterClass("TFORM_Menu", "TForm", nullptr);
  FORM_Menu = this;
  HandlerTable h;
  TLB_HANDLER(h, AVI_obr1Open);
  TLB_HANDLER(h, AVI_obr2Open);
  TLB_HANDLER(h, AVI_obr3Open);
  TLB_HANDLER(h, AVI_obr9Open);
  TLB_HANDLER(h, AVI_obr1Click);
  TLB_HANDLER(h, AVI_obr2Click);
  TLB_HANDLER(h, AVI_obr3Click);
  TLB_HANDLER(h, AVI_obr1MouseEnter);
  TLB_HANDLER(h, AVI_obr2MouseEnter);
  TLB_HANDLER(h, AVI_obr3MouseEnter);
  TLB_HANDLER(h, AVI_obr9MouseEnter);
  TLB_HANDLER(h, AVI_obr1MouseExit);
  TLB_HANDLER(h, AVI_obr2MouseExit);
  TLB_HANDLER(h, AVI_obr3MouseExit);
  TLB_HANDLER(h, AVI_obr9MouseExit);
  LoadMenu("FORM_Menu.dfm", h);
  TLB_COMPONENT(AVI_obr1);
  TLB_COMPONENT(AVI_obr2);
  TLB_COMPONENT(AVI_obr3);
  TLB_COMPONENT(AVI_obr9);
  TLB_COMPONENT(pop1);
  TLB_COMPONENT(pop2);
  TLB_COMPONENT(pop3);
  DoCreate();
}

void TFORM_Menu::AVI_obr1Open(TObject*) { TileOpen(1); }
void TFORM_Menu::AVI_obr2Open(TObject*) { TileOpen(2); }
void TFORM_Menu::AVI_obr3Open(TObject*) { TileOpen(3); }
void TFORM_Menu::AVI_obr9Open(TObject*) { TileOpen(9); }
void TFORM_Menu::AVI_obr1MouseEnter(TObject*) { TileEnter(1); }
void TFORM_Menu::AVI_obr2MouseEnter(TObject*) { TileEnter(2); }
void TFORM_Menu::AVI_obr3MouseEnter(TObject*) { TileEnter(3); }
void TFORM_Menu::AVI_obr9MouseEnter(TObject*) { TileEnter(9); }
void TFORM_Menu::AVI_obr1MouseExit(TObject*) { TileExit(1); }
void TFORM_Menu::AVI_obr2MouseExit(TObject*) { TileExit(2); }
void TFORM_Menu::AVI_obr3MouseExit(TObject*) { TileExit(3); }
void TFORM_Menu::AVI_obr9MouseExit(TObject*) { TileExit(9); }

// Suspends the menu, runs the game's form modally and releases it; a form that cannot be
// made or shown is reported, and the menu resumes either way.
void TFORM_Menu::LaunchFromTile(int game) {
  SuspendMenu();
  try {
    auto it = Factories().find(game);
    if (it == Factories().end() || !it->second) throw EOutOfResources("the game form is not available");
    TCustomForm* form = it->second(Application);
    form->ShowModal();
    form->Release();
  } catch (const std::exception&) {
    ShowMessage("Nepovedlo se inicializovat nadstavbu. Malo pameti.");
  }
  ResumeMenu();
}

void TFORM_Menu::AVI_obr1Click(TObject*) { LaunchFromTile(1); }
void TFORM_Menu::AVI_obr2Click(TObject*) { LaunchFromTile(2); }
void TFORM_Menu::AVI_obr3Click(TObject*) { LaunchFromTile(3); }

}  // namespace tq
