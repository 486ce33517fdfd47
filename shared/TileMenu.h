#pragma once
// The tile menu of the games and the songs program: animated tiles revealed one
// after another over a waiting picture, the clip of the tile under the pointer
// looping with its caption shown and its name spoken after 1.4 s, background
// music that loops while the menu is idle, hidden credits on F12, and Esc, a
// double-click on the waiting picture or the exit tile to quit. Each program's
// menu form derives from TTileMenu, gives its tables (tiles, reveal stages,
// music, credits) and decides what a tile's click opens, between SuspendMenu and
// ResumeMenu.
#include <span>
#include <string>
#include <vector>

#include "platform/media/media_player.h"
#include "platform/ui/form_reader.h"
#include "platform/ui/forms.h"
#include "platform/ui/stdctrls.h"
#include "platform/ui/timer.h"
#include "shared/AVI_delp.h"

namespace tq {

// One tile of a menu.
struct MenuTile {
  int id;               // hover number: 1 to 4 for the content tiles, 9 for the exit tile
  const char* control;  // the tile's component name
  const char* clip;     // DataDir + this
  const char* failure;  // the message when the clip cannot be opened (UTF-8)
  const char* spoken;   // DataDir + this: the name spoken after a rest on the tile
  const char* caption;  // the caption label shown while the tile is hovered, or nullptr
};

// A stage of the reveal: once the reveal timer's Tag is above `afterTag`, `tile` is
// shown. The exit tile's stage also hides the waiting picture.
struct RevealStage {
  int afterTag;
  int tile;
};

struct TileMenuDesign {
  // In the order of the flag arrays: the content tiles, then the exit tile (id 9) last.
  // The exit tile's clip opens first, the others in this order.
  std::vector<MenuTile> tiles;
  std::vector<RevealStage> reveal;
  int revealStopsAfterTag;            // the reveal timer stops once its Tag is above this
  const char* music;                  // DataDir + this: the background MIDI file
  const char* (*credits)(int line);  // the credits lines 1 to 5, code page 1250
};

// The unit-level state of a menu of N tiles; FormCreate sets it all to 0.
template <int N>
struct TileMenuState {
  int HoveredTile = 0;
  int AnnouncedTile = 0;
  bool TileHovered[N] = {};  // in the design's tile order
  bool TileOpened[N] = {};
  int LoadTicks = 0;
};

// The shared code's view of a menu's state.
struct TileMenuStateRef {
  int& HoveredTile;
  int& AnnouncedTile;
  std::span<bool> TileHovered;
  std::span<bool> TileOpened;
  int& LoadTicks;

  template <int N>
  TileMenuStateRef(TileMenuState<N>& s)  // NOLINT: a view of the state
      : HoveredTile(s.HoveredTile),
        AnnouncedTile(s.AnnouncedTile),
        TileHovered(s.TileHovered),
        TileOpened(s.TileOpened),
        LoadTicks(s.LoadTicks) {}
};

// The credits line `number` (1 to 5) of `utf8`, converted to code page 1250 into
// `cache` on its first use; "" for any other number.
const char* CachedCreditsLine(const char* const (&utf8)[5], std::string (&cache)[5], int number);

class TTileMenu : public tlb::TForm {
 public:
  ~TTileMenu() override;

  tlb::TImage* wait_image = nullptr;
  tlb::TLabel *Labeleggs1 = nullptr, *Labeleggs2 = nullptr;
  tlb::TImage *roh_LH = nullptr, *roh_PH = nullptr, *roh_PD = nullptr, *roh_LD = nullptr;
  tlb::TMediaPlayer* MIDIPlayer = nullptr;
  tlb::TTimer *SpoustecObrazku = nullptr, *Midi_spoustec = nullptr, *UvodniZobrazeni = nullptr,
              *WAVSpoustec = nullptr, *postupne_vykresleni = nullptr, *Timereggs = nullptr;

  // The handlers both menus bind by these names.
  void FormCreate(tlb::TObject* Sender);
  void FormClose(tlb::TObject* Sender, tlb::TCloseAction& Action);
  void FormKeyDown(tlb::TObject* Sender, uint16_t& Key, tlb::TShiftState Shift);
  void AVI_obr9Click(tlb::TObject* Sender);
  void wait_imageDblClick(tlb::TObject* Sender);
  void SpoustecObrazkuTimer(tlb::TObject* Sender);
  void Midi_spoustecTimer(tlb::TObject* Sender);
  void UvodniZobrazeniTimer(tlb::TObject* Sender);
  void WAVSpoustecTimer(tlb::TObject* Sender);
  void postupne_vykresleniTimer(tlb::TObject* Sender);
  void TimereggsTimer(tlb::TObject* Sender);

 protected:
  TTileMenu(tlb::TComponent* AOwner, const TileMenuDesign& design, TileMenuStateRef state);

  // Adds the shared handlers to `h`, reads the form description and finds the shared
  // components and the tiles. The derived form adds its own handlers to `h` first.
  void LoadMenu(const std::string& resource, tlb::HandlerTable& h);

  // The tiles' own handlers forward here with their tile's id.
  void TileOpen(int id);
  void TileEnter(int id);
  void TileExit(int id);

  // Before a tile's form is shown: speech and music stop, the tiles hide behind the waiting picture.
  void SuspendMenu();
  // After it returns: the reveal replays and the music starts again from its beginning.
  void ResumeMenu();

 private:
  int Slot(int id) const;
  bool AllTilesOpened() const;
  // Whether a tick of the clip, caption or music timer would change nothing: the
  // idle menu then sleeps through those ticks.
  bool TilesAtRest() const;
  bool CaptionsAtRest() const;
  bool MusicAtRest() const;
  const MenuTile& Tile(int id) const { return design_.tiles[size_t(Slot(id))]; }

  const TileMenuDesign& design_;
  TileMenuStateRef state_;
  std::vector<TAVI_orvo1*> tiles_;      // in the design's tile order
  std::vector<tlb::TLabel*> captions_;  // nullptr for a tile without a caption
};

}  // namespace tq
