// TGlyphButton's properties as the form descriptions name them.
#include "shared/GlyphCtls.h"

#include "platform/ui/property_helpers.h"

namespace tq {

using namespace tlb;

namespace {

template <typename Fn>
void ButtonProp(const char* name, Fn setter) {
  Prop<TGlyphButton>("TGlyphButton", name, setter);
}

void SetGlyphFromResource(TGlyphButton* b, const FormValue& v, const LoadContext& ctx, bool mask) {
  TBitmap bitmap;
  LoadBitmapResource(bitmap, v, ctx);
  if (mask) b->SetGlyphMask(&bitmap);
  else b->SetGlyph(&bitmap);
}

}  // namespace

void RegisterGlyphClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterStandardClasses();
  Class<TGlyphButton>("TGlyphButton", "TGraphicControl");
  using B = TGlyphButton;
  using V = const FormValue&;
  using C = const LoadContext&;
  ButtonProp("Glyph", [](B* b, V v, C ctx) { SetGlyphFromResource(b, v, ctx, false); });
  ButtonProp("Glyph.Data", [](B* b, V v, C ctx) { SetGlyphFromResource(b, v, ctx, false); });
  ButtonProp("GlyphMask", [](B* b, V v, C ctx) { SetGlyphFromResource(b, v, ctx, true); });
  ButtonProp("GlyphMask.Data", [](B* b, V v, C ctx) { SetGlyphFromResource(b, v, ctx, true); });
  ButtonProp("NumGlyphs", [](B* b, V v, C) { b->SetNumGlyphs(v.AsInt()); });
  ButtonProp("Alignment", [](B* b, V v, C ctx) {
    b->SetAlignment(TAlignment(
        ParseEnum(v, {{"taLeftJustify", taLeftJustify}, {"taRightJustify", taRightJustify}, {"taCenter", taCenter}}, ctx)));
  });
  ButtonProp("AllowAllUp", [](B* b, V v, C) { b->SetAllowAllUp(v.AsBool()); });
  ButtonProp("Cancel", [](B* b, V v, C) { b->SetCancel(v.AsBool()); });
  ButtonProp("Default", [](B* b, V v, C) { b->SetDefault(v.AsBool()); });
  ButtonProp("GroupIndex", [](B* b, V v, C) { b->SetGroupIndex(v.AsInt()); });
  ButtonProp("DisplayMode", [](B* b, V v, C ctx) {
    b->SetDisplayMode(TButtonDisplayMode(
        ParseEnum(v, {{"dmBoth", dmBoth}, {"dmGlyphOnly", dmGlyphOnly}, {"dmTextOnly", dmTextOnly}}, ctx)));
  });
  ButtonProp("Down", [](B* b, V v, C) { b->SetDown(v.AsBool()); });
  ButtonProp("DropdownAlways", [](B* b, V v, C) { b->SetDropdownAlways(v.AsBool()); });
  ButtonProp("DropdownArrow", [](B* b, V v, C) { b->SetDropdownArrow(v.AsBool()); });
  ButtonProp("DropdownArrowWidth", [](B* b, V v, C) { b->SetDropdownArrowWidth(v.AsInt()); });
  ButtonProp("DropdownCombo", [](B* b, V v, C) { b->SetDropdownCombo(v.AsBool()); });
  ButtonProp("Flat", [](B* b, V v, C) { b->SetFlat(v.AsBool()); });
  ButtonProp("HelpContext", [](B* b, V v, C) { b->SetHelpContext(v.AsInt()); });
  ButtonProp("HighlightWhenDown", [](B* b, V v, C) { b->SetHighlightWhenDown(v.AsBool()); });
  ButtonProp("ImageIndex", [](B* b, V v, C) { b->SetImageIndex(v.AsInt()); });
  ButtonProp("Layout", [](B* b, V v, C ctx) {
    b->SetLayout(TButtonLayout(ParseEnum(v, {{"blGlyphLeft", blGlyphLeft}, {"blGlyphRight", blGlyphRight},
                                             {"blGlyphTop", blGlyphTop}, {"blGlyphBottom", blGlyphBottom}}, ctx)));
  });
  ButtonProp("Margin", [](B* b, V v, C) { b->SetMargin(v.AsInt()); });
  ButtonProp("ModalResult", [](B* b, V v, C) { b->SetModalResult(v.AsInt()); });
  ButtonProp("NoBorder", [](B* b, V v, C) { b->SetNoBorder(v.AsBool()); });
  ButtonProp("OldDisabledStyle", [](B* b, V v, C) { b->SetOldDisabledStyle(v.AsBool()); });
  ButtonProp("Opaque", [](B* b, V v, C) { b->SetOpaque(v.AsBool()); });
  ButtonProp("Repeating", [](B* b, V v, C) { b->SetRepeating(v.AsBool()); });
  ButtonProp("RepeatDelay", [](B* b, V v, C) { b->SetRepeatDelay(v.AsInt()); });
  ButtonProp("RepeatInterval", [](B* b, V v, C) { b->SetRepeatInterval(v.AsInt()); });
  ButtonProp("ShowBorderWhenInactive", [](B* b, V v, C) { b->SetShowBorderWhenInactive(v.AsBool()); });
  ButtonProp("Spacing", [](B* b, V v, C) { b->SetSpacing(v.AsInt()); });
  ButtonProp("WordWrap", [](B* b, V v, C) { b->SetWordWrap(v.AsBool()); });
  // Never stored; a value found in a description is ignored.
  ButtonProp("Version", [](B* b, V v, C) { b->SetVersion(v.AsString()); });
  EventProp<TGlyphButton>("TGlyphButton", "OnMouseEnter", &TGlyphButton::OnMouseEnter);
  EventProp<TGlyphButton>("TGlyphButton", "OnMouseExit", &TGlyphButton::OnMouseExit);
  EventProp<TGlyphButton>("TGlyphButton", "OnDropdown", &TGlyphButton::OnDropdown);
}

}  // namespace tq
