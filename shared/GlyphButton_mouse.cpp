// The glyph button's input: hover tracking with the shared timer and window hook,
// press, drag and release, the click with its feedback, group toggle and dropdown
// (which removes the mouse clicks queued meanwhile), auto-repeat, dialog keys and
// accelerators, and enabling and disabling.
//
// Handlers of the forms may free a button from inside its own events; every step
// that follows an event checks that the button still exists before it goes on.
#include <exception>
#include <vector>

#include "platform/core/cp1250.h"
#include "platform/ui/forms.h"
#include "platform/ui/message_queue.h"
#include "shared/GlyphButton.h"

namespace tq {

using namespace tlb;

namespace {

// The character a caption marks with "&" ("&&" is a plain ampersand), or 0.
char AccelChar(const std::string& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != '&') continue;
    if (caption[i + 1] == '&') {
      ++i;
      continue;
    }
    return caption[i + 1];
  }
  return 0;
}

// The class library's IsAccel: the character is the caption's accelerator, in either case.
bool IsAccel(char key, const std::string& caption) {
  char accel = AccelChar(caption);
  return accel != 0 && AnsiUpperChar(accel) == AnsiUpperChar(key);
}

bool IsPressMessage(UINT m) {
  return m == WM_LBUTTONDOWN || m == WM_LBUTTONDBLCLK || m == WM_RBUTTONDOWN || m == WM_RBUTTONDBLCLK ||
         m == WM_MBUTTONDOWN || m == WM_MBUTTONDBLCLK;
}

}  // namespace

// ---- hover ----

bool TGlyphButton::UnderCursor(Point screen) const { return FindDragTarget(screen, true) == this; }

bool TGlyphButton::PointInButtonPart(int X, int Y) const {
  int arrow = (FDropdownCombo && FHasDropdown) ? FDropdownArrowWidth + 2 : 0;
  return X >= 0 && X < ClientWidth() - arrow && Y >= 0 && Y < ClientHeight();
}

void TGlyphButton::StopMouseTracking() {
  if (MouseOverButton != this) return;
  if (MouseTrackTimer) MouseTrackTimer->SetEnabled(false);
  MouseOverButton = nullptr;
}

void TGlyphButton::MouseEntered() {
  if (!Enabled() || FMouseOver) return;
  FMouseOver = true;
  if (FVisualState == vsUp) FVisualState = vsHot;
  // A raised button with fewer than five cells does not repaint: its hot face looks like its up face.
  if (FFlat || NumGlyphs() == 5) RepaintButton(FDown || NumGlyphs() == 5);
  if (OnMouseEnter) OnMouseEnter(this);
}

void TGlyphButton::MouseLeft() {
  if (!Enabled() || !FMouseOver || FTracking) return;
  FMouseOver = false;
  StopMouseTracking();
  uint8_t oldState = FVisualState;
  if (oldState == vsHot || (oldState == vsDown && !FIsInClick)) UpStateAfterLeave();
  if (FFlat || NumGlyphs() == 5 || (oldState != vsHot && FVisualState != oldState)) RepaintButton(true);
  if (OnMouseExit) OnMouseExit(this);
}

void TGlyphButton::UpStateAfterLeave() { FVisualState = (FDown && FGroupIndex != 0) ? vsExclusive : vsUp; }

void TGlyphButton::MouseTimerTick(TObject*) {
  if (MouseOverButton && !MouseOverButton->UnderCursor(GetCursorPos())) MouseOverButton->MouseLeft();
}

void ButtonHookCallback(THookEvent Event, HWND, WPARAM WParam, LPARAM) {
  switch (Event) {
    case heActivateApp:
      // The application is being deactivated.
      if (WParam == 0 && MouseOverButton && !MouseOverButton->FShowBorderWhenInactive) MouseOverButton->MouseLeft();
      break;
    case heMouseMoved:
      // A mouse move anywhere in the thread, the peeked ones included.
      if (MouseOverButton && !MouseOverButton->UnderCursor(GetCursorPos())) MouseOverButton->MouseLeft();
      break;
    default:
      break;
  }
}

void TGlyphButton::RecheckMouseOver() {
  if (!Enabled()) return;
  bool over = UnderCursor(GetCursorPos());
  // Exactly one of the two passes its guard.
  FMouseOver = !over;
  if (over) MouseEntered();
  else MouseLeft();
}

void TGlyphButton::MouseMove(TShiftState Shift, int X, int Y) {
  auto alive = AliveToken();
  TGraphicControl::MouseMove(Shift, X, Y);
  if (alive.expired()) return;
  if (MouseOverButton != this && UnderCursor(ClientToScreen({X, Y}))) {
    if (MouseOverButton) MouseOverButton->MouseLeft();
    if (alive.expired()) return;
    // While the application is inactive the button does not become hot.
    if (FShowBorderWhenInactive || AppIsActive()) {
      MouseOverButton = this;
      MouseTrackTimer->SetOnTimer(Guarded(this, [this](TObject* sender) { MouseTimerTick(sender); }));
      MouseTrackTimer->SetEnabled(true);
      MouseEntered();
      if (alive.expired()) return;
    }
  }
  if (!FTracking) return;
  bool inPart = PointInButtonPart(X, Y);
  // A paused repeat resumes with a full period.
  if (inPart && FAutoRepeatTimer) FAutoRepeatTimer->SetEnabled(true);
  uint8_t state = FDown ? vsExclusive : inPart ? vsDown : vsUp;
  if (state != FVisualState) {
    FVisualState = state;
    RepaintButton(true);
  }
}

// ---- press and release ----

void TGlyphButton::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  auto alive = AliveToken();
  if (!Enabled()) {
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    return;
  }
  if (Button != mbLeft) {
    MouseEntered();
    if (alive.expired()) return;
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    return;
  }
  MouseEntered();
  if (alive.expired()) return;
  // A dropdown button without the combo part opens its menu wherever it is pressed.
  FArrowDown = FHasDropdown && (!FDropdownCombo || X >= Width() - (FDropdownArrowWidth + 2));
  try {
    if (!FDown) {
      FVisualState = vsDown;
      RepaintButton(true);
    } else if (FAllowAllUp) {
      RepaintButton(true);
    }
    if (!FArrowDown) FTracking = true;
    // The class library has captured the mouse for the button already (csCaptureMouse).
    TGraphicControl::MouseDown(Button, Shift, X, Y);
    if (alive.expired()) return;
    if (FArrowDown) {
      Click();  // the menu opens on the press
    } else if (FRepeating) {
      Click();
      if (alive.expired()) return;
      if (!FAutoRepeatTimer) FAutoRepeatTimer = new TTimer(this);
      FAutoRepeatTimer->SetEnabled(false);
      FAutoRepeatTimer->SetInterval(FRepeatDelay);
      FAutoRepeatTimer->SetOnTimer([this](TObject* sender) { RepeatTimerTick(sender); });
      FAutoRepeatTimer->SetEnabled(true);
    }
  } catch (...) {
    if (!alive.expired()) FArrowDown = false;
    throw;
  }
  if (!alive.expired()) FArrowDown = false;
}

void TGlyphButton::FreeRepeatTimer() {
  TTimer* timer = FAutoRepeatTimer;
  FAutoRepeatTimer = nullptr;
  delete timer;
}

void TGlyphButton::RepeatTimerTick(TObject*) {
  // The first tick comes after RepeatDelay, the later ones every RepeatInterval.
  FAutoRepeatTimer->SetInterval(FRepeatInterval);
  Point p = ScreenToClient(GetCursorPos());
  if (FRepeating && FTracking && MouseCapture() && PointInButtonPart(p.x, p.y)) Click();
  else FAutoRepeatTimer->SetEnabled(false);  // paused until the pointer is back in the main part
}

void TGlyphButton::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  auto alive = AliveToken();
  FreeRepeatTimer();
  if (Button == mbRight && Enabled()) {
    FTracking = false;
    MouseLeft();
    if (alive.expired()) return;
  }
  TGraphicControl::MouseUp(Button, Shift, X, Y);
  if (alive.expired()) return;
  if (Button == mbLeft && FTracking) {
    FTracking = false;
    // A release outside the main part never clicks, and neither does that of a repeating button.
    if (PointInButtonPart(X, Y) && !FRepeating) Click();
    else MouseLeft();
  }
}

// ---- the click ----

void TGlyphButton::Click() {
  auto alive = AliveToken();
  // Repeat clicks neither toggle Down nor change the face.
  if (FRepeating && !FArrowDown) {
    InheritedClick();
    return;
  }
  FIsInClick = true;
  std::exception_ptr failure;
  try {
    if (FGroupIndex != 0 && !FArrowDown) SetDown(!FDown);
    // The face shows pressed while the click's handlers run, also for a click from the keyboard.
    if (FVisualState == vsUp || FVisualState == vsHot) {
      FVisualState = vsDown;
      RepaintButton(true);
    }
    // IsInClick keeps a pressed face; the hot state and the tracking end here.
    MouseLeft();
    if (!alive.expired()) {
      bool plain = !FHasDropdown || (FDropdownCombo && !FArrowDown);
      if (plain) {
        if (TCustomForm* form = GetParentForm(this)) form->ModalResult = FModalResult;
        InheritedClick();
      } else {
        RunDropdown();
      }
    }
  } catch (...) {
    failure = std::current_exception();
  }
  // A button freed by its own handlers skips the final steps.
  if (alive.expired()) {
    if (failure) std::rethrow_exception(failure);
    return;
  }
  FIsInClick = false;
  if (FVisualState == vsDown) FVisualState = vsUp;
  if (!Has(csDestroying)) {
    RepaintButton(true);
    RecheckMouseOver();
  }
  if (failure) std::rethrow_exception(failure);
}

void TGlyphButton::RunDropdown() {
  auto alive = AliveToken();
  // OnClick of a plain dropdown button fires before its menu opens.
  if (!FDropdownCombo) {
    InheritedClick();
    if (alive.expired()) return;
  }
  SetMouseCapture(false);
  bool showMenu = FDropdownMenu != nullptr;
  bool removeClicks = true;
  std::exception_ptr failure;
  try {
    if (OnDropdown) OnDropdown(this, showMenu, removeClicks);
    if (!alive.expired() && FDropdownMenu && showMenu) {
      TPopupMenu* menu = FDropdownMenu;
      auto menuAlive = menu->AliveToken();
      TPopupAlignment savedAlignment = menu->Alignment;
      TTrackButton savedTrack = menu->TrackButton;
      auto restore = [&] {
        if (menuAlive.expired()) return;
        menu->Alignment = savedAlignment;
        menu->TrackButton = savedTrack;
      };
      try {
        menu->Alignment = paLeft;
        // The menu's top-left corner at the button's bottom-left corner.
        Point p = ClientToScreen({0, Height()});
        menu->SetPopupComponent(this);
        menu->TrackButton = (Application && Application->NewStyleControls) ? tbLeftButton : tbRightButton;
        menu->Popup(p.x, p.y);
      } catch (...) {
        restore();
        throw;
      }
      restore();
    }
  } catch (...) {
    failure = std::current_exception();
  }
  if (!alive.expired() && removeClicks) RemoveQueuedClicks();
  if (failure) std::rethrow_exception(failure);
}

// Takes the mouse presses and releases out of the queue. Presses over this button
// are dropped, so the click that closed the menu over it does not press it again;
// everything else is posted again in the order taken, so clicks elsewhere arrive.
void TGlyphButton::RemoveQueuedClicks() {
  std::vector<MSG> kept;
  Rect onScreen = Rect::FromSize(ClientToScreen({0, 0}).x, ClientToScreen({0, 0}).y, Width(), Height());
  auto repost = [&kept] {
    for (const MSG& m : kept) PostMessage(m.hwnd, m.message, m.wParam, m.lParam);
    kept.clear();
  };
  try {
    for (;;) {
      MSG msg;
      if (!PeekMessage(msg, nullptr, WM_LBUTTONDOWN, WM_MBUTTONDBLCLK, PM_REMOVE | PM_NOYIELD)) {
        // A quit request ends the taking and is posted again. The queue hands it out
        // only when asked for it, after the input.
        if (PeekMessage(msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE | PM_NOYIELD)) PostQuitMessage(int(msg.wParam));
        break;
      }
      if (msg.message == WM_QUIT) {
        PostQuitMessage(int(msg.wParam));
        break;
      }
      if (IsPressMessage(msg.message) && msg.hwnd) {
        Point screen = msg.hwnd->ClientToScreen(PointFromLParam(msg.lParam));
        if (onScreen.Contains(screen)) continue;
      }
      kept.push_back(msg);
    }
  } catch (...) {
    repost();
    throw;
  }
  repost();
}

// ---- messages ----

void TGlyphButton::WMCancelMode(TMessage& Message) {
  auto alive = AliveToken();
  FreeRepeatTimer();
  if (FTracking) {
    FTracking = false;
    MouseLeft();
    if (alive.expired()) return;
  }
  TGraphicControl::WndProc(Message);
}

void TGlyphButton::WMLButtonDblClk(TMessage& Message) {
  auto alive = AliveToken();
  // The second press arrives as an ordinary MouseDown with the double-click shift state.
  TGraphicControl::WndProc(Message);
  if (alive.expired()) return;
  // Only a held-down button reports a double click; any other takes it as two clicks.
  if (FDown) TGraphicControl::DblClick();
}

void TGlyphButton::CMEnabledChanged(TMessage&) {
  if (!Enabled()) {
    // No OnMouseExit: the hover simply ends.
    FVisualState = vsDisabled;
    FMouseOver = false;
    FTracking = false;
    StopMouseTracking();
    Perform(WM_CANCELMODE);  // frees the repeat timer and ends the capture
  } else if (FVisualState == vsDisabled) {
    FVisualState = (FDown && FGroupIndex != 0) ? vsExclusive : vsUp;
  }
  RepaintButton(true);
}

void TGlyphButton::CMDialogChar(TMessage& Message) {
  if (IsAccel(char(Message.WParam), Caption()) && Parent() && Parent()->CanFocus() && Enabled() && Visible() &&
      FDisplayMode != dmGlyphOnly) {
    Click();
    Message.Result = 1;
    return;
  }
  TGraphicControl::WndProc(Message);
}

void TGlyphButton::CMDialogKey(TMessage& Message) {
  WPARAM key = Message.WParam;
  bool wanted = (key == WPARAM(VK_RETURN) && FDefault) || (key == WPARAM(VK_ESCAPE) && FCancel);
  if (wanted && KeyDataToShiftState(Message.LParam) == 0 && Parent() && Parent()->CanFocus() && Enabled() &&
      Visible()) {
    Click();
    Message.Result = 1;
    return;
  }
  TGraphicControl::WndProc(Message);
}

void TGlyphButton::WndProc(TMessage& Message) {
  switch (Message.Msg) {
    case WM_LBUTTONDBLCLK:
      WMLButtonDblClk(Message);
      return;
    case WM_CANCELMODE:
      WMCancelMode(Message);
      return;
    case CM_ENABLEDCHANGED:
      CMEnabledChanged(Message);
      return;
    case CM_DIALOGCHAR:
      CMDialogChar(Message);
      return;
    case CM_DIALOGKEY:
      CMDialogKey(Message);
      return;
    case CM_FONTCHANGED:
    case CM_TEXTCHANGED:
      TGraphicControl::WndProc(Message);
      RepaintButton(true);
      return;
    case CM_SYSCOLORCHANGE:
      CMSysColorChange(Message);
      return;
    default:
      TGraphicControl::WndProc(Message);
  }
}

}  // namespace tq
