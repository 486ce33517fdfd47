// The property tables of the class library's standard classes.
#include <map>

#include "platform/core/cp1250.h"
#include "platform/core/resources.h"
#include "platform/ui/forms.h"
#include "platform/ui/property_helpers.h"
#include "platform/ui/stdctrls.h"
#include "platform/ui/timer.h"

namespace tlb {

TColor ParseColor(const FormValue& v, const LoadContext& ctx) {
  if (v.kind == FormValue::Integer) return TColor(v.integer);
  static const std::map<std::string, TColor> names = {
      {"clBlack", clBlack}, {"clMaroon", clMaroon}, {"clGreen", clGreen}, {"clOlive", clOlive},
      {"clNavy", clNavy}, {"clPurple", clPurple}, {"clTeal", clTeal}, {"clGray", clGray},
      {"clSilver", clSilver}, {"clRed", clRed}, {"clLime", clLime}, {"clYellow", clYellow},
      {"clBlue", clBlue}, {"clFuchsia", clFuchsia}, {"clAqua", clAqua}, {"clWhite", clWhite},
      {"clWindowText", clWindowText}, {"clWindow", clWindow}, {"clBtnFace", clBtnFace},
      {"clBtnShadow", clBtnShadow}, {"clBtnHighlight", clBtnHighlight}, {"clBtnText", clBtnText},
      {"clHighlight", clHighlight}, {"clHighlightText", clHighlightText}, {"clGrayText", clGrayText},
      {"cl3DDkShadow", cl3DDkShadow}, {"cl3DLight", cl3DLight}, {"clNone", clNone}, {"clDefault", clDefault}};
  if (v.kind == FormValue::Identifier) {
    auto it = names.find(v.text);
    if (it != names.end()) return it->second;
  }
  ctx.Fail("unknown colour");
}

TCursor ParseCursor(const FormValue& v, const LoadContext& ctx) {
  if (v.kind == FormValue::Integer) return TCursor(v.integer);
  static const std::map<std::string, TCursor> names = {{"crDefault", crDefault}, {"crNone", crNone},
                                                       {"crArrow", crArrow}, {"crCross", crCross},
                                                       {"crIBeam", crIBeam}, {"crHourGlass", crHourGlass},
                                                       {"crHandPoint", crHandPoint}, {"crSizeAll", crSizeAll}};
  if (v.kind == FormValue::Identifier) {
    auto it = names.find(v.text);
    if (it != names.end()) return it->second;
  }
  ctx.Fail("unknown cursor");
}

int ParseEnum(const FormValue& v, const std::vector<std::pair<const char*, int>>& members, const LoadContext& ctx) {
  if (v.kind == FormValue::Identifier)
    for (const auto& [name, value] : members)
      if (v.text == name) return value;
  ctx.Fail("unknown value " + v.text);
}

void SetFontProperty(TFont& font, const std::string& sub, const FormValue& v, const LoadContext& ctx) {
  if (sub == "Name") font.SetName(Cp1250ToUtf8(v.AsString()));
  else if (sub == "Height") font.SetHeight(v.AsInt());
  else if (sub == "Size") font.SetSize(v.AsInt());
  else if (sub == "Color") font.SetColor(ParseColor(v, ctx));
  else if (sub == "Charset") {
    if (v.kind == FormValue::Integer) font.SetCharset(v.AsInt());
    else font.SetCharset(ParseEnum(v, {{"DEFAULT_CHARSET", DEFAULT_CHARSET}, {"EASTEUROPE_CHARSET", EASTEUROPE_CHARSET},
                                       {"ANSI_CHARSET", 0}}, ctx));
  } else if (sub == "Style") {
    if (v.kind != FormValue::Set) ctx.Fail("Font.Style needs a set");
    TFontStyles s;
    for (const auto& m : v.items) {
      if (m == "fsBold") s.insert(fsBold);
      else if (m == "fsItalic") s.insert(fsItalic);
      else if (m == "fsUnderline") s.insert(fsUnderline);
      else if (m == "fsStrikeOut") s.insert(fsStrikeOut);
      else ctx.Fail("unknown font style " + m);
    }
    font.SetStyle(s);
  } else {
    ctx.Fail("unknown property Font." + sub);
  }
}

void LoadPictureResource(TPicture& picture, const FormValue& v, const LoadContext& ctx) {
  const ResourceEntry* r = FindResource(v.AsString());
  if (!r) ctx.Fail("picture resource '" + v.text + "' is missing");
  try {
    picture.LoadFromBytes(ResourceBytes(*r));
  } catch (const Exception& e) {
    ctx.Fail("picture resource '" + v.text + "': " + e.Message);
  }
}

void LoadBitmapResource(TBitmap& bitmap, const FormValue& v, const LoadContext& ctx) {
  const ResourceEntry* r = FindResource(v.AsString());
  if (!r) ctx.Fail("picture resource '" + v.text + "' is missing");
  try {
    bitmap.LoadFromBytes(ResourceBytes(*r));
  } catch (const Exception& e) {
    ctx.Fail("picture resource '" + v.text + "': " + e.Message);
  }
}

namespace {

void RegisterControlProperties() {
  const std::string c = "TControl";
  Prop<TComponent>("TComponent", "Tag", [](TComponent* x, const FormValue& v, const LoadContext&) { x->Tag = v.AsInt(); });
  Prop<TControl>(c, "Left", [](TControl* x, const FormValue& v, const LoadContext&) { x->SetLeft(v.AsInt()); });
  Prop<TControl>(c, "Top", [](TControl* x, const FormValue& v, const LoadContext&) { x->SetTop(v.AsInt()); });
  Prop<TControl>(c, "Width", [](TControl* x, const FormValue& v, const LoadContext&) { x->SetWidth(v.AsInt()); });
  Prop<TControl>(c, "Height", [](TControl* x, const FormValue& v, const LoadContext&) { x->SetHeight(v.AsInt()); });
  Prop<TControl>(c, "ClientWidth", [](TControl* x, const FormValue& v, const LoadContext&) { x->SetClientSize(v.AsInt(), x->ClientHeight()); });
  Prop<TControl>(c, "ClientHeight", [](TControl* x, const FormValue& v, const LoadContext&) { x->SetClientSize(x->ClientWidth(), v.AsInt()); });
  Prop<TControl>(c, "Visible", [](TControl* x, const FormValue& v, const LoadContext&) {
    if (auto* f = dynamic_cast<TCustomForm*>(x)) { if (v.AsBool()) f->Show(); } else x->SetVisible(v.AsBool());
  });
  Prop<TControl>(c, "Enabled", [](TControl* x, const FormValue& v, const LoadContext&) { x->SetEnabled(v.AsBool()); });
  Prop<TControl>(c, "Cursor", [](TControl* x, const FormValue& v, const LoadContext& ctx) { x->SetCursor(ParseCursor(v, ctx)); });
  Prop<TControl>(c, "Color", [](TControl* x, const FormValue& v, const LoadContext& ctx) { x->SetColor(ParseColor(v, ctx)); });
  Prop<TControl>(c, "ParentColor", [](TControl* x, const FormValue& v, const LoadContext&) { x->SetParentColor(v.AsBool()); });
  Prop<TControl>(c, "ParentFont", [](TControl* x, const FormValue& v, const LoadContext&) { x->SetParentFont(v.AsBool()); });
  Prop<TControl>(c, "Caption", [](TControl* x, const FormValue& v, const LoadContext&) { x->SetCaption(v.AsString()); });
  Prop<TControl>(c, "Text", [](TControl* x, const FormValue& v, const LoadContext&) { x->SetCaption(v.AsString()); });
  Prop<TControl>(c, "Hint", [](TControl* x, const FormValue& v, const LoadContext&) { x->Hint = v.AsString(); });
  Prop<TControl>(c, "ShowHint", [](TControl* x, const FormValue& v, const LoadContext&) { x->ShowHint = v.AsBool(); });
  Prop<TControl>(c, "ParentShowHint", [](TControl*, const FormValue& v, const LoadContext&) { v.AsBool(); });
  Prop<TControl>(c, "Align", [](TControl* x, const FormValue& v, const LoadContext& ctx) {
    x->SetAlign(TAlign(ParseEnum(v, {{"alNone", alNone}, {"alTop", alTop}, {"alBottom", alBottom}, {"alLeft", alLeft},
                                     {"alRight", alRight}, {"alClient", alClient}}, ctx)));
  });
  for (const char* sub : {"Name", "Height", "Size", "Style", "Color", "Charset"})
    Prop<TControl>(c, std::string("Font.") + sub, [sub = std::string(sub)](TControl* x, const FormValue& v, const LoadContext& ctx) {
      SetFontProperty(x->Font(), sub, v, ctx);
    });
  EventProp<TControl>(c, "OnClick", &TControl::OnClick);
  EventProp<TControl>(c, "OnDblClick", &TControl::OnDblClick);
  EventProp<TControl>(c, "OnMouseDown", &TControl::OnMouseDown);
  EventProp<TControl>(c, "OnMouseMove", &TControl::OnMouseMove);
  EventProp<TControl>(c, "OnMouseUp", &TControl::OnMouseUp);
  Prop<TWinControl>("TWinControl", "Ctl3D", [](TWinControl* x, const FormValue& v, const LoadContext&) { x->Ctl3D = v.AsBool(); });
  Prop<TWinControl>("TWinControl", "TabOrder", [](TWinControl*, const FormValue& v, const LoadContext&) { v.AsInt(); });
  Prop<TWinControl>("TWinControl", "TabStop", [](TWinControl*, const FormValue& v, const LoadContext&) { v.AsBool(); });
}

void RegisterFormProperties() {
  const std::string f = "TForm";
  Prop<TCustomForm>(f, "BorderStyle", [](TCustomForm* x, const FormValue& v, const LoadContext& ctx) {
    x->BorderStyle = TBorderStyle(ParseEnum(v, {{"bsNone", bsNone}, {"bsSingle", bsSingle}, {"bsSizeable", bsSizeable},
                                                {"bsDialog", bsDialog}, {"bsToolWindow", bsToolWindow}}, ctx));
  });
  Prop<TCustomForm>(f, "BorderIcons", [](TCustomForm*, const FormValue& v, const LoadContext& ctx) {
    if (v.kind != FormValue::Set) ctx.Fail("BorderIcons needs a set");
  });
  Prop<TCustomForm>(f, "Position", [](TCustomForm* x, const FormValue& v, const LoadContext& ctx) {
    x->Position = TPosition(ParseEnum(v, {{"poDesigned", poDesigned}, {"poDefault", poDefault},
                                          {"poDefaultPosOnly", poDefaultPosOnly}, {"poScreenCenter", poScreenCenter},
                                          {"poDesktopCenter", poDesktopCenter}, {"poMainFormCenter", poMainFormCenter}}, ctx));
  });
  Prop<TCustomForm>(f, "KeyPreview", [](TCustomForm* x, const FormValue& v, const LoadContext&) { x->KeyPreview = v.AsBool(); });
  Prop<TCustomForm>(f, "Scaled", [](TCustomForm* x, const FormValue& v, const LoadContext&) { x->Scaled = v.AsBool(); });
  Prop<TCustomForm>(f, "OldCreateOrder", [](TCustomForm* x, const FormValue& v, const LoadContext&) { x->OldCreateOrder = v.AsBool(); });
  Prop<TCustomForm>(f, "Icon", [](TCustomForm* x, const FormValue& v, const LoadContext&) { x->IconResource = v.AsString(); });
  Prop<TCustomForm>(f, "PixelsPerInch", [](TCustomForm*, const FormValue& v, const LoadContext&) { v.AsInt(); });
  Prop<TCustomForm>(f, "TextHeight", [](TCustomForm*, const FormValue& v, const LoadContext&) { v.AsInt(); });
  EventProp<TCustomForm>(f, "OnCreate", &TCustomForm::OnCreate);
  EventProp<TCustomForm>(f, "OnShow", &TCustomForm::OnShow);
  EventProp<TCustomForm>(f, "OnHide", &TCustomForm::OnHide);
  EventProp<TCustomForm>(f, "OnDestroy", &TCustomForm::OnDestroy);
  EventProp<TCustomForm>(f, "OnPaint", &TCustomForm::OnPaint);
  EventProp<TCustomForm>(f, "OnClose", &TCustomForm::OnClose);
  EventProp<TCustomForm>(f, "OnCloseQuery", &TCustomForm::OnCloseQuery);
  EventProp<TCustomForm>(f, "OnKeyDown", &TCustomForm::OnKeyDown);
  EventProp<TCustomForm>(f, "OnKeyUp", &TCustomForm::OnKeyUp);
  EventProp<TCustomForm>(f, "OnKeyPress", &TCustomForm::OnKeyPress);
}

void RegisterStdControlProperties() {
  Prop<TTimer>("TTimer", "Interval", [](TTimer* x, const FormValue& v, const LoadContext&) { x->SetInterval(v.AsInt()); });
  Prop<TTimer>("TTimer", "Enabled", [](TTimer* x, const FormValue& v, const LoadContext&) { x->SetEnabled(v.AsBool()); });
  Prop<TTimer>("TTimer", "OnTimer", [](TTimer* x, const FormValue& v, const LoadContext& ctx) {
    x->SetOnTimer(ctx.Handler<TNotifyEvent>(v.text, "OnTimer"));
  });

  const std::string i = "TImage";
  Prop<TImage>(i, "Picture", [](TImage* x, const FormValue& v, const LoadContext& ctx) { LoadPictureResource(x->Picture(), v, ctx); });
  Prop<TImage>(i, "Picture.Data", [](TImage* x, const FormValue& v, const LoadContext& ctx) { LoadPictureResource(x->Picture(), v, ctx); });
  Prop<TImage>(i, "AutoSize", [](TImage* x, const FormValue& v, const LoadContext&) { x->SetAutoSize(v.AsBool()); });
  Prop<TImage>(i, "Stretch", [](TImage* x, const FormValue& v, const LoadContext&) { x->SetStretch(v.AsBool()); });
  Prop<TImage>(i, "Center", [](TImage* x, const FormValue& v, const LoadContext&) { x->SetCenter(v.AsBool()); });
  Prop<TImage>(i, "Transparent", [](TImage* x, const FormValue& v, const LoadContext&) { x->SetTransparent(v.AsBool()); });

  const std::string l = "TLabel";
  Prop<TCustomLabel>(l, "Alignment", [](TCustomLabel* x, const FormValue& v, const LoadContext& ctx) {
    x->SetAlignment(TAlignment(ParseEnum(v, {{"taLeftJustify", taLeftJustify}, {"taRightJustify", taRightJustify}, {"taCenter", taCenter}}, ctx)));
  });
  Prop<TCustomLabel>(l, "AutoSize", [](TCustomLabel* x, const FormValue& v, const LoadContext&) { x->SetAutoSize(v.AsBool()); });
  Prop<TCustomLabel>(l, "Layout", [](TCustomLabel* x, const FormValue& v, const LoadContext& ctx) {
    x->SetLayout(TTextLayout(ParseEnum(v, {{"tlTop", tlTop}, {"tlCenter", tlCenter}, {"tlBottom", tlBottom}}, ctx)));
  });
  Prop<TCustomLabel>(l, "WordWrap", [](TCustomLabel* x, const FormValue& v, const LoadContext&) { x->SetWordWrap(v.AsBool()); });
  Prop<TCustomLabel>(l, "Transparent", [](TCustomLabel* x, const FormValue& v, const LoadContext&) { x->SetTransparent(v.AsBool()); });
  Prop<TCustomLabel>(l, "ShowAccelChar", [](TCustomLabel* x, const FormValue& v, const LoadContext&) { x->SetShowAccelChar(v.AsBool()); });

  Prop<TPanel>("TPanel", "BevelOuter", [](TPanel* x, const FormValue& v, const LoadContext& ctx) {
    x->BevelOuter = TBevelCut(ParseEnum(v, {{"bvNone", bvNone}, {"bvLowered", bvLowered}, {"bvRaised", bvRaised}, {"bvSpace", bvSpace}}, ctx));
  });
  Prop<TPanel>("TPanel", "BevelInner", [](TPanel* x, const FormValue& v, const LoadContext& ctx) {
    x->BevelInner = TBevelCut(ParseEnum(v, {{"bvNone", bvNone}, {"bvLowered", bvLowered}, {"bvRaised", bvRaised}, {"bvSpace", bvSpace}}, ctx));
  });
  EventProp<TPaintBox>("TPaintBox", "OnPaint", &TPaintBox::OnPaint);
  Prop<TListBox>("TListBox", "Items.Strings", [](TListBox* x, const FormValue& v, const LoadContext& ctx) {
    if (v.kind != FormValue::List) ctx.Fail("Items.Strings needs a list");
    for (const auto& s : v.items) x->Items().Add(s);
  });
  Prop<TListBox>("TListBox", "ItemHeight", [](TListBox*, const FormValue& v, const LoadContext&) { v.AsInt(); });
  Prop<TMemo>("TMemo", "Lines.Strings", [](TMemo* x, const FormValue& v, const LoadContext& ctx) {
    if (v.kind != FormValue::List) ctx.Fail("Lines.Strings needs a list");
    for (const auto& s : v.items) x->Lines().Add(s);
  });
  Prop<TButton>("TButton", "ModalResult", [](TButton* x, const FormValue& v, const LoadContext&) { x->ModalResult = v.AsInt(); });
  Prop<TButton>("TButton", "Default", [](TButton* x, const FormValue& v, const LoadContext&) { x->Default = v.AsBool(); });
  Prop<TButton>("TButton", "Cancel", [](TButton* x, const FormValue& v, const LoadContext&) { x->Cancel = v.AsBool(); });
}

}  // namespace

void RegisterStandardClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  auto& r = ClassRegistry::Instance();
  r.RegisterClass("TComponent", "", nullptr);
  r.RegisterClass("TControl", "TComponent", nullptr);
  r.RegisterClass("TWinControl", "TControl", nullptr);
  r.RegisterClass("TGraphicControl", "TControl", nullptr);
  r.RegisterClass("TForm", "TWinControl", nullptr);
  Class<TTimer>("TTimer", "TComponent");
  Class<TImage>("TImage", "TGraphicControl");
  Class<TLabel>("TLabel", "TGraphicControl");
  Class<TPaintBox>("TPaintBox", "TGraphicControl");
  Class<TPanel>("TPanel", "TWinControl");
  Class<TListBox>("TListBox", "TWinControl");
  Class<TMemo>("TMemo", "TWinControl");
  Class<TButton>("TButton", "TWinControl");
  RegisterControlProperties();
  RegisterFormProperties();
  RegisterStdControlProperties();
  RegisterMediaClasses();
}

}  // namespace tlb
