#pragma once
// The second memory game, "Kimova hra 2": some of the round's pictures are held
// back while the others are shown on a white panel; then all of them come back
// in new places, and the child finds the pictures seen before.
#include "games/src/kim_shell.h"

namespace tq {

// The unit's state for the whole program run (zero at its start).
struct Kim2State : KimShellState, KimRoundData {
  uint8_t ShownFlags[17] = {};   // 1..16: the i-th chosen picture was shown while memorising
  uint8_t GridShown[5][5] = {};  // [c][r]: the flag of the picture now on card kim_<c><r>
  uint8_t RemovedCount = 0;      // pictures held back in this round
  int32_t FoundCount = 0;        // pictures seen before that the child has found
  uint8_t BadSoundIndex = 0;     // the last of the five wrong-click sounds, 1..5
};
Kim2State& Kim2Unit();
// A fresh program run's state.
void ResetKim2Unit();

class Tform_kim2 : public TKimShell {
 public:
  explicit Tform_kim2(tlb::TComponent* AOwner);
  ~Tform_kim2() override;
  const char* ClassName() const override { return "Tform_kim2"; }

  tlb::TPanel *podklad, *oddeleni2;
  tlb::TButton* Button1;
  tlb::TMemo* kod;

  void kim_11Click(tlb::TObject* Sender);
  void btn_helpClick(tlb::TObject* Sender);
  void podkladClick(tlb::TObject* Sender);
  void Button1Click(tlb::TObject* Sender);

 protected:
  void StartRound(int n) override;
  void CreateOwn() override;

 private:
  void RoundOver();
  // Gives every card of the grid its marked picture.
  void MarkGridCards();

  Kim2State& U;
};

extern Tform_kim2* form_kim2;

}  // namespace tq
