#include "platform/ui/stdctrls.h"

#include "platform/graphics/text/draw_text.h"
#include "platform/ui/forms.h"

namespace tlb {

// ---- TImage ----

TImage::TImage(TComponent* AOwner) : TGraphicControl(AOwner) {
  width_ = 105;
  height_ = 105;
  picture_.OnChange = [this] { PictureChanged(); };
}

void TImage::PictureChanged() {
  if (TGraphic* g = picture_.Graphic()) {
    if (transparent_ && !g->Transparent()) {
      auto handler = std::move(g->OnChange);
      g->SetTransparent(true);
      g->OnChange = std::move(handler);
    }
    if (autoSize_ && g->Width() > 0 && g->Height() > 0) SetBounds(left_, top_, g->Width(), g->Height());
  }
  // Opaque when the picture covers the whole control without holes.
  TGraphic* g = picture_.Graphic();
  bool opaque = g && !g->Transparent() && (stretch_ || (g->Width() >= width_ && g->Height() >= height_));
  ControlStyle = opaque ? (ControlStyle | csOpaque) : (ControlStyle & ~unsigned(csOpaque));
  Invalidate();
}

void TImage::SetAutoSize(bool v) {
  autoSize_ = v;
  if (v) PictureChanged();
}
void TImage::SetStretch(bool v) {
  if (v != stretch_) { stretch_ = v; PictureChanged(); }
}
void TImage::SetCenter(bool v) {
  if (v != center_) { center_ = v; Invalidate(); }
}
void TImage::SetTransparent(bool v) {
  if (v == transparent_) return;
  transparent_ = v;
  if (TGraphic* g = picture_.Graphic()) g->SetTransparent(v);
  PictureChanged();
}

void TImage::Paint() {
  TGraphic* g = picture_.Graphic();
  if (Has(csDesigning)) {
    Canvas().Pen.Style = psDash;
    Canvas().Brush.Style = bsClear;
    Canvas().Rectangle(0, 0, width_, height_);
  }
  if (!g || g->Empty()) return;
  Rect r;
  if (stretch_) r = ClientRect();
  else if (center_) r = Rect::FromSize((width_ - g->Width()) / 2, (height_ - g->Height()) / 2, g->Width(), g->Height());
  else r = Rect::FromSize(0, 0, g->Width(), g->Height());
  Canvas().StretchDraw(r, g);
}

// ---- TCustomLabel ----

TCustomLabel::TCustomLabel(TComponent* AOwner) : TGraphicControl(AOwner) {
  ControlStyle |= csOpaque | csReplicatable;
  width_ = 65;
  height_ = 17;
  parentColor_ = true;
}

void TCustomLabel::SetAlignment(TAlignment a) { if (a != alignment_) { alignment_ = a; Invalidate(); } }
void TCustomLabel::SetAutoSize(bool v) { if (v != autoSize_) { autoSize_ = v; AdjustBounds(); } }
void TCustomLabel::SetLayout(TTextLayout l) { if (l != layout_) { layout_ = l; Invalidate(); } }
void TCustomLabel::SetWordWrap(bool v) { if (v != wordWrap_) { wordWrap_ = v; AdjustBounds(); Invalidate(); } }
void TCustomLabel::SetShowAccelChar(bool v) { if (v != showAccelChar_) { showAccelChar_ = v; Invalidate(); } }
void TCustomLabel::SetTransparent(bool v) {
  if (v == transparent_) return;
  transparent_ = v;
  ControlStyle = v ? (ControlStyle & ~unsigned(csOpaque)) : (ControlStyle | csOpaque);
  Invalidate();
}

void TCustomLabel::WndProc(TMessage& m) {
  TGraphicControl::WndProc(m);
  if (m.Msg == CM_TEXTCHANGED || m.Msg == CM_FONTCHANGED) AdjustBounds();
}

void TCustomLabel::AdjustBounds() {
  if (!autoSize_ || Has(csLoading)) return;
  Rect r{0, 0, wordWrap_ ? width_ : 0, 0};
  Canvas().Font.Assign(font_);
  DoDrawText(r, DT_EXPANDTABS | DT_CALCRECT | (wordWrap_ ? DT_WORDBREAK : 0));
  int x = left_;
  if (alignment_ == taRightJustify) x = left_ + width_ - r.right;
  else if (alignment_ == taCenter) x = left_ + (width_ - r.right) / 2;
  SetBounds(x, top_, r.right, r.bottom);
}

void TCustomLabel::DoDrawText(Rect& rect, unsigned flags) {
  std::string text = caption_;
  if ((flags & DT_CALCRECT) && (text.empty() || (showAccelChar_ && text == "&"))) text += ' ';
  if (!showAccelChar_) flags |= DT_NOPREFIX;
  TCanvas& c = Canvas();
  c.Font.Assign(font_);
  if (!enabled_) {
    Rect shifted = rect.Offset(1, 1);
    c.Font.SetColor(clBtnHighlight);
    c.DrawText(text, shifted, flags);
    c.Font.SetColor(clBtnShadow);
    c.DrawText(text, rect, flags);
  } else {
    c.DrawText(text, rect, flags);
  }
}

void TCustomLabel::Paint() {
  TCanvas& c = Canvas();
  if (!transparent_) {
    c.Brush.Color = color_;
    c.Brush.Style = bsSolid;
    c.FillRect(ClientRect());
  }
  c.Brush.Style = bsClear;
  Rect r = ClientRect();
  unsigned align = alignment_ == taCenter ? DT_CENTER : alignment_ == taRightJustify ? DT_RIGHT : DT_LEFT;
  unsigned style = DT_EXPANDTABS | (wordWrap_ ? DT_WORDBREAK : 0) | align;
  if (layout_ != tlTop) {
    Rect calc = r;
    DoDrawText(calc, style | DT_CALCRECT);
    int dy = layout_ == tlBottom ? height_ - calc.bottom : (height_ - calc.bottom) / 2;
    r = r.Offset(0, dy);
  }
  DoDrawText(r, style);
}

// ---- TPaintBox ----

TPaintBox::TPaintBox(TComponent* AOwner) : TGraphicControl(AOwner) {
  ControlStyle |= csReplicatable;
  width_ = 105;
  height_ = 105;
}

void TPaintBox::Paint() {
  if (Has(csDesigning)) {
    Canvas().Pen.Style = psDash;
    Canvas().Brush.Style = bsClear;
    Canvas().Rectangle(0, 0, width_, height_);
  }
  if (OnPaint) OnPaint(this);
}

// ---- frames ----

void DrawClassicFrame(TCanvas& canvas, const Rect& r, bool sunken) {
  TColor light = sunken ? clBtnShadow : clBtnHighlight;
  TColor dark = sunken ? clBtnHighlight : clBtnShadow;
  canvas.Brush.Style = bsSolid;
  canvas.Brush.Bitmap = nullptr;
  canvas.Brush.Color = light;
  canvas.FillRect({r.left, r.top, r.right, r.top + 1});
  canvas.FillRect({r.left, r.top, r.left + 1, r.bottom});
  canvas.Brush.Color = dark;
  canvas.FillRect({r.left, r.bottom - 1, r.right, r.bottom});
  canvas.FillRect({r.right - 1, r.top, r.right, r.bottom});
}

// ---- TPanel ----

TPanel::TPanel(TComponent* AOwner) : TWinControl(AOwner) {
  width_ = 185;
  height_ = 41;
  ControlStyle |= csOpaque | csSetCaption;
}

void TPanel::PaintBackground(TCanvas& canvas) {
  canvas.Brush.Color = color_;
  canvas.Brush.Style = bsSolid;
  canvas.Brush.Bitmap = nullptr;
  canvas.FillRect(ClientRect());
  Rect r = ClientRect();
  if (BevelOuter != bvNone) {
    DrawClassicFrame(canvas, r, BevelOuter == bvLowered);
    r = {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
  }
  if (BevelInner != bvNone) DrawClassicFrame(canvas, r, BevelInner == bvLowered);
  if (!caption_.empty()) {
    canvas.Font.Assign(font_);
    canvas.Brush.Style = bsClear;
    Rect t = ClientRect();
    canvas.DrawText(caption_, t, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
}

// ---- TListBox, TMemo ----

namespace {

// A sunken white box with one line of text per string, as the list box and the memo show them.
void PaintLines(TCanvas& canvas, const TWinControl& control, TColor color, const TFont& font, const TStrings& lines) {
  canvas.Brush.Color = color;
  canvas.Brush.Style = bsSolid;
  canvas.FillRect(control.ClientRect());
  canvas.Font.Assign(font);
  canvas.Brush.Style = bsClear;
  int line = canvas.TextHeight("Ag");
  for (int i = 0; i < lines.Count() && i * line < control.Height(); ++i) canvas.TextOut(2, 2 + i * line, lines[i]);
  DrawClassicFrame(canvas, control.ClientRect(), true);
}

}  // namespace


TListBox::TListBox(TComponent* AOwner) : TWinControl(AOwner) {
  width_ = 121;
  height_ = 97;
  color_ = clWindow;
  items_.OnChange = [this] { Invalidate(); };
}

void TListBox::PaintBackground(TCanvas& canvas) { PaintLines(canvas, *this, color_, font_, items_); }

TMemo::TMemo(TComponent* AOwner) : TWinControl(AOwner) {
  width_ = 185;
  height_ = 89;
  color_ = clWindow;
  lines_.OnChange = [this] { Invalidate(); };
}

void TMemo::PaintBackground(TCanvas& canvas) { PaintLines(canvas, *this, color_, font_, lines_); }

// ---- TButton ----

TButton::TButton(TComponent* AOwner) : TWinControl(AOwner) {
  width_ = 75;
  height_ = 25;
  ControlStyle = csSetCaption | csDoubleClicks | csCaptureMouse | csClickEvents;
}

void TButton::Click() {
  if (ModalResult != 0)
    if (TCustomForm* f = GetParentForm(this)) f->ModalResult = ModalResult;
  TWinControl::Click();
}

void TButton::MouseDown(TMouseButton b, TShiftState s, int x, int y) {
  if (b == mbLeft) { pressed_ = true; Invalidate(); }
  TWinControl::MouseDown(b, s, x, y);
}

void TButton::MouseUp(TMouseButton b, TShiftState s, int x, int y) {
  if (b == mbLeft) { pressed_ = false; Invalidate(); }
  TWinControl::MouseUp(b, s, x, y);
}

void TButton::WndProc(TMessage& m) {
  // Space pushes the focused button in and clicks it when let go, so a held
  // key clicks once.
  if ((m.Msg == WM_KEYDOWN || m.Msg == WM_KEYUP) && m.WParam == WPARAM(VK_SPACE) && Showing() && Enabled()) {
    const bool click = m.Msg == WM_KEYUP && spaceDown_;
    spaceDown_ = m.Msg == WM_KEYDOWN;
    pressed_ = spaceDown_;
    Invalidate();
    m.Result = 1;
    if (click) Click();
    return;
  }
  if (m.Msg == CM_DIALOGKEY && Showing() && Enabled() &&
      ((m.WParam == WPARAM(VK_RETURN) && Default) || (m.WParam == WPARAM(VK_ESCAPE) && Cancel))) {
    Click();
    m.Result = 1;
    return;
  }
  TWinControl::WndProc(m);
}

void TButton::PaintBackground(TCanvas& canvas) {
  canvas.Brush.Color = clBtnFace;
  canvas.Brush.Style = bsSolid;
  canvas.FillRect(ClientRect());
  Rect r = ClientRect();
  if (Default) {
    canvas.Brush.Color = clBlack;
    canvas.FrameRect(r);
    r = {r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
  }
  DrawClassicFrame(canvas, r, pressed_);
  canvas.Font.Assign(font_);
  canvas.Brush.Style = bsClear;
  Rect t = pressed_ ? ClientRect().Offset(1, 1) : ClientRect();
  canvas.DrawText(caption_, t, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

}  // namespace tlb
