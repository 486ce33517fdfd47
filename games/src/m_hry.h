#pragma once
// The games program's menu: four animated tiles revealed one after another, the
// exit tile in the middle, spoken tile names, looping music and the game forms
// opened modally from their tiles.
#include <functional>

#include "platform/media/media_player.h"
#include "platform/ui/forms.h"
#include "platform/ui/stdctrls.h"
#include "platform/ui/timer.h"
#include "shared/AVI_delp.h"

namespace tq {

class TFORM_Menu : public tlb::TForm {
 public:
  explicit TFORM_Menu(tlb::TComponent* AOwner);
  const char* ClassName() const override { return "TFORM_Menu"; }

  TAVI_orvo1 *AVI_obr1, *AVI_obr2, *AVI_obr3, *AVI_obr9;
  tlb::TImage* wait_image;
  tlb::TLabel *pop1, *pop2, *pop3, *Labeleggs1, *Labeleggs2;
  tlb::TImage *roh_LH, *roh_PH, *roh_PD, *roh_LD;
  tlb::TMediaPlayer* MIDIPlayer;
  tlb::TTimer *SpoustecObrazku, *Midi_spoustec, *UvodniZobrazeni, *WAVSpoustec, *postupne_vykresleni, *Timereggs;

  void FormCreate(tlb::TObject* Sender);
  void FormClose(tlb::TObject* Sender, tlb::TCloseAction& Action);
  void FormKeyDown(tlb::TObject* Sender, uint16_t& Key, tlb::TShiftState Shift);
  void AVI_obr1Open(tlb::TObject* Sender);
  void AVI_obr2Open(tlb::TObject* Sender);
  void AVI_obr3Open(tlb::TObject* Sender);
  void AVI_obr9Open(tlb::TObject* Sender);
  void AVI_obr1Click(tlb::TObject* Sender);
  void AVI_obr2Click(tlb::TObject* Sender);
  void AVI_obr3Click(tlb::TObject* Sender);
  void AVI_obr9Click(tlb::TObject* Sender);
  void AVI_obr1MouseEnter(tlb::TObject* Sender);
  void AVI_obr2MouseEnter(tlb::TObject* Sender);
  void AVI_obr3MouseEnter(tlb::TObject* Sender);
  void AVI_obr9MouseEnter(tlb::TObject* Sender);
  void AVI_obr1MouseExit(tlb::TObject* Sender);
  void AVI_obr2MouseExit(tlb::TObject* Sender);
  void AVI_obr3MouseExit(tlb::TObject* Sender);
  void AVI_obr9MouseExit(tlb::TObject* Sender);
  void wait_imageDblClick(tlb::TObject* Sender);
  void SpoustecObrazkuTimer(tlb::TObject* Sender);
  void Midi_spoustecTimer(tlb::TObject* Sender);
  void UvodniZobrazeniTimer(tlb::TObject* Sender);
  void WAVSpoustecTimer(tlb::TObject* Sender);
  void postupne_vykresleniTimer(tlb::TObject* Sender);
  void TimereggsTimer(tlb::TObject* Sender);

 private:
  void SuspendMenu();
  void ResumeMenu();
  void LaunchFromTile(int game);
  void TileEnter(int tile);
  void TileExit(int tile);
  bool AllTilesOpened() const;
};

extern TFORM_Menu* FORM_Menu;

// The unit-level state of the menu; FormCreate sets it all to 0.
struct MenuState {
  int HoveredTile = 0;
  int AnnouncedTile = 0;
  bool TileHovered[4] = {};  // tiles 1, 2, 3, 9
  bool TileOpened[4] = {};
  int LoadTicks = 0;
};
MenuState& MenuUnit();

// The game forms the tiles open: 1 the first memory game, 2 rock-paper-scissors,
// 3 the second memory game. A game whose form is not part of the program raises,
// which the menu reports as a form that could not be made.
using GameFormFactory = std::function<tlb::TCustomForm*(tlb::TComponent* owner)>;
void SetGameFormFactory(int game, GameFormFactory factory);

// The five credits lines that F12 cycles through (code page 1250).
const char* CreditsLine(int number);

}  // namespace tq
