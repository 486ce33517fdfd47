// The glyph button's data: construction and destruction with the state shared by
// all buttons, the property writers, groups, repaint requests and actions.
#include "shared/GlyphButton.h"

#include <algorithm>

#include "platform/graphics/imagelist.h"
#include "platform/ui/forms.h"
#include "shared/GlyphLists.h"

namespace tq {

using namespace tlb;

TGlyphButton* MouseOverButton = nullptr;
TTimer* MouseTrackTimer = nullptr;
int32_t LiveButtonCount = 0;

TGlyphButton::TGlyphButton(TComponent* AOwner) : TGraphicControl(AOwner) {
  if (!MouseTrackTimer) {
    MouseTrackTimer = new TTimer(nullptr);
    MouseTrackTimer->SetEnabled(false);
    MouseTrackTimer->SetInterval(125);
  }
  RegisterHookProc(ButtonHookCallback, HookEvents({heActivateApp, heMouseMoved}), Has(csDesigning));
  SetBounds(Left(), Top(), 23, 22);
  // Neither csClickEvents nor csSetCaption: the class library never clicks the
  // button by itself, and a new button's caption is empty.
  ControlStyle = csCaptureMouse | csOpaque | csDoubleClicks;
  SetColor(clBtnFace);
  FButtonGlyph = std::make_unique<TButtonGlyph>();
  FButtonGlyph->OnChange = [this](TObject* sender) { GlyphChangedNotify(sender); };
  SetParentFont(true);
  ++LiveButtonCount;
}

TGlyphButton::~TGlyphButton() {
  SetState(csDestroying, true);
  StopMouseTracking();
  FActionLink.reset();
  // The image list's link unregisters itself from a list that still exists.
  FButtonGlyph.reset();
  UnregisterHookProc(ButtonHookCallback);
  if (--LiveButtonCount == 0) {
    FreeDitherPattern();
    delete MouseTrackTimer;
    MouseTrackTimer = nullptr;
  }
  // The repeat timer is a component of the button and goes with it.
  FAutoRepeatTimer = nullptr;
}

// ---- repaint requests ----

void TGlyphButton::RepaintButton(bool Erase) {
  if (!FOpaque && FFlat && Erase) {
    // A transparent button: the parent erases the background under it first.
    TControl::Invalidate();
    return;
  }
  if (ControlStyle & csOpaque) {
    TControl::Invalidate();
    return;
  }
  // Opaque for this one request, so that nothing is erased.
  ControlStyle |= csOpaque;
  try {
    TControl::Invalidate();
  } catch (...) {
    ControlStyle &= ~unsigned(csOpaque);
    throw;
  }
  ControlStyle &= ~unsigned(csOpaque);
}

void TGlyphButton::GlyphChangedNotify(TObject*) { RepaintButton(true); }

namespace {
void SetOpaqueStyle(TControl& c, bool opaque) {
  if (opaque) c.ControlStyle |= csOpaque;
  else c.ControlStyle &= ~unsigned(csOpaque);
}
}  // namespace

// ---- property writers ----

void TGlyphButton::SetAlignment(TAlignment Value) {
  if (Value == FAlignment) return;
  FAlignment = Value;
  RepaintButton(true);
}

void TGlyphButton::SetAllowAllUp(bool Value) {
  if (Value == FAllowAllUp) return;
  FAllowAllUp = Value;
  ReleaseGroupSiblings();
}

void TGlyphButton::SetGroupIndex(int32_t Value) {
  if (Value == FGroupIndex) return;
  FGroupIndex = Value;
  ReleaseGroupSiblings();
}

void TGlyphButton::SetDisplayMode(TButtonDisplayMode Value) {
  if (Value == FDisplayMode) return;
  FDisplayMode = Value;
  RepaintButton(true);
}

void TGlyphButton::SetDown(bool Value) {
  // A button outside a group can never be held down.
  if (FGroupIndex == 0) Value = false;
  if (Value == FDown) return;
  // A held-down member is raised only by another member going down, or with AllowAllUp.
  if (FDown && !FAllowAllUp) return;
  FDown = Value;
  FVisualState = !Enabled() ? vsDisabled : Value ? vsExclusive : vsUp;
  RepaintButton(true);
  if (Value) ReleaseGroupSiblings();
}

void TGlyphButton::ReleaseGroupSiblings() {
  if (FGroupIndex == 0 || !Parent()) return;
  TWinControl* parent = Parent();
  for (int i = 0; i < parent->ControlCount(); ++i) {
    auto* other = dynamic_cast<TGlyphButton*>(parent->Controls(i));
    if (!other || other == this || other->FGroupIndex != FGroupIndex) continue;
    if (FDown && other->FDown) {
      other->FDown = false;
      other->FVisualState = vsUp;
      other->RepaintButton(true);
    }
    other->FAllowAllUp = FAllowAllUp;
  }
}

void TGlyphButton::UpdateHasDropdown() {
  bool has = FDropdownAlways || FDropdownMenu != nullptr;
  if (has == FHasDropdown) return;
  FHasDropdown = has;
  if (FDropdownArrow || FDropdownCombo) RepaintButton(true);
}

void TGlyphButton::SetDropdownAlways(bool Value) {
  if (Value == FDropdownAlways) return;
  FDropdownAlways = Value;
  UpdateHasDropdown();
}

void TGlyphButton::SetDropdownArrow(bool Value) {
  if (Value == FDropdownArrow) return;
  FDropdownArrow = Value;
  RepaintButton(true);
}

void TGlyphButton::SetDropdownArrowWidth(int32_t Value) {
  if (Value < 7) Value = 7;
  if (Value == FDropdownArrowWidth) return;
  int32_t old = FDropdownArrowWidth;
  FDropdownArrowWidth = Value;
  if (!Has(csLoading) && FDropdownCombo) SetWidth(Width() + Value - old);
  RepaintButton(true);
}

void TGlyphButton::SetDropdownCombo(bool Value) {
  if (Value == FDropdownCombo) return;
  FDropdownCombo = Value;
  if (!Has(csLoading)) {
    if (Value) SetWidth(Width() + FDropdownArrowWidth + 2);
    else SetWidth(std::max(1, Width() - (FDropdownArrowWidth + 2)));
  }
  RepaintButton(true);
}

void TGlyphButton::SetDropdownMenu(TPopupMenu* Value) {
  if (Value == FDropdownMenu) return;
  FDropdownMenu = Value;
  if (Value) Value->FreeNotification(this);
  UpdateHasDropdown();
}

void TGlyphButton::SetFlat(bool Value) {
  if (Value == FFlat) return;
  FFlat = Value;
  SetOpaqueStyle(*this, FOpaque || !FFlat);
  RepaintButton(true);
}

void TGlyphButton::SetGlyph(const TBitmap* Value) {
  FButtonGlyph->AssignGlyph(Value);
  RepaintButton(true);
}

void TGlyphButton::SetGlyphMask(const TBitmap* Value) {
  FButtonGlyph->AssignGlyphMask(Value);
  RepaintButton(true);
}

void TGlyphButton::SetHighlightWhenDown(bool Value) {
  if (Value == FHighlightWhenDown) return;
  FHighlightWhenDown = Value;
  if (FDown) RepaintButton(true);
}

void TGlyphButton::SetImageIndex(int32_t Value) {
  if (Value == FButtonGlyph->ImageIndex) return;
  FButtonGlyph->ImageIndex = Value;
  if (FButtonGlyph->LiveImages()) FButtonGlyph->GlyphChanged(nullptr);
}

void TGlyphButton::SetImages(TCustomImageList* Value) {
  TButtonGlyph& g = *FButtonGlyph;
  if (Value == g.LiveImages()) return;
  if (g.LiveImages() && g.ImageListLink) g.Images->UnRegisterChanges(g.ImageListLink.get());
  g.Images = Value;
  if (Value) {
    if (!g.ImageListLink) {
      g.ImageListLink = std::make_unique<TChangeLink>();
      g.ImageListLink->OnChange = [this] { FButtonGlyph->GlyphChanged(FButtonGlyph->Images); };
    }
    // The list is not a component: when it is freed it lets go of the link, and
    // the glyph then forgets it (TButtonGlyph::LiveImages).
    Value->RegisterChanges(g.ImageListLink.get());
  } else {
    g.ImageListLink.reset();
  }
  g.RecountGlyphs();
}

void TGlyphButton::SetLayout(TButtonLayout Value) {
  if (Value == FLayout) return;
  FLayout = Value;
  RepaintButton(true);
}

void TGlyphButton::SetMargin(int32_t Value) {
  if (Value < -1 || Value == FMargin) return;
  FMargin = Value;
  RepaintButton(true);
}

void TGlyphButton::SetNoBorder(bool Value) {
  if (Value == FNoBorder) return;
  FNoBorder = Value;
  Invalidate();
}

void TGlyphButton::SetNumGlyphs(int Value) {
  if (Value <= 0) Value = 1;
  else if (Value > 5) Value = 5;
  if (Value == FButtonGlyph->GlyphCount) return;
  FButtonGlyph->SetGlyphCount(uint8_t(Value));
  RepaintButton(true);
}

void TGlyphButton::SetOldDisabledStyle(bool Value) {
  if (Value == FOldDisabledStyle) return;
  FOldDisabledStyle = Value;
  FButtonGlyph->OldDisabledStyle = Value;
  FButtonGlyph->DropStateImages();
  RepaintButton(true);
}

void TGlyphButton::SetOpaque(bool Value) {
  if (Value == FOpaque) return;
  FOpaque = Value;
  SetOpaqueStyle(*this, FOpaque || !FFlat);
  Invalidate();
}

void TGlyphButton::SetSpacing(int32_t Value) {
  if (Value == FSpacing) return;
  FSpacing = Value;
  RepaintButton(true);
}

void TGlyphButton::SetWordWrap(bool Value) {
  if (Value == FWordWrap) return;
  FWordWrap = Value;
  RepaintButton(true);
}

// ---- the component model ----

void TGlyphButton::Loaded() {
  TGraphicControl::Loaded();
  // Built ahead of the first paint; the result is not used.
  FButtonGlyph->BuildStateImage(Enabled() ? vsUp : vsDisabled);
}

void TGlyphButton::Notification(TComponent* AComponent, TOperation Operation) {
  TGraphicControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (AComponent == FDropdownMenu) SetDropdownMenu(nullptr);
  if (FActionLink && AComponent == FActionLink->Action()) SetAction(nullptr);
}

HPALETTE TGlyphButton::GetPalette() const { return Glyph()->Palette(); }

// ---- actions ----

TBasicAction* TGlyphButton::Action() const { return FActionLink ? FActionLink->Action() : nullptr; }

void TGlyphButton::SetAction(TBasicAction* Value) {
  if (!Value) {
    FActionLink.reset();
    return;
  }
  if (!FActionLink) FActionLink = NewActionLink(GetActionLinkClass(), this);
  FActionLink->SetAction(Value);
  FActionLink->OnChange = [this](TObject* sender) { ActionChange(sender, false); };
  ActionChange(Value, Value->Has(csLoading));
  Value->FreeNotification(this);
}

TControlActionLinkClass TGlyphButton::GetActionLinkClass() const {
  return []() -> std::unique_ptr<TControlActionLink> { return std::make_unique<TGlyphButtonActionLink>(); };
}

void TGlyphButton::ActionChange(TObject* Sender, bool CheckDefaults) {
  ApplyActionToControl(*this, dynamic_cast<TBasicAction*>(Sender), CheckDefaults);
  auto* action = dynamic_cast<TCustomAction*>(Sender);
  if (!action) return;
  if (!CheckDefaults || !FDown) SetDown(action->Checked());
  if (!CheckDefaults || FHelpContext == 0) FHelpContext = action->HelpContext();
  if (!CheckDefaults || ImageIndex() == -1) SetImageIndex(action->ImageIndex());
}

void TGlyphButton::AssignTo(TObject* Dest) {
  auto* action = dynamic_cast<TCustomAction*>(Dest);
  if (!action) return;
  // The class library's part: the control's state becomes the action's.
  action->SetEnabled(Enabled());
  action->SetHint(Hint);
  action->SetCaption(Caption());
  action->SetVisible(Visible());
  if (OnClick) action->OnExecute = OnClick;
  action->SetChecked(FDown);
}

bool TGlyphButton::IsDownStored() const { return !(FActionLink && FActionLink->IsCheckedLinked()); }
bool TGlyphButton::IsHelpContextStored() const { return !(FActionLink && FActionLink->IsHelpContextLinked()); }
bool TGlyphButton::IsImageIndexStored() const { return !(FActionLink && FActionLink->IsImageIndexLinked()); }

void TGlyphButton::InheritedClick() {
  // The handler set on the button wins; without one, a linked action runs.
  if (OnClick) {
    TNotifyEvent handler = OnClick;
    handler(this);
  } else if (FActionLink && !Has(csDesigning)) {
    FActionLink->Execute();
  }
}

void TGlyphButtonActionLink::AssignClient(TObject* AClient) {
  TControlActionLink::AssignClient(AClient);
  auto* button = dynamic_cast<TGlyphButton*>(AClient);
  if (!button) throw EInvalidCast(SInvalidCast);
  FClient = button;
}

bool TGlyphButtonActionLink::IsCheckedLinked() {
  return TControlActionLink::IsCheckedLinked() && FClient->FDown == CustomAction()->Checked();
}

bool TGlyphButtonActionLink::IsHelpContextLinked() {
  return TControlActionLink::IsHelpContextLinked() && FClient->FHelpContext == CustomAction()->HelpContext();
}

bool TGlyphButtonActionLink::IsImageIndexLinked() {
  return TControlActionLink::IsImageIndexLinked() && FClient->ImageIndex() == CustomAction()->ImageIndex();
}

void TGlyphButtonActionLink::SetChecked(bool Value) {
  if (IsCheckedLinked()) FClient->SetDown(Value);
}

void TGlyphButtonActionLink::SetHelpContext(int Value) {
  if (IsHelpContextLinked()) FClient->FHelpContext = Value;
}

void TGlyphButtonActionLink::SetImageIndex(int Value) {
  if (IsImageIndexLinked()) FClient->SetImageIndex(Value);
}

}  // namespace tq
