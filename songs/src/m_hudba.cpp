#include "songs/src/m_hudba.h"

#include "songs/src/zpev_1.h"

namespace tq::songs {

using namespace tlb;

TFORM_Menu* FORM_Menu = nullptr;

namespace {

MenuState state;

const TileMenuDesign kDesign = {
    {
        {1, "AVI_obr1", "\\animace\\zp_01.avi", "Animace č. 1 nebyla nalezena!", "\\zvuky\\iko_z1.WAV", "pop1"},
        {2, "AVI_obr2", "\\animace\\zp_02.avi", "Animace č. 2 nebyla nalezena!", "\\zvuky\\iko_z2.WAV", "pop2"},
        {3, "AVI_obr3", "\\animace\\zp_03.avi", "Animace č. 3 nebyla nalezena!", "\\zvuky\\iko_z3.WAV", "pop3"},
        {4, "AVI_obr4", "\\animace\\zp_04.avi", "Animace č. 4 nebyla nalezena!", "\\zvuky\\iko_z4.WAV", "pop4"},
        {9, "AVI_obr9", "\\animace\\konec.avi", "Animace č. 9 nebyla nalezena!", "\\zvuky\\iko_kon.WAV", nullptr},
    },
    {{0, 1}, {1, 2}, {3, 3}, {4, 4}, {5, 9}},
    7,
    "\\hudba\\z_menu.mid",
    CreditsLine,
};

const char* const kCredits[5] = {
    "Program: vývojáři Tulimba",
    "Grafika: malíři Tulimba",
    "Scénář: tým Tulimbo",
    "Díky pro: všechny zpěváčky",
    "Tým Tulimbo, 2026",
};

}  // namespace

MenuState& MenuUnit() { return state; }

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
  TLB_HANDLER(h, AVI_obr4Open);
  TLB_HANDLER(h, AVI_obr9Open);
  TLB_HANDLER(h, AVI_obr1Click);
  TLB_HANDLER(h, AVI_obr2Click);
  TLB_HANDLER(h, AVI_obr3Click);
  TLB_HANDLER(h, AVI_obr4Click);
  TLB_HANDLER(h, AVI_obr1MouseEnter);
  TLB_HANDLER(h, AVI_obr2MouseEnter);
  TLB_HANDLER(h, AVI_obr3MouseEnter);
  TLB_HANDLER(h, AVI_obr4MouseEnter);
  TLB_HANDLER(h, AVI_obr9MouseEnter);
  TLB_HANDLER(h, AVI_obr1MouseExit);
  TLB_HANDLER(h, AVI_obr2MouseExit);
  TLB_HANDLER(h, AVI_obr3MouseExit);
  TLB_HANDLER(h, AVI_obr4MouseExit);
  TLB_HANDLER(h, AVI_obr9MouseExit);
  LoadMenu("FORM_Menu.dfm", h);
  TLB_COMPONENT(AVI_obr1);
  TLB_COMPONENT(AVI_obr2);
  TLB_COMPONENT(AVI_obr3);
  TLB_COMPONENT(AVI_obr4);
  TLB_COMPONENT(AVI_obr9);
  TLB_COMPONENT(pop1);
  TLB_COMPONENT(pop2);
  TLB_COMPONENT(pop3);
  TLB_COMPONENT(pop4);
  DoCreate();
}

void TFORM_Menu::AVI_obr1Open(TObject*) { TileOpen(1); }
void TFORM_Menu::AVI_obr2Open(TObject*) { TileOpen(2); }
void TFORM_Menu::AVI_obr3Open(TObject*) { TileOpen(3); }
void TFORM_Menu::AVI_obr4Open(TObject*) { TileOpen(4); }
void TFORM_Menu::AVI_obr9Open(TObject*) { TileOpen(9); }
void TFORM_Menu::AVI_obr1MouseEnter(TObject*) { TileEnter(1); }
void TFORM_Menu::AVI_obr2MouseEnter(TObject*) { TileEnter(2); }
void TFORM_Menu::AVI_obr3MouseEnter(TObject*) { TileEnter(3); }
void TFORM_Menu::AVI_obr4MouseEnter(TObject*) { TileEnter(4); }
void TFORM_Menu::AVI_obr9MouseEnter(TObject*) { TileEnter(9); }
void TFORM_Menu::AVI_obr1MouseExit(TObject*) { TileExit(1); }
void TFORM_Menu::AVI_obr2MouseExit(TObject*) { TileExit(2); }
void TFORM_Menu::AVI_obr3MouseExit(TObject*) { TileExit(3); }
void TFORM_Menu::AVI_obr4MouseExit(TObject*) { TileExit(4); }
void TFORM_Menu::AVI_obr9MouseExit(TObject*) { TileExit(9); }

// The singing form was made at start-up and lives as long as the program: the menu only
// tells it the song and shows it.
void TFORM_Menu::LaunchFromTile(uint8_t song) {
  SuspendMenu();
  SingingUnit().ChosenSong = song;
  FORM_Fumbamesi->ShowModal();
  ResumeMenu();
}

void TFORM_Menu::AVI_obr1Click(TObject*) { LaunchFromTile(1); }
void TFORM_Menu::AVI_obr2Click(TObject*) { LaunchFromTile(2); }
void TFORM_Menu::AVI_obr3Click(TObject*) { LaunchFromTile(3); }
void TFORM_Menu::AVI_obr4Click(TObject*) { LaunchFromTile(4); }

}  // namespace tq::songs
