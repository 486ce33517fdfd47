#pragma once
// The first memory game, "Kimova hra 1": the cards of a grid are shown, turned
// face down, and the child finds each picture that the sample beside the grid
// asks for, in a shuffled order.
#include "games/src/kim_shell.h"

namespace tq {

// The unit's state for the whole program run (zero at its start).
struct Kim1State : KimShellState, KimRoundData {
  std::string ShuffledNames[17];  // 1..16: the order in which the pictures are asked for
  uint8_t TargetPos = 0;          // position in ShuffledNames of the picture asked for now
  bool TargetBusy = false;        // the next target is being shown
};
Kim1State& Kim1Unit();
// A fresh program run's state.
void ResetKim1Unit();

class Tform_kim1 : public TKimShell {
 public:
  explicit Tform_kim1(tlb::TComponent* AOwner);
  ~Tform_kim1() override;
  const char* ClassName() const override { return "Tform_kim1"; }

  tlb::TImage *podklad, *img_rub, *vzor;
  tlb::TPanel* panel_vzor;

  void kim_11Click(tlb::TObject* Sender);
  void btn_helpClick(tlb::TObject* Sender);

 protected:
  void StartRound(int n) override;
  void CallStartRound(int n) override;
  bool LevelRefused(int n) const override;
  void CreateSeed() override;
  void CreateOwn() override;
  void ClockTickOwn() override;
  void MemorizeHideOwn() override;
  void MemorizeCountdownOverOwn() override;
  void MemorizeEndOwn() override;

 private:
  void NextTarget();
  // 4, 9 or 16 for the grid sizes 2, 3, 4; 0 for any other size.
  int TargetCount() const;
  // The picture asked for now; empty outside 1..16.
  const std::string& Target() const;

  Kim1State& U;
};

extern Tform_kim1* form_kim1;

}  // namespace tq
