#include "shared/AVI_delp.h"

#include "platform/ui/forms.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/property_helpers.h"

namespace tq {

using namespace tlb;

TAVI_orvo1::TAVI_orvo1(TComponent* AOwner) : TAnimate(AOwner) {
  SetWidth(100);
  SetHeight(100);
  // Captures the mouse while a button is held, turns press and release into
  // OnClick, paints its whole area. No double clicks: a fast second click is a press.
  ControlStyle = csCaptureMouse | csClickEvents | csOpaque;
  hoverTimer_ = new TTimer(nullptr);
  hoverTimer_->SetEnabled(false);
  hoverTimer_->SetInterval(125);
}

TAVI_orvo1::~TAVI_orvo1() {
  if (hoverTimer_) {
    hoverTimer_->SetEnabled(false);
    hoverTimer_->SetOnTimer(nullptr);
    delete hoverTimer_;
    hoverTimer_ = nullptr;
  }
}

void TAVI_orvo1::FireMouseEnter() {
  if (OnMouseEnter) OnMouseEnter(this);
}

void TAVI_orvo1::FireMouseExit() {
  if (OnMouseExit) OnMouseExit(this);
}

void TAVI_orvo1::MouseMove(TShiftState Shift, int X, int Y) { HandleMouseMove(Shift, X, Y); }

void TAVI_orvo1::HandleMouseMove(TShiftState Shift, int X, int Y) {
  TAnimate::MouseMove(Shift, X, Y);
  TControl* under = FindDragTarget(ClientToScreen({X, Y}), true);
  if (under == this) {
    if (!hoverTimer_->Enabled()) {
      // Assigning the handler starts a fresh 125 ms period.
      hoverTimer_->SetOnTimer([this](TObject* sender) { HoverCheck(sender); });
      hoverTimer_->SetEnabled(true);
    }
    if (hoverTimer_->Enabled()) FireMouseEnter();
  } else {
    // A move that reaches the tile while the pointer is elsewhere (the tile holds the capture).
    FireMouseExit();
  }
}

void TAVI_orvo1::HoverCheck(TObject*) {
  if (FindDragTarget(GetCursorPos(), true) == this) return;
  if (hoverTimer_->Enabled()) {
    hoverTimer_->SetEnabled(false);
    hoverTimer_->SetOnTimer(nullptr);
  }
}

void TAVI_orvo1::HandleMouseLeave(TMessage&) { FireMouseExit(); }

void TAVI_orvo1::WndProc(TMessage& message) {
  // The leave message ends here: it is not passed on.
  if (message.Msg == CM_MOUSELEAVE) {
    HandleMouseLeave(message);
    return;
  }
  TAnimate::WndProc(message);
}

void RegisterAviDelpClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterStandardClasses();
  Class<TAVI_orvo1>("TAVI_orvo1", "TAnimate");
  EventProp<TAVI_orvo1>("TAVI_orvo1", "OnMouseEnter", &TAVI_orvo1::OnMouseEnter);
  EventProp<TAVI_orvo1>("TAVI_orvo1", "OnMouseExit", &TAVI_orvo1::OnMouseExit);
}

}  // namespace tq
