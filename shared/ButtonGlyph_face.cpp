// The face of a glyph button: where the glyph picture, the caption and the small
// dropdown arrow go inside the face area, and their drawing.
//
// The arithmetic decides how a button looks at every size, so it follows the
// button's rules to the pixel: every division truncates toward zero, and centring
// puts an odd leftover pixel before the element (half-up: (x + 1) / 2).
#include "platform/graphics/imagelist.h"
#include "platform/graphics/text/draw_text.h"
#include "shared/ButtonGlyph.h"
#include "shared/GlyphLists.h"

namespace tq {

using namespace tlb;

namespace {
int HalfUp(int x) { return (x + 1) / 2; }
}  // namespace

void TButtonGlyph::ComputeLayout(TCanvas& Canvas, const Rect& Client, Point Offset, bool ShowGlyph, bool ShowCaption,
                                 const std::string& Caption, bool WordWrap, TButtonLayout Layout, int Margin,
                                 int Spacing, bool DrawArrow, int ArrowWidth, Point& GlyphPos, Point& ArrowPos,
                                 Rect& TextBounds) {
  Point clientSize{Client.right - Client.left, Client.bottom - Client.top};
  Point glyphSize{0, 0};
  if (ShowGlyph) {
    Size cell = CellSize();
    glyphSize = {cell.cx, cell.cy};
  }
  bool hasGlyph = glyphSize.x != 0 && glyphSize.y != 0;
  Point arrowSize = DrawArrow ? Point{ArrowWidth, 3} : Point{0, 0};
  bool horizontal = Layout == blGlyphLeft || Layout == blGlyphRight;
  // A vertical layout needs a glyph; without one the face is laid out as glyph-left.
  if (!horizontal && !hasGlyph) {
    horizontal = true;
    Layout = blGlyphLeft;
  }

  Point textSize{0, 0};
  if (ShowCaption && !Caption.empty()) {
    TextBounds = {0, 0, clientSize.x, 0};
    if (horizontal) TextBounds.right -= arrowSize.x;
    // No DT_SINGLELINE: line breaks in the caption count when it is measured.
    unsigned flags = DT_CALCRECT;
    if (WordWrap) {
      flags = DT_CALCRECT | DT_WORDBREAK;
      int m;
      if (horizontal && hasGlyph) {
        TextBounds.right -= glyphSize.x + (Spacing == -1 ? 4 : Spacing);
        m = Margin != -1 ? Margin : Spacing != -1 ? Spacing : 4;
      } else {
        m = 4;
      }
      TextBounds.right -= 2 * m;
    }
    Canvas.DrawText(Caption, TextBounds, flags);
    textSize = {TextBounds.right - TextBounds.left, TextBounds.bottom - TextBounds.top};
  } else {
    TextBounds = {0, 0, 0, 0};
  }

  Point textPos{0, 0};
  GlyphPos = {0, 0};
  ArrowPos = {0, 0};
  // Across the layout direction: centred.
  if (horizontal) {
    GlyphPos.y = HalfUp(clientSize.y - glyphSize.y);
    textPos.y = HalfUp(clientSize.y - textSize.y);
  } else {
    GlyphPos.x = HalfUp(clientSize.x - glyphSize.x - arrowSize.x);
    textPos.x = HalfUp(clientSize.x - textSize.x);
    ArrowPos.x = GlyphPos.x + glyphSize.x;
  }

  // Without a caption or without a glyph there is no gap between them.
  if (textSize.x == 0 || textSize.y == 0 || !hasGlyph) Spacing = 0;

  // The automatic margin and spacing, along the layout direction.
  int client = horizontal ? clientSize.x : clientSize.y;
  int glyph = horizontal ? glyphSize.x : glyphSize.y;
  int text = horizontal ? textSize.x : textSize.y;
  int arrow = horizontal ? arrowSize.x : 0;
  if (Margin == -1 && Spacing == -1) {
    int total = glyph + text + arrow;
    Margin = (client - total) / 3;  // equal thirds
    Spacing = Margin;
  } else if (Margin == -1) {
    int total = glyph + Spacing + text + arrow;
    Margin = HalfUp(client - total);  // the block is centred
  } else if (Spacing == -1) {
    int total = client - (Margin + glyph + arrow);
    Spacing = (total - text) / 2;  // the caption is centred in the room beside the glyph
  }

  switch (Layout) {
    case blGlyphLeft:
      GlyphPos.x = Margin;
      textPos.x = Margin + glyphSize.x + Spacing;
      ArrowPos.x = textPos.x + textSize.x;
      break;
    case blGlyphRight:
      ArrowPos.x = clientSize.x - Margin - arrowSize.x;
      GlyphPos.x = ArrowPos.x - glyphSize.x;
      textPos.x = GlyphPos.x - Spacing - textSize.x;
      break;
    case blGlyphTop:
      GlyphPos.y = Margin;
      textPos.y = Margin + glyphSize.y + Spacing;
      break;
    case blGlyphBottom:
      GlyphPos.y = clientSize.y - Margin - glyphSize.y;
      textPos.y = GlyphPos.y - Spacing - textSize.y;
      break;
  }
  ArrowPos.x += 1;
  ArrowPos.y = hasGlyph ? GlyphPos.y + (glyphSize.y - arrowSize.y) / 2 : textPos.y + (textSize.y - arrowSize.y) / 2;

  int dx = Client.left + Offset.x, dy = Client.top + Offset.y;
  GlyphPos = {GlyphPos.x + dx, GlyphPos.y + dy};
  ArrowPos = {ArrowPos.x + dx, ArrowPos.y + dy};
  TextBounds = TextBounds.Offset(dx + textPos.x, dy + textPos.y);
}

void TButtonGlyph::DrawFace(TCanvas& Canvas, const Rect& Client, Point Offset, bool ShowGlyph, bool ShowCaption,
                            const std::string& Caption, bool WordWrap, TAlignment Alignment, TButtonLayout Layout,
                            int Margin, int Spacing, bool DrawArrow, int ArrowWidth, uint8_t State, Rect& TextBounds) {
  Point glyphPos, arrowPos;
  ComputeLayout(Canvas, Client, Offset, ShowGlyph, ShowCaption, Caption, WordWrap, Layout, Margin, Spacing, DrawArrow,
                ArrowWidth, glyphPos, arrowPos, TextBounds);
  // The glyph first, then the caption, then the arrow.
  if (ShowGlyph) DrawStateImage(Canvas, glyphPos, State);
  if (ShowCaption) DrawCaption(Canvas, Caption, TextBounds, WordWrap, Alignment, State);
  if (DrawArrow) DrawDropArrow(Canvas, arrowPos.x, arrowPos.y, ArrowWidth, State);
}

void TButtonGlyph::DrawStateImage(TCanvas& Canvas, Point GlyphPos, uint8_t State) {
  TStateImageRef ref = BuildStateImage(State);
  if (ref.Slot == -1) return;
  TGlyphList* list = StateLists[ref.ListIndex];
  if (!list) return;
  // The disabled picture is one pixel larger than the others and drawn at the same place.
  ImageList_DrawEx(list->Handle(), ref.Slot, Canvas.Handle(), GlyphPos.x, GlyphPos.y, 0, 0, CLR_NONE, CLR_NONE,
                   ILD_TRANSPARENT);
}

void TButtonGlyph::DrawCaption(TCanvas& Canvas, const std::string& Caption, const Rect& TextBounds, bool WordWrap,
                               TAlignment Alignment, uint8_t State) {
  Rect r = TextBounds;
  Canvas.Brush.Style = bsClear;
  unsigned flags = Alignment == taLeftJustify ? DT_LEFT : Alignment == taRightJustify ? DT_RIGHT : DT_CENTER;
  // No DT_NOPREFIX: "&" underlines the accelerator.
  flags |= DT_VCENTER | (WordWrap ? DT_WORDBREAK : DT_SINGLELINE);
  if (State == vsDisabled) {
    r = r.Offset(1, 1);
    Canvas.Font.SetColor(clBtnHighlight);
    Canvas.DrawText(Caption, r, flags);
    r = r.Offset(-1, -1);
    Canvas.Font.SetColor(clBtnShadow);
  }
  Canvas.DrawText(Caption, r, flags);
}

void TButtonGlyph::DrawDropArrow(TCanvas& Canvas, int X, int Y, int ArrowWidth, uint8_t State) {
  int cx = X + ArrowWidth / 2;
  // A colour given to the brush makes it a solid brush again.
  Canvas.Brush.Bitmap = nullptr;
  Canvas.Brush.Style = bsSolid;
  Canvas.Pen.Style = psSolid;
  if (State == vsDisabled) {
    Canvas.Pen.Color = clBtnHighlight;
    Canvas.Brush.Color = clBtnHighlight;
    Canvas.Polygon({{cx - 1, Y + 1}, {cx + 3, Y + 1}, {cx + 1, Y + 3}});
    Canvas.Pen.Color = clBtnShadow;
    Canvas.Brush.Color = clBtnShadow;
  } else {
    Canvas.Pen.Color = Canvas.Font.Color();
    Canvas.Brush.Color = Canvas.Font.Color();
  }
  Canvas.Polygon({{cx - 2, Y}, {cx + 2, Y}, {cx, Y + 2}});
}

}  // namespace tq
