#include "shared/TileMenu.h"

#include "platform/core/cp1250.h"
#include "platform/core/exceptions.h"
#include "platform/ui/dialogs.h"
#include "shared/FormLook.h"
#include "shared/Technic2.h"
#include "shared/pozadi.h"

namespace tq {

using namespace tlb;

TTileMenu::TTileMenu(TComponent* AOwner, const TileMenuDesign& design, TileMenuStateRef state)
    : TForm(AOwner), design_(design), state_(state) {
  RegisterAviDelpClasses();
}

void TTileMenu::LoadMenu(const std::string& resource, HandlerTable& h) {
  TLB_HANDLER(h, FormCreate);
  TLB_HANDLER(h, FormClose);
  TLB_HANDLER(h, FormKeyDown);
  TLB_HANDLER(h, AVI_obr9Click);
  TLB_HANDLER(h, wait_imageDblClick);
  TLB_HANDLER(h, SpoustecObrazkuTimer);
  TLB_HANDLER(h, Midi_spoustecTimer);
  TLB_HANDLER(h, UvodniZobrazeniTimer);
  TLB_HANDLER(h, WAVSpoustecTimer);
  TLB_HANDLER(h, postupne_vykresleniTimer);
  TLB_HANDLER(h, TimereggsTimer);
  LoadFormDescription(this, resource, h);
  TLB_COMPONENT(wait_image);
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
  tiles_.clear();
  captions_.clear();
  for (const MenuTile& t : design_.tiles) {
    tiles_.push_back(FindAs<TAVI_orvo1>(this, t.control));
    captions_.push_back(t.caption ? FindAs<TLabel>(this, t.caption) : nullptr);
  }
  SpoustecObrazku->SetQuietWhile([this] { return TilesAtRest(); });
  WAVSpoustec->SetQuietWhile([this] { return CaptionsAtRest(); });
  Midi_spoustec->SetQuietWhile([this] { return MusicAtRest(); });
}

TTileMenu::~TTileMenu() {
  // The quiet tests read members of this form, which go before its timers do.
  for (TTimer* t : {SpoustecObrazku, WAVSpoustec, Midi_spoustec})
    if (t) t->SetQuietWhile({});
}

int TTileMenu::Slot(int id) const {
  for (size_t i = 0; i < design_.tiles.size(); ++i)
    if (design_.tiles[i].id == id) return int(i);
  return int(design_.tiles.size()) - 1;
}

bool TTileMenu::AllTilesOpened() const {
  for (bool opened : state_.TileOpened)
    if (!opened) return false;
  return true;
}

const char* CachedCreditsLine(const char* const (&utf8)[5], std::string (&cache)[5], int number) {
  if (number < 1 || number > 5) return "";
  if (cache[number - 1].empty()) cache[number - 1] = Cz(utf8[number - 1]);
  return cache[number - 1].c_str();
}

void TTileMenu::FormCreate(TObject*) {
  Screen->SetCursor(crHourGlass);
  state_.LoadTicks = 0;
  state_.HoveredTile = 0;
  state_.AnnouncedTile = 0;
  WAVSpoustec->Tag = 0;
  // Corner pictures: navy shows through on the bottom-left one; all four go on narrow screens.
  SetupCornerPictures(roh_LH, roh_PH, roh_PD, roh_LD, 0x800000);
  DoubleBuffered = true;
  for (bool& f : state_.TileOpened) f = false;
  for (bool& f : state_.TileHovered) f = false;
  postupne_vykresleni->Tag = 0;
  // The exit tile's clip first, then the others in order; each failure has its own message.
  size_t exit = design_.tiles.size() - 1;
  std::vector<size_t> order{exit};
  for (size_t i = 0; i < exit; ++i) order.push_back(i);
  for (size_t i : order) {
    try {
      tiles_[i]->SetFileName(DataDir() + design_.tiles[i].clip);
    } catch (const Exception&) {
      ShowMessage(Cz(design_.tiles[i].failure));
    }
  }
  // The music file is opened here and started by the music loop once the tiles are shown.
  try {
    if (MusicOn()) {
      MIDIPlayer->FileName = DataDir() + design_.music;
      MIDIPlayer->Close();
      MIDIPlayer->Open();
    }
  } catch (const Exception&) {
    ShowMessage("Nenalez soubor s hudbou:" + DataDir() + design_.music);
  }
  try {
    RegisterFormCursors();
    RegisterCursor(9, "pastelka");
  } catch (const Exception&) {
  }
  Screen->SetCursor(crDefault);
}

void TTileMenu::TileOpen(int id) { state_.TileOpened[size_t(Slot(id))] = true; }

// Counts the load ticks; the reveal starts once every clip has opened (at the 6th tick at
// the earliest) or, when one never does, after 20 s.
void TTileMenu::UvodniZobrazeniTimer(TObject*) {
  state_.LoadTicks += 1;
  if ((AllTilesOpened() && state_.LoadTicks > 5) || state_.LoadTicks > 200) {
    UvodniZobrazeni->SetEnabled(false);
    postupne_vykresleni->SetEnabled(true);
  }
}

// One reveal tick: the Tag is tested before it is raised, so the first tick shows nothing.
void TTileMenu::postupne_vykresleniTimer(TObject*) {
  int tag = postupne_vykresleni->Tag;
  for (const RevealStage& stage : design_.reveal) {
    if (tag <= stage.afterTag) continue;
    if (stage.tile == 9) wait_image->SetVisible(false);
    tiles_[size_t(Slot(stage.tile))]->SetVisible(true);
  }
  postupne_vykresleni->Tag = tag + 1;
  if (postupne_vykresleni->Tag > design_.revealStopsAfterTag) {
    postupne_vykresleni->SetEnabled(false);
    postupne_vykresleni->Tag = 0;
  }
}

// The tile raises its enter event on every move over it, so this is idempotent.
void TTileMenu::TileEnter(int id) {
  for (size_t i = 0; i < design_.tiles.size(); ++i) state_.TileHovered[i] = design_.tiles[i].id == id;
  state_.HoveredTile = id;
}

// Clears the hovered tile even when it names another tile: the next move over that tile sets it again.
void TTileMenu::TileExit(int id) {
  state_.TileHovered[size_t(Slot(id))] = false;
  state_.HoveredTile = 0;
}

// Restarts the clip of the hovered tile whenever it has stopped, so it loops while the
// pointer rests there; a tile left finishes its run and stays still.
void TTileMenu::SpoustecObrazkuTimer(TObject*) {
  if (postupne_vykresleni->Enabled()) return;
  try {
    for (size_t i = 0; i < tiles_.size(); ++i)
      if (state_.TileHovered[i] && !tiles_[i]->Active()) tiles_[i]->SetActive(true);
  } catch (const Exception&) {
  }
}

bool TTileMenu::TilesAtRest() const {
  if (postupne_vykresleni->Enabled()) return true;
  for (size_t i = 0; i < tiles_.size(); ++i)
    if (state_.TileHovered[i] && !tiles_[i]->Active()) return false;
  return true;
}

// Shows the hovered tile's caption and speaks its name on the 14th tick of rest over a
// tile that was not the last one spoken.
void TTileMenu::WAVSpoustecTimer(TObject*) {
  int hovered = state_.HoveredTile;
  for (size_t i = 0; i < captions_.size(); ++i)
    if (captions_[i]) captions_[i]->SetVisible(design_.tiles[i].id == hovered);
  if (hovered == 0 || hovered == state_.AnnouncedTile) {
    WAVSpoustec->Tag = 0;
    return;
  }
  WAVSpoustec->Tag = WAVSpoustec->Tag + 1;
  if (WAVSpoustec->Tag <= 13) return;
  state_.AnnouncedTile = hovered;
  WAVSpoustec->Tag = 0;
  if (!WaveOn()) return;
  TCursor saved = Screen->Cursor();
  Screen->SetCursor(crHourGlass);
  try {
    PlayWave(DataDir() + Tile(hovered).spoken, 1);
  } catch (const Exception&) {
  }
  Screen->SetCursor(saved);
}

bool TTileMenu::CaptionsAtRest() const {
  int hovered = state_.HoveredTile;
  for (size_t i = 0; i < captions_.size(); ++i)
    if (captions_[i] && captions_[i]->Visible() != (design_.tiles[i].id == hovered)) return false;
  return (hovered == 0 || hovered == state_.AnnouncedTile) && WAVSpoustec->Tag == 0;
}

// Starts the music once the tiles are all there and shown, and again whenever it has
// played to its end (Play rewinds a finished file), so it loops.
void TTileMenu::Midi_spoustecTimer(TObject*) {
  if (!AllTilesOpened() || !MusicOn() || postupne_vykresleni->Enabled()) return;
  try {
    if (MIDIPlayer->Mode() == mpStopped) MIDIPlayer->Play();
  } catch (const Exception&) {
  }
}

// Whether the music is playing is not asked here: the sound's end is not seen by this thread.
bool TTileMenu::MusicAtRest() const { return !AllTilesOpened() || !MusicOn() || postupne_vykresleni->Enabled(); }

void TTileMenu::SuspendMenu() {
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
  tiles_.back()->SetVisible(false);
  for (size_t i = 0; i + 1 < tiles_.size(); ++i) tiles_[i]->SetVisible(false);
  wait_image->SetVisible(true);
}

// The reveal replays from its first tick, a tile may be spoken again, and the music plays
// at once from its beginning, without waiting for the reveal.
void TTileMenu::ResumeMenu() {
  Screen->SetCursor(crHourGlass);
  WAVSpoustec->Tag = 0;
  WAVSpoustec->SetEnabled(true);
  postupne_vykresleni->Tag = 0;
  postupne_vykresleni->SetEnabled(true);
  state_.AnnouncedTile = 0;
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

void TTileMenu::AVI_obr9Click(TObject*) {
  WAVSpoustec->SetEnabled(false);
  Close();
}

void TTileMenu::wait_imageDblClick(TObject* Sender) { AVI_obr9Click(Sender); }

void TTileMenu::FormKeyDown(TObject* Sender, uint16_t& Key, TShiftState) {
  if (Key == 27) AVI_obr9Click(Sender);
  else if (Key == 123) Timereggs->SetEnabled(true);
}

// Once F12 has switched it on, a new credits line every 3 s, for as long as the program runs.
void TTileMenu::TimereggsTimer(TObject*) {
  Labeleggs1->SetVisible(true);
  Labeleggs2->SetVisible(true);
  Timereggs->Tag = Timereggs->Tag + 1;
  if (Timereggs->Tag > 5) Timereggs->Tag = 1;
  Labeleggs2->SetCaption(design_.credits(Timereggs->Tag));
}

void TTileMenu::FormClose(TObject*, TCloseAction&) {
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
