#pragma once
// The songs program's menu: four song tiles and the exit tile revealed one after
// another, each song tile with its own name label, spoken names, looping music,
// and the singing form shown modally for the song of the tile clicked. The tile
// menu itself is shared (TTileMenu); this form gives its tables and opens the songs.
#include "shared/TileMenu.h"

namespace tq::songs {

class TFORM_Menu : public TTileMenu {
 public:
  explicit TFORM_Menu(tlb::TComponent* AOwner);
  const char* ClassName() const override { return "TFORM_Menu"; }

  TAVI_orvo1 *AVI_obr1, *AVI_obr2, *AVI_obr3, *AVI_obr4, *AVI_obr9;
  tlb::TLabel *pop1, *pop2, *pop3, *pop4;

  void AVI_obr1Open(tlb::TObject* Sender);
  void AVI_obr2Open(tlb::TObject* Sender);
  void AVI_obr3Open(tlb::TObject* Sender);
  void AVI_obr4Open(tlb::TObject* Sender);
  void AVI_obr9Open(tlb::TObject* Sender);
  void AVI_obr1Click(tlb::TObject* Sender);
  void AVI_obr2Click(tlb::TObject* Sender);
  void AVI_obr3Click(tlb::TObject* Sender);
  void AVI_obr4Click(tlb::TObject* Sender);
  void AVI_obr1MouseEnter(tlb::TObject* Sender);
  void AVI_obr2MouseEnter(tlb::TObject* Sender);
  void AVI_obr3MouseEnter(tlb::TObject* Sender);
  void AVI_obr4MouseEnter(tlb::TObject* Sender);
  void AVI_obr9MouseEnter(tlb::TObject* Sender);
  void AVI_obr1MouseExit(tlb::TObject* Sender);
  void AVI_obr2MouseExit(tlb::TObject* Sender);
  void AVI_obr3MouseExit(tlb::TObject* Sender);
  void AVI_obr4MouseExit(tlb::TObject* Sender);
  void AVI_obr9MouseExit(tlb::TObject* Sender);

 private:
  void LaunchFromTile(uint8_t song);
};

extern TFORM_Menu* FORM_Menu;

// The unit-level state of the menu (tiles 1, 2, 3, 4, 9); FormCreate sets it all to 0.
using MenuState = TileMenuState<5>;
MenuState& MenuUnit();

// The five credits lines that F12 cycles through (code page 1250).
const char* CreditsLine(int number);

}  // namespace tq::songs
