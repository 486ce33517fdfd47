#include "games/src/m_hry.h"

#include <map>

#include "platform/core/cp1250.h"
#include "platform/core/exceptions.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/form_reader.h"
#include "shared/Technic2.h"
#include "shared/pozadi.h"

namespace tq {

using namespace tlb;

TFORM_Menu* FORM_Menu = nullptr;

namespace {

MenuState state;

std::map<int, GameFormFactory>& Factories() {
  static std::map<int, GameFormFactory> factories;
  return factories;
}

// Tile numbers 1, 2, 3, 9 as indexes of the flag arrays.
int Slot(int tile) { return tile == 9 ? 3 : tile - 1; }

struct TileInfo {
  int tile;
  const char* clip;
  const char* failure;
  const char* name;
};
const TileInfo kTiles[] = {
    {9, "\\animace\\konec.avi", "Animace č. 9 nebyla nalezena!", "\\zvuky\\iko_kon.WAV"},
    {1, "\\animace\\h_01.avi", "Animace č. 1 nebyla nalezena!", "\\zvuky\\iko_kim1.WAV"},
    {2, "\\animace\\h_03.avi", "Animace č. 3 nebyla nalezena!", "\\zvuky\\iko_knp.WAV"},
    {3, "\\animace\\h_02.avi", "Animace č. 2 nebyla nalezena!", "\\zvuky\\iko_kim2.WAV"},
};
const TileInfo& Tile(int tile) {
  for (const auto& t : kTiles)
    if (t.tile == tile) return t;
  return kTiles[0];
}

const char* const kCredits[5] = {
    "Programování: vývojáři Tulimba",
    "Grafika: kreslicí program Tulimba",
    "Scénář: tým Tulimbo",
    "Díky pro: všechny malé hráče",
    "Tým Tulimbo, 2026",
};

}  // namespace

MenuState& MenuUnit() { return state; }

void SetGameFormFactory(int game, GameFormFactory factory) { Factories()[game] = std::move(factory); }

const char* CreditsLine(int number) {
  static std::string lines[5];
  if (number < 1 || number > 5) return "";
  if (lines[number - 1].empty()) lines[number - 1] = Cz(kCredits[number - 1]);
  return lines[number - 1].c_str();
}

TFORM_Menu::TFORM_Menu(TComponent* AOwner) : TForm(AOwner) {
  RegisterAviDelpClasses();
  ClassRegistry::Instance().RegisterClass("TFORM_Menu", "TForm", nullptr);
  FORM_Menu = this;
  HandlerTable h;
  TLB_HANDLER(h, FormCreate);
  TLB_HANDLER(h, FormClose);
  TLB_HANDLER(h, FormKeyDown);
  TLB_HANDLER(h, AVI_obr1Open);
  TLB_HANDLER(h, AVI_obr2Open);
  TLB_HANDLER(h, AVI_obr3Open);
  TLB_HANDLER(h, AVI_obr9Open);
  TLB_HANDLER(h, AVI_obr1Click);
  TLB_HANDLER(h, AVI_obr2Click);
  TLB_HANDLER(h, AVI_obr3Click);
  TLB_HANDLER(h, AVI_obr9Click);
  TLB_HANDLER(h, AVI_obr1MouseEnter);
  TLB_HANDLER(h, AVI_obr2MouseEnter);
  TLB_HANDLER(h, AVI_obr3MouseEnter);
  TLB_HANDLER(h, AVI_obr9MouseEnter);
  TLB_HANDLER(h, AVI_obr1MouseExit);
  TLB_HANDLER(h, AVI_obr2MouseExit);
  TLB_HANDLER(h, AVI_obr3MouseExit);
  TLB_HANDLER(h, AVI_obr9MouseExit);
  TLB_HANDLER(h, wait_imageDblClick);
  TLB_HANDLER(h, SpoustecObrazkuTimer);
  TLB_HANDLER(h, Midi_spoustecTimer);
  TLB_HANDLER(h, UvodniZobrazeniTimer);
  TLB_HANDLER(h, WAVSpoustecTimer);
  TLB_HANDLER(h, postupne_vykresleniTimer);
  TLB_HANDLER(h, TimereggsTimer);
  LoadFormDescription(this, "FORM_Menu.dfm", h);
  TLB_COMPONENT(AVI_obr1);
  TLB_COMPONENT(AVI_obr2);
  TLB_COMPONENT(AVI_obr3);
  TLB_COMPONENT(AVI_obr9);
  TLB_COMPONENT(wait_image);
  TLB_COMPONENT(pop1);
  TLB_COMPONENT(pop2);
  TLB_COMPONENT(pop3);
  TLB_COMPONENT(Labeleggs1);
  TLB_COMPONENT(Labeleggs2);
  TLB_COMPONENT(roh_LH);
  TLB_COMPONENT(roh_PH);
  TLB_COMPONENT(roh_PD);
  TLB_COMPONENT(roh_LD);
  TLB_COMPONENT(MIDIPlayer);
  TLB_COMPONENT(SpoustecObrazku);
  TLB_COMPONENT(Midi_spoustec);
  TLB_COMPONENT(UvodniZobrazeni);
  TLB_COMPONENT(WAVSpoustec);
  TLB_COMPONENT(postupne_vykresleni);
  TLB_COMPONENT(Timereggs);
  DoCreate();
}

void TFORM_Menu::FormCreate(TObject*) {
  Screen->SetCursor(crHourGlass);
  state.LoadTicks = 0;
  state.HoveredTile = 0;
  state.AnnouncedTile = 0;
  WAVSpoustec->Tag = 0;
  // Corner pictures: navy shows through on the bottom-left one; all four go on narrow screens.
  roh_LD->Picture().Bitmap()->SetTransparentColor(0x800000);
  if (Screen->Width() < 641) {
    roh_LD->SetVisible(false);
    roh_PD->SetVisible(false);
    roh_LH->SetVisible(false);
    roh_PH->SetVisible(false);
  }
  DoubleBuffered = true;
  for (int i = 0; i < 4; ++i) {
    state.TileOpened[i] = false;
    state.TileHovered[i] = false;
  }
  postupne_vykresleni->Tag = 0;
  for (TAVI_orvo1* avi : {AVI_obr9, AVI_obr1, AVI_obr2, AVI_obr3}) {
    int tile = avi == AVI_obr9 ? 9 : avi == AVI_obr1 ? 1 : avi == AVI_obr2 ? 2 : 3;
    try {
      avi->SetFileName(DataDir() + Tile(tile).clip);
    } catch (const Exception&) {
      ShowMessage(Cz(Tile(tile).failure));
    }
  }
  try {
    if (MusicOn()) {
      MIDIPlayer->FileName = DataDir() + "\\hudba\\h_menu.mid";
      MIDIPlayer->Close();
      MIDIPlayer->Open();
    }
  } catch (const Exception&) {
    ShowMessage("Nenalez soubor s hudbou:" + DataDir() + "\\hudba\\h_menu.mid");
  }
  try {
    RegisterCursor(crArrow, "sipka1");
    RegisterCursor(5, "sipka1");
    RegisterCursor(6, "sipka2");
    RegisterCursor(7, "ruka1");
    RegisterCursor(crHourGlass, "hodiny1");
    RegisterCursor(9, "pastelka");
  } catch (const Exception&) {
  }
  Screen->SetCursor(crDefault);
}

bool TFORM_Menu::AllTilesOpened() const {
  return state.TileOpened[0] && state.TileOpened[1] && state.TileOpened[2] && state.TileOpened[3];
}

void TFORM_Menu::AVI_obr1Open(TObject*) { state.TileOpened[Slot(1)] = true; }
void TFORM_Menu::AVI_obr2Open(TObject*) { state.TileOpened[Slot(2)] = true; }
void TFORM_Menu::AVI_obr3Open(TObject*) { state.TileOpened[Slot(3)] = true; }
void TFORM_Menu::AVI_obr9Open(TObject*) { state.TileOpened[Slot(9)] = true; }

void TFORM_Menu::UvodniZobrazeniTimer(TObject*) {
  state.LoadTicks += 1;
  if ((AllTilesOpened() && state.LoadTicks > 5) || state.LoadTicks > 200) {
    UvodniZobrazeni->SetEnabled(false);
    postupne_vykresleni->SetEnabled(true);
  }
}

void TFORM_Menu::postupne_vykresleniTimer(TObject*) {
  int tag = postupne_vykresleni->Tag;
  if (tag > 0) AVI_obr1->SetVisible(true);
  if (tag > 1) AVI_obr2->SetVisible(true);
  if (tag > 3) AVI_obr3->SetVisible(true);
  if (tag > 4) {
    wait_image->SetVisible(false);
    AVI_obr9->SetVisible(true);
  }
  postupne_vykresleni->Tag = tag + 1;
  if (postupne_vykresleni->Tag > 6) {
    postupne_vykresleni->SetEnabled(false);
    postupne_vykresleni->Tag = 0;
  }
}

void TFORM_Menu::TileEnter(int tile) {
  for (int t : {1, 2, 3, 9}) state.TileHovered[Slot(t)] = t == tile;
  state.HoveredTile = tile;
}

void TFORM_Menu::TileExit(int tile) {
  state.TileHovered[Slot(tile)] = false;
  state.HoveredTile = 0;
}

void TFORM_Menu::AVI_obr1MouseEnter(TObject*) { TileEnter(1); }
void TFORM_Menu::AVI_obr2MouseEnter(TObject*) { TileEnter(2); }
void TFORM_Menu::AVI_obr3MouseEnter(TObject*) { TileEnter(3); }
void TFORM_Menu::AVI_obr9MouseEnter(TObject*) { TileEnter(9); }
void TFORM_Menu::AVI_obr1MouseExit(TObject*) { TileExit(1); }
void TFORM_Menu::AVI_obr2MouseExit(TObject*) { TileExit(2); }
void TFORM_Menu::AVI_obr3MouseExit(TObject*) { TileExit(3); }
void TFORM_Menu::AVI_obr9MouseExit(TObject*) { TileExit(9); }

void TFORM_Menu::SpoustecObrazkuTimer(TObject*) {
  if (postupne_vykresleni->Enabled()) return;
  try {
    int tiles[] = {1, 2, 3, 9};
    TAVI_orvo1* controls[] = {AVI_obr1, AVI_obr2, AVI_obr3, AVI_obr9};
    for (int i = 0; i < 4; ++i)
      if (state.TileHovered[Slot(tiles[i])] && !controls[i]->Active()) controls[i]->SetActive(true);
  } catch (const Exception&) {
  }
}

void TFORM_Menu::WAVSpoustecTimer(TObject*) {
  int hovered = state.HoveredTile;
  pop1->SetVisible(hovered == 1);
  pop2->SetVisible(hovered == 2);
  pop3->SetVisible(hovered == 3);
  if (hovered == 0 || hovered == state.AnnouncedTile) {
    WAVSpoustec->Tag = 0;
    return;
  }
  WAVSpoustec->Tag = WAVSpoustec->Tag + 1;
  if (WAVSpoustec->Tag <= 13) return;
  state.AnnouncedTile = hovered;
  WAVSpoustec->Tag = 0;
  if (!WaveOn()) return;
  TCursor saved = Screen->Cursor();
  Screen->SetCursor(crHourGlass);
  try {
    PlayWave(DataDir() + Tile(hovered).name, 1);
  } catch (const Exception&) {
  }
  Screen->SetCursor(saved);
}

void TFORM_Menu::Midi_spoustecTimer(TObject*) {
  if (!AllTilesOpened() || !MusicOn() || postupne_vykresleni->Enabled()) return;
  try {
    if (MIDIPlayer->Mode() == mpStopped) MIDIPlayer->Play();
  } catch (const Exception&) {
  }
}

void TFORM_Menu::SuspendMenu() {
  Screen->SetCursor(crHourGlass);
  WAVSpoustec->SetEnabled(false);
  StopWave();
  try {
    if (MusicOn()) {
      Midi_spoustec->SetEnabled(false);
      MIDIPlayer->Stop();
    }
  } catch (const Exception&) {
  }
  AVI_obr9->SetVisible(false);
  AVI_obr1->SetVisible(false);
  AVI_obr2->SetVisible(false);
  AVI_obr3->SetVisible(false);
  wait_image->SetVisible(true);
}

void TFORM_Menu::ResumeMenu() {
  Screen->SetCursor(crHourGlass);
  WAVSpoustec->Tag = 0;
  WAVSpoustec->SetEnabled(true);
  postupne_vykresleni->Tag = 0;
  postupne_vykresleni->SetEnabled(true);
  state.AnnouncedTile = 0;
  try {
    if (MusicOn()) {
      MIDIPlayer->Rewind();
      MIDIPlayer->Play();
      Midi_spoustec->SetEnabled(true);
    }
  } catch (const Exception&) {
  }
  Screen->SetCursor(crDefault);
}

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

void TFORM_Menu::AVI_obr9Click(TObject*) {
  WAVSpoustec->SetEnabled(false);
  Close();
}

void TFORM_Menu::wait_imageDblClick(TObject* Sender) { AVI_obr9Click(Sender); }

void TFORM_Menu::FormKeyDown(TObject* Sender, uint16_t& Key, TShiftState) {
  if (Key == 27) AVI_obr9Click(Sender);
  else if (Key == 123) Timereggs->SetEnabled(true);
}

void TFORM_Menu::TimereggsTimer(TObject*) {
  Labeleggs1->SetVisible(true);
  Labeleggs2->SetVisible(true);
  Timereggs->Tag = Timereggs->Tag + 1;
  if (Timereggs->Tag > 5) Timereggs->Tag = 1;
  Labeleggs2->SetCaption(CreditsLine(Timereggs->Tag));
}

void TFORM_Menu::FormClose(TObject*, TCloseAction&) {
  Screen->SetCursor(crHourGlass);
  try {
    if (MusicOn()) {
      Midi_spoustec->SetEnabled(false);
      MIDIPlayer->Stop();
      MIDIPlayer->Close();
    }
  } catch (const Exception&) {
  }
  try {
    if (FORMPozadi) FORMPozadi->Release();
  } catch (const Exception&) {
    ShowMessage("Trilanky: Nelze uvolnit pozadi aplikace...");
  }
}

}  // namespace tq
