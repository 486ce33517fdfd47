#pragma once
// The animation tile of all three programs: the class library's animation
// control with two hover events. OnMouseEnter fires on every mouse move over
// the tile; OnMouseExit fires once when the application, at idle time, finds
// the pointer has left it (and on each move the tile receives while the
// pointer is over another control, as when it holds the capture). A 125 ms
// timer polls the pointer while it rests on the tile and only stops itself.
#include "platform/media/animate.h"
#include "platform/ui/timer.h"

namespace tq {

class TAVI_orvo1 : public tlb::TAnimate {
 public:
  explicit TAVI_orvo1(tlb::TComponent* AOwner);
  ~TAVI_orvo1() override;
  const char* ClassName() const override { return "TAVI_orvo1"; }

  tlb::TNotifyEvent OnMouseEnter;
  tlb::TNotifyEvent OnMouseExit;

  // Owned by the tile, without a component owner.
  tlb::TTimer* HoverTimer() const { return hoverTimer_; }

  void WndProc(tlb::TMessage& message) override;

 protected:
  void MouseMove(tlb::TShiftState Shift, int X, int Y) override;
  void HandleMouseMove(tlb::TShiftState Shift, int X, int Y);
  void HandleMouseLeave(tlb::TMessage& message);

 private:
  void FireMouseEnter();
  void FireMouseExit();
  void HoverCheck(tlb::TObject* Sender);

  tlb::TTimer* hoverTimer_ = nullptr;
};

// Registers TAVI_orvo1 with the form reader (once).
void RegisterAviDelpClasses();

}  // namespace tq
