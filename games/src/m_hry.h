#pragma once
// The games program's menu: four animated tiles revealed one after another, the
// exit tile in the middle, spoken tile names, looping music and the game forms
// opened modally from their tiles. The tile menu itself is shared (TTileMenu);
// this form gives its tables and opens the games.
#include <functional>

#include "shared/TileMenu.h"

namespace tq {

class TFORM_Menu : public TTileMenu {
 public:
  explicit TFORM_Menu(tlb::TComponent* AOwner);
  const char* ClassName() const override { return "TFORM_Menu"; }

  TAVI_orvo1 *AVI_obr1, *AVI_obr2, *AVI_obr3, *AVI_obr9;
  tlb::TLabel *pop1, *pop2, *pop3;

  void AVI_obr1Open(tlb::TObject* Sender);
  void AVI_obr2Open(tlb::TObject* Sender);
  void AVI_obr3Open(tlb::TObject* Sender);
  void AVI_obr9Open(tlb::TObject* Sender);
  void AVI_obr1Click(tlb::TObject* Sender);
  void AVI_obr2Click(tlb::TObject* Sender);
  void AVI_obr3Click(tlb::TObject* Sender);
  void AVI_obr1MouseEnter(tlb::TObject* Sender);
  void AVI_obr2MouseEnter(tlb::TObject* Sender);
  void AVI_obr3MouseEnter(tlb::TObject* Sender);
  void AVI_obr9MouseEnter(tlb::TObject* Sender);
  void AVI_obr1MouseExit(tlb::TObject* Sender);
  void AVI_obr2MouseExit(tlb::TObject* Sender);
  void AVI_obr3MouseExit(tlb::TObject* Sender);
  void AVI_obr9MouseExit(tlb::TObject* Sender);

 private:
  void LaunchFromTile(int game);
};

extern TFORM_Menu* FORM_Menu;

// The unit-level state of the menu (tiles 1, 2, 3, 9); FormCreate sets it all to 0.
using MenuState = TileMenuState<4>;
MenuState& MenuUnit();

// The game forms the tiles open: 1 the first memory game, 2 rock-paper-scissors,
// 3 the second memory game. A game whose form is not part of the program raises,
// which the menu reports as a form that could not be made.
using GameFormFactory = std::function<tlb::TCustomForm*(tlb::TComponent* owner)>;
void SetGameFormFactory(int game, GameFormFactory factory);

// The five credits lines that F12 cycles through (code page 1250).
const char* CreditsLine(int number);

}  // namespace tq
