// The glyph button's painting: the background (through an off-screen bitmap for an
// opaque or raised button, straight over the parent for a transparent one), the
// 3-D border chosen by Flat, NoBorder, hot and pressed, the dither fill of a
// held-down face, and the hand-over of the face to the button's glyph. Also the
// reaction to a change of the system colours.
#include <memory>

#include "platform/graphics/shapes.h"
#include "shared/GlyphButton.h"
#include "shared/GlyphLists.h"
#include "shared/GlyphWorkBitmaps.h"

namespace tq {

using namespace tlb;

namespace {

unsigned EdgeFor(bool flat, bool pressed) {
  if (flat) return pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER;
  return pressed ? EDGE_SUNKEN : EDGE_RAISED;
}

// A raised button's border also fills its inside with the system face colour.
unsigned BorderFlagsFor(bool flat) { return flat ? BF_RECT : (BF_RECT | BF_SOFT | BF_MIDDLE); }

}  // namespace

void TGlyphButton::Paint() {
  bool useBuffer = FOpaque || !FFlat;
  std::unique_ptr<TBitmap> buffer;
  TCanvas* drawCanvas = &Canvas();
  if (useBuffer) {
    buffer = std::make_unique<TBitmap>();
    MakeWhiteBitmap(*buffer, Width(), Height());
    drawCanvas = &buffer->Canvas();
    drawCanvas->Brush.Bitmap = nullptr;
    drawCanvas->Brush.Style = bsSolid;
    drawCanvas->Brush.Color = Color();
    drawCanvas->FillRect(ClientRect());
  }
  TCanvas& dc = *drawCanvas;
  dc.Font.Assign(Font());
  Rect r{0, 0, Width(), Height()};

  bool pressed = FVisualState == vsDown || FVisualState == vsExclusive;
  bool combo = FDropdownCombo && FHasDropdown;
  // While a combo button's menu is open its arrow part shows pressed and its main part does not.
  bool mainPressed = pressed && !(combo && FArrowDown);
  bool showBorder = Has(csDesigning) ||
                    (!FNoBorder && (!FFlat || pressed || (FMouseOver && FVisualState != vsDisabled)));

  if (combo) {
    if (showBorder) {
      Rect arrowR{Width() - FDropdownArrowWidth - 2, 0, Width() - 2, Height()};
      DrawEdge(dc.Handle(), arrowR, EdgeFor(FFlat, pressed && FArrowDown), BorderFlagsFor(FFlat));
    }
    r.right -= FDropdownArrowWidth + 2;
  }
  if (showBorder) {
    Rect edge = r;
    DrawEdge(dc.Handle(), edge, EdgeFor(FFlat, mainPressed), BorderFlagsFor(FFlat));
  }
  // The inset does not depend on whether the border is drawn this time, so a flat
  // button's glyph does not move when its border appears.
  if (!FNoBorder) {
    int inset = FFlat ? 1 : 2;
    r = {r.left + inset, r.top + inset, r.right - inset, r.bottom - inset};
  }

  Point offset{0, 0};
  if (mainPressed) {
    if (FVisualState == vsExclusive && FHighlightWhenDown && (!FFlat || !FMouseOver)) {
      if (!DitherPattern) BuildDitherPattern();
      dc.Brush.SetBitmap(DitherPattern);
      dc.FillRect(r);
      dc.Brush.Bitmap = nullptr;
    }
    offset = {1, 1};
  }

  Rect textBounds;
  bool drawArrow = FDropdownArrow && !FDropdownCombo && FHasDropdown;
  FButtonGlyph->DrawFace(dc, r, offset, FDisplayMode != dmTextOnly, FDisplayMode != dmGlyphOnly, Caption(), FWordWrap,
                         FAlignment, FLayout, FMargin, FSpacing, drawArrow, FDropdownArrowWidth, FVisualState,
                         textBounds);
  if (combo)
    FButtonGlyph->DrawDropArrow(dc, Width() - FDropdownArrowWidth - 2, Height() / 2 - 1, FDropdownArrowWidth,
                                FVisualState);
  // A plain copy with the canvas's default copy mode.
  if (useBuffer) Canvas().Draw(0, 0, buffer.get());
}

void TGlyphButton::CMSysColorChange(TMessage& Message) {
  TGraphicControl::WndProc(Message);
  if (DitherPattern && (GetSysColor(COLOR_BTNFACE) != COLORREF(DitherFaceColor) ||
                        GetSysColor(COLOR_BTNHIGHLIGHT) != COLORREF(DitherHighlightColor)))
    FreeDitherPattern();
  // The current state's picture is built again at once; the repaint comes from the system.
  FButtonGlyph->DropStateImages();
  FButtonGlyph->BuildStateImage(FVisualState);
}

}  // namespace tq
