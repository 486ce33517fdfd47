#include "platform/graphics/graphics.h"
#include "platform/graphics/dib_blit.h"
#include "platform/graphics/raster.h"
#include "platform/graphics/shapes.h"
#include "platform/graphics/text/draw_text.h"
#include "platform/graphics/text/font_engine.h"

namespace tlb {

void TFont::Assign(const TFont& o) {
  if (*this == o) return;
  name_ = o.name_;
  height_ = o.height_;
  color_ = o.color_;
  style_ = o.style_;
  charset_ = o.charset_;
  Changed();
}

FontSpec TFont::Spec() const {
  FontSpec s;
  s.name = name_;
  s.height = height_;
  s.bold = style_.count(fsBold) > 0;
  s.italic = style_.count(fsItalic) > 0;
  s.underline = style_.count(fsUnderline) > 0;
  s.strikeOut = style_.count(fsStrikeOut) > 0;
  return s;
}

void TBrush::SetBitmap(const TBitmap* bitmap) {
  Bitmap = bitmap ? std::make_shared<const Dib>(bitmap->Pixels()) : nullptr;
}

TCanvas::~TCanvas() { Detach(); }

void TCanvas::Attach(Dib* surface, Point origin, Rect clip) {
  surface_ = surface;
  origin_ = origin;
  clip_ = clip;
  if (dc_) {
    dc_->surface = surface;
    dc_->origin = origin;
    dc_->clip = clip;
    dc_->hasClip = true;
  }
}

void TCanvas::Detach() {
  if (dc_) DeleteDC(dc_);
  dc_ = nullptr;
  surface_ = nullptr;
}

HDC TCanvas::Handle() {
  if (!dc_ && surface_) dc_ = CreateSurfaceDC(surface_, origin_, clip_);
  SyncHandle();
  return dc_;
}

// Brings the context's text colour and font in line with the canvas; brushes and
// pens are made per call because they are cheap.
void TCanvas::SyncHandle() {
  if (!dc_) return;
  dc_->textColor = ColorToRGB(Font.Color());
}

namespace {

// Selects the canvas brush and pen into the context for one call, and puts the old ones back.
class ScopedTools {
 public:
  ScopedTools(HDC dc, const TBrush& brush, const TPen& pen) : dc_(dc) {
    if (brush.Bitmap) {
      pattern_ = CreateDIBitmap(*brush.Bitmap);
      brush_ = CreatePatternBrush(pattern_);
    } else if (brush.Style == bsClear) {
      brush_ = nullptr;
    } else {
      brush_ = CreateSolidBrush(ColorToRGB(brush.Color));
    }
    oldBrush_ = SelectObject(dc, brush_ ? static_cast<HGDIOBJ>(brush_) : GetStockBrush(BS_NULL));
    int style = pen.Style == psClear ? PS_NULL : pen.Style == psDash ? PS_DASH : pen.Style == psDot ? PS_DOT
                : pen.Style == psDashDot ? PS_DASHDOT : pen.Style == psDashDotDot ? PS_DASHDOTDOT : PS_SOLID;
    pen_ = CreatePen(style, pen.Width, ColorToRGB(pen.Color));
    oldPen_ = SelectObject(dc, pen_);
    oldBkMode_ = SetBkMode(dc, brush.Style == bsClear ? TRANSPARENT : OPAQUE);
  }
  ~ScopedTools() {
    SetBkMode(dc_, oldBkMode_);
    SelectObject(dc_, oldPen_);
    SelectObject(dc_, oldBrush_);
    DeleteObject(pen_);
    if (brush_) DeleteObject(brush_);
    if (pattern_) DeleteObject(pattern_);
  }
  HBRUSH brush() const { return brush_; }

 private:
  HDC dc_;
  HBRUSH brush_ = nullptr;
  HBITMAP pattern_ = nullptr;
  HPEN pen_ = nullptr;
  HGDIOBJ oldBrush_ = nullptr, oldPen_ = nullptr;
  int oldBkMode_ = OPAQUE;
};

}  // namespace

void TCanvas::FillRect(const Rect& r) {
  HDC dc = Handle();
  if (!dc || (Brush.Style == bsClear && !Brush.Bitmap)) return;
  ScopedTools tools(dc, Brush, Pen);
  ::tlb::FillRect(dc, r, tools.brush());
  Changed();
}

void TCanvas::FrameRect(const Rect& r) {
  HDC dc = Handle();
  if (!dc) return;
  COLORREF c = ColorToRGB(Brush.Color);
  Rect clip = dc->EffectiveClip();
  Rect s = r.Offset(origin_.x, origin_.y);
  FillDib(*surface_, {s.left, s.top, s.right, s.top + 1}, clip, c);
  FillDib(*surface_, {s.left, s.bottom - 1, s.right, s.bottom}, clip, c);
  FillDib(*surface_, {s.left, s.top, s.left + 1, s.bottom}, clip, c);
  FillDib(*surface_, {s.right - 1, s.top, s.right, s.bottom}, clip, c);
  Changed();
}

void TCanvas::Rectangle(int l, int t, int r, int b) {
  HDC dc = Handle();
  if (!dc) return;
  ScopedTools tools(dc, Brush, Pen);
  ::tlb::Rectangle(dc, l, t, r, b);
  Changed();
}

void TCanvas::MoveTo(int x, int y) {
  HDC dc = Handle();
  if (dc) MoveToEx(dc, x, y, nullptr);
}

void TCanvas::LineTo(int x, int y) {
  HDC dc = Handle();
  if (!dc) return;
  ScopedTools tools(dc, Brush, Pen);
  ::tlb::LineTo(dc, x, y);
  Changed();
}

void TCanvas::Polygon(const std::vector<Point>& points) {
  HDC dc = Handle();
  if (!dc || points.empty()) return;
  ScopedTools tools(dc, Brush, Pen);
  ::tlb::Polygon(dc, points.data(), int(points.size()));
  Changed();
}

void TCanvas::Polyline(const std::vector<Point>& points) {
  HDC dc = Handle();
  if (!dc || points.empty()) return;
  ScopedTools tools(dc, Brush, Pen);
  ::tlb::Polyline(dc, points.data(), int(points.size()));
  Changed();
}

void TCanvas::Draw(int x, int y, const TGraphic* graphic) {
  if (!graphic || graphic->Empty() || !surface_) return;
  graphic->Draw(*this, Rect::FromSize(x, y, graphic->Width(), graphic->Height()));
  Changed();
}

void TCanvas::StretchDraw(const Rect& r, const TGraphic* graphic) {
  if (!graphic || graphic->Empty() || !surface_) return;
  graphic->Draw(*this, r);
  Changed();
}

void TCanvas::CopyRect(const Rect& dest, TCanvas& source, const Rect& src) {
  HDC dc = Handle();
  HDC sdc = source.Handle();
  if (!dc || !sdc) return;
  StretchBlt(dc, dest.left, dest.top, dest.width(), dest.height(), sdc, src.left, src.top, src.width(), src.height(),
             uint32_t(CopyMode));
  Changed();
}

COLORREF TCanvas::Pixel(int x, int y) {
  HDC dc = Handle();
  return dc ? GetPixel(dc, x, y) : CLR_NONE;
}

void TCanvas::SetPixel(int x, int y, TColor color) {
  HDC dc = Handle();
  if (!dc) return;
  ::tlb::SetPixel(dc, x, y, ColorToRGB(color));
  Changed();
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
  if (!surface_) return;
  FontSpec spec = Font.Spec();
  Rect clip = Handle()->EffectiveClip();
  if (Brush.Style != bsClear) {
    int w = FontEngine::Instance().TextWidth(spec, text);
    int h = FontEngine::Instance().Metrics(spec).height;
    FillDib(*surface_, Rect::FromSize(origin_.x + x, origin_.y + y, w, h), clip, ColorToRGB(Brush.Color));
  }
  FontEngine::Instance().DrawTextRun(*surface_, origin_.x + x, origin_.y + y, spec, text, ColorToRGB(Font.Color()), clip);
  Changed();
}

void TCanvas::TextRect(const Rect& r, int x, int y, const std::string& text) {
  if (!surface_) return;
  Rect clip = Handle()->EffectiveClip().Intersect(r.Offset(origin_.x, origin_.y));
  if (Brush.Style != bsClear) FillDib(*surface_, r.Offset(origin_.x, origin_.y), clip, ColorToRGB(Brush.Color));
  FontEngine::Instance().DrawTextRun(*surface_, origin_.x + x, origin_.y + y, Font.Spec(), text,
                                     ColorToRGB(Font.Color()), clip);
  Changed();
}

int TCanvas::TextWidth(const std::string& text) { return FontEngine::Instance().TextWidth(Font.Spec(), text); }

int TCanvas::TextHeight(const std::string& text) { return FontEngine::Instance().Metrics(Font.Spec()).height; }

int TCanvas::DrawText(const std::string& text, Rect& r, unsigned format) {
  if (format & DT_CALCRECT) return MeasureTextCp(text, r, format, Font.Spec());
  if (!surface_) return 0;
  Rect local = r.Offset(origin_.x, origin_.y);
  int h = DrawTextCp(*surface_, text, local, format, Font.Spec(), ColorToRGB(Font.Color()), Handle()->EffectiveClip());
  Changed();
  return h;
}

}  // namespace tlb
