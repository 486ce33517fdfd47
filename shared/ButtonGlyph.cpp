// The state pictures of a button glyph: their cache in the shared glyph lists and
// their building from the glyph strip, the mask strip or an image list.
#include "shared/ButtonGlyph.h"

#include "platform/core/exceptions.h"
#include "platform/graphics/imagelist.h"
#include "platform/graphics/imagelist_wrapper.h"
#include "platform/graphics/raster.h"
#include "shared/GlyphLists.h"
#include "shared/GlyphWorkBitmaps.h"

namespace tq {

using namespace tlb;

TButtonGlyph::TButtonGlyph() {
  FGlyphBitmap = std::make_unique<TBitmap>();
  FGlyphBitmap->OnChange = [this] { GlyphChanged(FGlyphBitmap.get()); };
  FMaskBitmap = std::make_unique<TBitmap>();
  FMaskBitmap->OnChange = [this] { GlyphChanged(FMaskBitmap.get()); };
  for (auto& list : SlotIndex)
    for (int32_t& slot : list) slot = -1;
  if (!SharedGlyphCache) SharedGlyphCache = new TGlyphCache();
}

TButtonGlyph::~TButtonGlyph() {
  FMaskBitmap.reset();
  FGlyphBitmap.reset();
  ImageListLink.reset();
  DropStateImages();
  if (SharedGlyphCache && SharedGlyphCache->IsEmpty()) {
    delete SharedGlyphCache;
    SharedGlyphCache = nullptr;
  }
}

TCustomImageList* TButtonGlyph::LiveImages() {
  // A list that was freed has let go of its link: it is forgotten, never used.
  if (Images && (!ImageListLink || ImageListLink->Sender() != Images)) {
    Images = nullptr;
    ImageListLink.reset();
  }
  return Images;
}

Size TButtonGlyph::CellSize() {
  if (TCustomImageList* images = LiveImages()) return {images->Width(), images->Height()};
  return {FGlyphBitmap->Width() / (GlyphCount ? GlyphCount : 1), FGlyphBitmap->Height()};
}

void TButtonGlyph::AssignGlyph(const TBitmap* Value) {
  DropStateImages();
  if (Value) FGlyphBitmap->Assign(*Value);
  else FGlyphBitmap->Assign(TBitmap());
  RecountGlyphs();
}

void TButtonGlyph::AssignGlyphMask(const TBitmap* Value) {
  DropStateImages();
  // The cell count is not recounted from the mask.
  if (Value) FMaskBitmap->Assign(*Value);
  else FMaskBitmap->Assign(TBitmap());
}

void TButtonGlyph::SetGlyphCount(uint8_t Value) {
  DropStateImages();
  GlyphCount = (LiveImages() || Value == 0 || Value > 5) ? 1 : Value;
  GlyphChanged(nullptr);
}

void TButtonGlyph::RecountGlyphs() {
  int w = FGlyphBitmap->Width(), h = FGlyphBitmap->Height();
  int n = 1;
  if (w != 0 && h != 0 && w % h == 0) n = w / h;
  // Six or more square cells count as one picture.
  if (n > 5) n = 1;
  SetGlyphCount(uint8_t(n));
}

void TButtonGlyph::GlyphChanged(const void* Sender) {
  if (Sender == FGlyphBitmap.get() && FGlyphBitmap && !FGlyphBitmap->Empty()) {
    const Dib& pixels = FGlyphBitmap->Pixels();
    TransparentColor = TColor(pixels.pixel(0, pixels.height() - 1) | PaletteRelativeFlag);
  }
  DropStateImages();
  if (OnChange) OnChange(this);
}

void TButtonGlyph::DropStateImages() {
  for (int list = 0; list < 2; ++list) {
    for (int state = 0; state < 5; ++state) {
      if (SlotIndex[list][state] == -1) continue;
      if (StateLists[list]) StateLists[list]->FreeSlot(SlotIndex[list][state]);
      SlotIndex[list][state] = -1;
    }
    if (StateLists[list] && SharedGlyphCache) SharedGlyphCache->ReleaseList(StateLists[list]);
    StateLists[list] = nullptr;
  }
}

TStateImageRef TButtonGlyph::BuildStateImage(uint8_t State) {
  if (State > vsHot) State = vsUp;
  if (State != vsDisabled && State >= GlyphCount) State = vsUp;
  TStateImageRef ref{1, SlotIndex[1][State]};
  if (ref.Slot == -1) ref = {0, SlotIndex[0][State]};
  if (ref.Slot != -1) return ref;

  TCustomImageList* images = LiveImages();
  if (images) {
    if (ImageIndex < 0 || ImageIndex >= images->Count()) return ref;
  } else if (FGlyphBitmap->Width() == 0 || FGlyphBitmap->Height() == 0) {
    return ref;  // no glyph: nothing is built and nothing is drawn
  }
  BuildPicture(State, ref);
  if (ReleaseSources) FGlyphBitmap->Dormant();
  FMaskBitmap->Dormant();
  return ref;
}

namespace {

// A monochrome bitmap of that size, all white.
std::unique_ptr<TBitmap> NewMono(int w, int h) {
  auto b = std::make_unique<TBitmap>();
  MakeWhiteMono(*b, w, h);
  return b;
}

// Draws image `index` of `images` into `target` at (0, 0) in `style`.
void DrawListImage(TCustomImageList& images, int index, TBitmap& target, unsigned style) {
  ImageList_Draw(images.Handle(), index, target.Canvas().Handle(), 0, 0, style);
}

// Blits W x H of the monochrome copy of `mask` from `from` onto `dest` at (0, 0),
// first with DSna and then with SRCPAINT: the pixels set in the mask end up white.
void OrInMask(TBitmap& dest, const TBitmap& mask, Point from, int w, int h) {
  TBitmap mono(mask);
  mono.SetMonochrome(true);
  HDC dc = dest.Canvas().Handle();
  HDC src = mono.Canvas().Handle();
  BitBlt(dc, 0, 0, w, h, src, from.x, from.y, 0x00220326);
  BitBlt(dc, 0, 0, w, h, src, from.x, from.y, SRCPAINT);
}

// The emboss: `mask` blitted onto `picture` at `at` with the brush `color`.
void EmbossPass(TBitmap& picture, TBitmap& mask, Point at, int w, int h, TColor color, uint32_t rop) {
  HDC dc = picture.Canvas().Handle();
  HBRUSH brush = CreateSolidBrush(ColorToRGB(color));
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  COLORREF oldText = SetTextColor(dc, 0x000000);
  COLORREF oldBk = SetBkColor(dc, 0xFFFFFF);
  BitBlt(dc, at.x, at.y, w, h, mask.Canvas().Handle(), 0, 0, rop);
  SetTextColor(dc, oldText);
  SetBkColor(dc, oldBk);
  SelectObject(dc, oldBrush);
  DeleteObject(brush);
}

}  // namespace

// Builds the picture of `State` (already mapped to an existing cell) into its list.
// The working bitmaps are freed on every path; on failure the state's slot stays -1.
void TButtonGlyph::BuildPicture(uint8_t State, TStateImageRef& Ref) {
  TCustomImageList* images = Images;
  bool hasMask = !images && HasMaskStrip();
  uint8_t listIndex = State == vsDisabled ? 0 : 1;
  int d = State == vsDisabled ? 1 : 0;
  Size cell = CellSize();
  int W = cell.cx, H = cell.cy;
  Rect cellRect{0, 0, W, H};
  if (!StateLists[listIndex]) {
    if (!SharedGlyphCache) SharedGlyphCache = new TGlyphCache();
    StateLists[listIndex] = SharedGlyphCache->ListForSize(W + d, H + d);
  }
  TGlyphList& list = *StateLists[listIndex];
  // Strips of 8 bits and deeper are read once as device-independent bits.
  bool useDIBScan = !images && FGlyphBitmap->PixelFormat() > pf4bit;

  TBitmap glyphCopy(*FGlyphBitmap);
  TBitmap maskCopy(*FMaskBitmap);
  TBitmap picture;
  MakeWhiteBitmap(picture, W + d, H + d);
  picture.Canvas().Brush.Color = clBtnFace;
  // The picture is in the device's true-colour format, so the strip's palette needs no copy.

  int cellIndex = State >= GlyphCount ? 0 : State;
  Rect sourceRect = Rect::FromSize(cellIndex * W, 0, W, H);
  Point sourceAt{sourceRect.left, sourceRect.top};
  std::unique_ptr<TBitmap> imagesMask;
  if (images) {
    imagesMask = NewMono(W, H);
    DrawListImage(*images, ImageIndex, *imagesMask, ILD_MASK);
  }

  if (State != vsDisabled) {
    int slot;
    if (images) {
      DrawListImage(*images, ImageIndex, picture, ILD_NORMAL);
      slot = list.AddWithMask(&picture, imagesMask.get());
    } else {
      picture.Canvas().CopyRect(cellRect, glyphCopy.Canvas(), sourceRect);
      if (hasMask) {
        auto cellMask = NewMono(W, H);
        cellMask->Canvas().CopyRect(cellRect, maskCopy.Canvas(), sourceRect);
        slot = list.AddWithMask(&picture, cellMask.get());
      } else {
        // The cell's own bottom-left pixel is its transparent colour.
        slot = list.AddWithMaskColor(&picture, clDefault);
      }
    }
    SlotIndex[1][State] = slot;
    Ref = {listIndex, slot};
    return;
  }

  auto disabledMask = std::make_unique<TBitmap>();
  std::unique_ptr<TBitmap> source2;
  if (images) {
    source2 = std::make_unique<TBitmap>();
    MakeWhiteBitmap(*source2, W, H);
    DrawListImage(*images, ImageIndex, *source2, ILD_NORMAL);
  } else {
    source2 = CopyBitmapAsDIB(glyphCopy);
  }
  Point size{W, H};
  int slot;
  if (GlyphCount >= 2) {
    // The disabled cell of the strip, with white and grey in the current 3-D colours.
    picture.Canvas().CopyRect(cellRect, source2->Canvas(), sourceRect);
    struct Recolour {
      COLORREF from;
      TColor to;
    };
    for (Recolour r : {Recolour{0xFFFFFF, clBtnHighlight}, Recolour{0x808080, clBtnShadow}}) {
      if (useDIBScan) {
        MaskFromColorsDIB(*disabledMask, glyphCopy, sourceRect, {TColor(r.from)}, size);
      } else {
        TColor nearest = TColor(GetNearestColor(glyphCopy.Canvas().Handle(), r.from));
        MaskFromColorsBlt(*disabledMask, *source2, sourceRect, {nearest}, size);
      }
      PaintThroughMask(*disabledMask, picture, cellRect, r.to, size);
    }
    // Transparency: the mask strip, or the strip's own transparent colour.
    if (hasMask) disabledMask->Canvas().CopyRect(cellRect, maskCopy.Canvas(), sourceRect);
    else if (useDIBScan) MaskFromColorsDIB(*disabledMask, glyphCopy, sourceRect, {-1}, size);
    else MaskFromColorsBlt(*disabledMask, *source2, sourceRect, {TransparentColor}, size);
    // The added bottom row and right column are transparent.
    GrowMono(*disabledMask, W + 1, H + 1);
    TCanvas& mc = disabledMask->Canvas();
    mc.Pen.Style = psSolid;
    mc.Pen.Color = clWhite;
    mc.Polyline({{0, H}, {W, H}, {W, -1}});
    slot = list.AddWithMask(&picture, disabledMask.get());
  } else {
    // Generated: an emboss of the up cell. The mask marks what is drawn in the 3-D
    // colours (old style: the black pixels) or what stays plain (new style:
    // transparent, white and light grey pixels).
    if (OldDisabledStyle) {
      if (images) {
        MakeWhiteBitmap(*disabledMask, W, H);
        TCanvas& c = disabledMask->Canvas();
        c.Brush.Bitmap = nullptr;
        c.Brush.Style = bsSolid;
        c.Brush.Color = clWhite;
        c.FillRect({0, 0, W, H});
        DrawListImage(*images, ImageIndex, *disabledMask, ILD_TRANSPARENT);
        disabledMask->Canvas().Brush.Color = clBlack;
        disabledMask->SetMonochrome(true);
      } else if (hasMask) {
        disabledMask->Assign(*source2);
        OrInMask(*disabledMask, maskCopy, sourceAt, W, H);
        disabledMask->Canvas().Brush.Color = clBlack;
        disabledMask->SetMonochrome(true);
      } else if (useDIBScan) {
        MaskFromColorsDIB(*disabledMask, glyphCopy, sourceRect, {TColor(0x000000)}, size);
      } else {
        disabledMask->Assign(*source2);
        disabledMask->Canvas().Brush.Color = clBlack;
        disabledMask->SetMonochrome(true);
      }
    } else if (hasMask || images) {
      std::vector<TColor> plain{TColor(0xFFFFFF), TColor(0xC0C0C0)};
      if (useDIBScan) MaskFromColorsDIB(*disabledMask, glyphCopy, sourceRect, plain, size);
      else MaskFromColorsBlt(*disabledMask, *source2, sourceRect, plain, size);
      OrInMask(*disabledMask, images ? *imagesMask : maskCopy, sourceAt, W, H);
    } else if (useDIBScan) {
      MaskFromColorsDIB(*disabledMask, glyphCopy, sourceRect, {-1, TColor(0xFFFFFF), TColor(0xC0C0C0)}, size);
    } else {
      MaskFromColorsBlt(*disabledMask, *source2, sourceRect, {TransparentColor, TColor(0xFFFFFF), TColor(0xC0C0C0)},
                        size);
    }
    TCanvas& pc = picture.Canvas();
    pc.Brush.Bitmap = nullptr;
    pc.Brush.Style = bsSolid;
    pc.Brush.Color = clBtnFace;
    pc.FillRect({0, 0, W + 1, H + 1});
    uint32_t rop = OldDisabledStyle ? 0x00E20746 : 0x00B8074A;
    EmbossPass(picture, *disabledMask, {1, 1}, W, H, clBtnHighlight, rop);
    EmbossPass(picture, *disabledMask, {0, 0}, W, H, clBtnShadow, rop);
    // Every pixel of the current face colour is transparent.
    slot = list.AddWithMaskColor(&picture, clBtnFace);
  }
  SlotIndex[0][vsDisabled] = slot;
  Ref = {listIndex, slot};
}

}  // namespace tq
