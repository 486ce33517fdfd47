#pragma once
// The glyph button of every form: a windowless control that shows one cell of a
// glyph strip per visual state (up, disabled, down, held down, mouse over), an
// optional caption and an optional dropdown arrow. It can be flat, with a border
// only while hot or pressed, or raised. It reports clicks, the mouse entering and
// the mouse leaving, in a fixed order: a click with the mouse gives OnMouseDown,
// OnMouseUp, OnMouseExit, OnClick and OnMouseEnter again, with the face pressed
// while OnClick runs.
//
// Hover is tracked by the buttons themselves, with one timer and one window hook
// shared by all of them; the state shared by all buttons lives in this unit and
// is freed with the last button.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/ui/actions.h"
#include "platform/ui/control.h"
#include "platform/ui/popup_menu.h"
#include "platform/ui/stdctrls.h"
#include "platform/ui/timer.h"
#include "shared/ButtonGlyph.h"
#include "shared/GlyphCmn.h"
#include "shared/GlyphVers.h"

namespace tq {

enum TButtonDisplayMode : uint8_t { dmBoth = 0, dmGlyphOnly = 1, dmTextOnly = 2 };
// The number of cells of a glyph strip, 1..5.
using TGlyphCount = uint8_t;
using TButtonDropdownEvent = std::function<void(tlb::TObject* Sender, bool& ShowMenu, bool& RemoveClicks)>;

class TGlyphButton : public tlb::TGraphicControl {
 public:
  explicit TGlyphButton(tlb::TComponent* AOwner);
  ~TGlyphButton() override;
  const char* ClassName() const override { return "TGlyphButton"; }

  // ---- published properties ----
  tlb::TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(tlb::TAlignment Value);
  bool AllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool Value);
  bool Cancel() const { return FCancel; }
  void SetCancel(bool Value) { FCancel = Value; }
  int32_t GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int32_t Value);
  bool Default() const { return FDefault; }
  void SetDefault(bool Value) { FDefault = Value; }
  TButtonDisplayMode DisplayMode() const { return FDisplayMode; }
  void SetDisplayMode(TButtonDisplayMode Value);
  bool Down() const { return FDown; }
  void SetDown(bool Value);
  bool DropdownAlways() const { return FDropdownAlways; }
  void SetDropdownAlways(bool Value);
  bool DropdownArrow() const { return FDropdownArrow; }
  void SetDropdownArrow(bool Value);
  int32_t DropdownArrowWidth() const { return FDropdownArrowWidth; }
  void SetDropdownArrowWidth(int32_t Value);
  bool DropdownCombo() const { return FDropdownCombo; }
  void SetDropdownCombo(bool Value);
  tlb::TPopupMenu* DropdownMenu() const { return FDropdownMenu; }
  void SetDropdownMenu(tlb::TPopupMenu* Value);
  bool Flat() const { return FFlat; }
  void SetFlat(bool Value);
  // The glyph strip (changes to it through its canvas drop the built pictures).
  tlb::TBitmap* Glyph() const { return FButtonGlyph->GlyphBitmap(); }
  void SetGlyph(const tlb::TBitmap* Value);
  tlb::TBitmap* GlyphMask() const { return FButtonGlyph->MaskBitmap(); }
  void SetGlyphMask(const tlb::TBitmap* Value);
  int32_t HelpContext() const { return FHelpContext; }
  void SetHelpContext(int32_t Value) { FHelpContext = Value; }
  bool HighlightWhenDown() const { return FHighlightWhenDown; }
  void SetHighlightWhenDown(bool Value);
  int32_t ImageIndex() const { return FButtonGlyph->ImageIndex; }
  // An image list used instead of the glyph strips. Not owned; when the list is
  // freed the button forgets it.
  void SetImageIndex(int32_t Value);
  tlb::TCustomImageList* Images() const { return FButtonGlyph->LiveImages(); }
  void SetImages(tlb::TCustomImageList* Value);
  TButtonLayout Layout() const { return FLayout; }
  void SetLayout(TButtonLayout Value);
  int32_t Margin() const { return FMargin; }
  void SetMargin(int32_t Value);
  int ModalResult() const { return FModalResult; }
  void SetModalResult(int Value) { FModalResult = Value; }
  bool NoBorder() const { return FNoBorder; }
  void SetNoBorder(bool Value);
  TGlyphCount NumGlyphs() const { return FButtonGlyph->GlyphCount; }
  void SetNumGlyphs(int Value);
  bool OldDisabledStyle() const { return FOldDisabledStyle; }
  void SetOldDisabledStyle(bool Value);
  bool Opaque() const { return FOpaque; }
  void SetOpaque(bool Value);
  bool Repeating() const { return FRepeating; }
  void SetRepeating(bool Value) { FRepeating = Value; }
  int32_t RepeatDelay() const { return FRepeatDelay; }
  void SetRepeatDelay(int32_t Value) { FRepeatDelay = Value; }
  int32_t RepeatInterval() const { return FRepeatInterval; }
  void SetRepeatInterval(int32_t Value) { FRepeatInterval = Value; }
  bool ShowBorderWhenInactive() const { return FShowBorderWhenInactive; }
  void SetShowBorderWhenInactive(bool Value) { FShowBorderWhenInactive = Value; }
  int32_t Spacing() const { return FSpacing; }
  void SetSpacing(int32_t Value);
  // Reads "Glyph buttons version 1.0"; writes are ignored and it is never stored.
  TGlyphLibVersion Version() const { return GlyphLibVersion(); }
  void SetVersion(const TGlyphLibVersion&) {}
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);

  TButtonDropdownEvent OnDropdown;
  tlb::TNotifyEvent OnMouseEnter;
  tlb::TNotifyEvent OnMouseExit;

  // ---- actions ----
  tlb::TBasicAction* Action() const;
  void SetAction(tlb::TBasicAction* Value);
  tlb::TControlActionLink* ActionLink() const { return FActionLink.get(); }
  // Stored rules of the form description: not stored while the action link controls them.
  bool IsDownStored() const;
  bool IsHelpContextStored() const;
  bool IsImageIndexStored() const;
  // Copies the button's state into an action (its Checked from Down).
  virtual void AssignTo(tlb::TObject* Dest);

  // ---- overrides of the class library ----
  void Click() override;
  // The class library's own double-click report is not used: OnDblClick fires only
  // for a held-down button (see the WM_LBUTTONDBLCLK handling).
  void DblClick() override {}
  void Paint() override;
  void Loaded() override;
  void Notification(tlb::TComponent* AComponent, tlb::TOperation Operation) override;
  void WndProc(tlb::TMessage& Message) override;
  // The palette of the glyph.
  tlb::HPALETTE GetPalette() const;

  // ---- state, for the painting and for tests ----
  uint8_t VisualState() const { return FVisualState; }
  bool MouseOver() const { return FMouseOver; }
  bool Tracking() const { return FTracking; }
  bool IsInClick() const { return FIsInClick; }
  bool HasDropdown() const { return FHasDropdown; }
  tlb::TTimer* AutoRepeatTimer() const { return FAutoRepeatTimer; }
  TButtonGlyph* ButtonGlyph() const { return FButtonGlyph.get(); }

  // Asks for a repaint; `Erase` allows the parent to erase the background first,
  // which happens only for a transparent button (Opaque off, Flat on).
  void RepaintButton(bool Erase);
  // Ends this button's hover tracking if it is the tracked one.
  void StopMouseTracking();

 protected:
  void MouseDown(tlb::TMouseButton Button, tlb::TShiftState Shift, int X, int Y) override;
  void MouseMove(tlb::TShiftState Shift, int X, int Y) override;
  void MouseUp(tlb::TMouseButton Button, tlb::TShiftState Shift, int X, int Y) override;
  virtual void ActionChange(tlb::TObject* Sender, bool CheckDefaults);
  virtual tlb::TControlActionLinkClass GetActionLinkClass() const;

 private:
  friend class TGlyphButtonActionLink;
  friend void ButtonHookCallback(THookEvent Event, tlb::HWND Wnd, tlb::WPARAM WParam, tlb::LPARAM LParam);

  void ReleaseGroupSiblings();
  void GlyphChangedNotify(tlb::TObject* Sender);
  void UpdateHasDropdown();
  void MouseEntered();
  void MouseLeft();
  void MouseTimerTick(tlb::TObject* Sender);
  void RecheckMouseOver();
  bool PointInButtonPart(int X, int Y) const;
  bool UnderCursor(tlb::Point screen) const;
  void RepeatTimerTick(tlb::TObject* Sender);
  void FreeRepeatTimer();
  void RunDropdown();
  void RemoveQueuedClicks();
  // The class library's Click: the action, or OnClick.
  void InheritedClick();
  void UpStateAfterLeave();

  void WMCancelMode(tlb::TMessage& Message);
  void WMLButtonDblClk(tlb::TMessage& Message);
  void CMEnabledChanged(tlb::TMessage& Message);
  void CMDialogChar(tlb::TMessage& Message);
  void CMDialogKey(tlb::TMessage& Message);
  void CMSysColorChange(tlb::TMessage& Message);

  bool FAllowAllUp = false;
  tlb::TAlignment FAlignment = tlb::taCenter;
  bool FCancel = false;
  bool FDefault = false;
  TButtonDisplayMode FDisplayMode = dmBoth;
  bool FDown = false;
  bool FDropdownAlways = false;
  bool FDropdownArrow = true;
  int32_t FDropdownArrowWidth = 9;
  bool FDropdownCombo = false;
  tlb::TPopupMenu* FDropdownMenu = nullptr;
  bool FFlat = true;
  std::unique_ptr<TButtonGlyph> FButtonGlyph;
  int32_t FGroupIndex = 0;
  int32_t FHelpContext = 0;
  bool FHighlightWhenDown = true;
  TButtonLayout FLayout = blGlyphLeft;
  int32_t FMargin = -1;
  int FModalResult = 0;
  bool FNoBorder = false;
  bool FOldDisabledStyle = false;
  bool FOpaque = true;
  bool FRepeating = false;
  int32_t FRepeatDelay = 400;
  int32_t FRepeatInterval = 100;
  bool FShowBorderWhenInactive = false;
  int32_t FSpacing = 4;
  bool FWordWrap = false;
  bool FIsInClick = false;
  bool FMouseOver = false;
  bool FTracking = false;
  bool FArrowDown = false;
  bool FHasDropdown = false;
  tlb::TTimer* FAutoRepeatTimer = nullptr;  // owned as a component of the button
  uint8_t FVisualState = vsUp;

  std::unique_ptr<tlb::TControlActionLink> FActionLink;
};

// The link between a glyph button and an action: Down follows Checked, and the
// help context and image index follow the action's.
class TGlyphButtonActionLink : public tlb::TControlActionLink {
 public:
  // The client must be a TGlyphButton; anything else raises EInvalidCast.
  void AssignClient(tlb::TObject* AClient) override;
  bool IsCheckedLinked() override;
  bool IsHelpContextLinked() override;
  bool IsImageIndexLinked() override;
  void SetChecked(bool Value) override;
  void SetHelpContext(int Value) override;
  void SetImageIndex(int Value) override;

 private:
  TGlyphButton* FClient = nullptr;
};

// ---- state shared by all buttons of the program ----
// The button whose hover is being tracked.
extern TGlyphButton* MouseOverButton;
// One 125 ms timer for all buttons; made by the first button, freed with the last.
extern tlb::TTimer* MouseTrackTimer;
extern int32_t LiveButtonCount;

// The one hook procedure every button registers, for heActivateApp and heMouseMoved.
void ButtonHookCallback(THookEvent Event, tlb::HWND Wnd, tlb::WPARAM WParam, tlb::LPARAM LParam);

}  // namespace tq
