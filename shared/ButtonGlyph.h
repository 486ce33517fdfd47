#pragma once
// What a glyph button shows as its glyph (a strip of up to five equal cells, an
// optional monochrome mask strip, or a picture of an image list) and the masked
// picture of each visual state made from it, kept in the shared glyph lists.
//
// Pictures are built on demand, once per state, and reused until a change of the
// source (glyph, mask, image list, cell count, disabled style, system colours)
// drops them all. The disabled picture is taken from its own cell, with white and
// grey recoloured to the current 3-D colours, or generated from the up cell as an
// embossed picture; it is one pixel wider and taller than the others.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/graphics/graphics.h"
#include "platform/ui/component.h"
#include "platform/ui/stdctrls.h"

namespace tlb {
class TCustomImageList;
class TChangeLink;
}  // namespace tlb

namespace tq {

class TGlyphList;

// The visual states of a button; the value is also the strip cell each one shows.
enum TButtonState : uint8_t { vsUp = 0, vsDisabled = 1, vsDown = 2, vsExclusive = 3, vsHot = 4 };
// Where the glyph stands relative to the caption.
enum TButtonLayout : uint8_t { blGlyphLeft = 0, blGlyphRight = 1, blGlyphTop = 2, blGlyphBottom = 3 };

// Which state list holds a picture, and its slot there (-1: no picture).
struct TStateImageRef {
  uint8_t ListIndex = 0;
  int32_t Slot = -1;
};

class TButtonGlyph : public tlb::TObject {
 public:
  TButtonGlyph();
  ~TButtonGlyph() override;
  TButtonGlyph(const TButtonGlyph&) = delete;
  TButtonGlyph& operator=(const TButtonGlyph&) = delete;

  tlb::TBitmap* GlyphBitmap() const { return FGlyphBitmap.get(); }
  tlb::TBitmap* MaskBitmap() const { return FMaskBitmap.get(); }
  // The mask strip counts when it has both a width and a height.
  bool HasMaskStrip() const { return FMaskBitmap->Width() != 0 && FMaskBitmap->Height() != 0; }

  // Set by the constructor and not changed: the glyph strip is made dormant after each build.
  bool ReleaseSources = true;
  // [0] holds the disabled picture, [1] the pictures of every other state.
  TGlyphList* StateLists[2] = {nullptr, nullptr};
  int32_t ImageIndex = -1;
  // When set, replaces the glyph strip and the mask strip. Not owned.
  tlb::TCustomImageList* Images = nullptr;
  // Registered with Images; made and freed by the button.
  std::unique_ptr<tlb::TChangeLink> ImageListLink;
  // [list][state]: the slot holding that state's picture, -1 when not built.
  int32_t SlotIndex[2][5];
  // The strip's bottom-left pixel with the palette-relative flag.
  tlb::TColor TransparentColor = 0;
  uint8_t GlyphCount = 1;
  tlb::TNotifyEvent OnChange;
  bool OldDisabledStyle = false;

  void AssignGlyph(const tlb::TBitmap* Value);
  void AssignGlyphMask(const tlb::TBitmap* Value);
  void SetGlyphCount(uint8_t Value);
  // Five square cells or fewer count themselves; anything else is one picture.
  void RecountGlyphs();
  // Sender is what changed: the glyph strip, the mask strip, the image list, or null.
  void GlyphChanged(const void* Sender);
  void DropStateImages();
  // The cached picture of `State`, built when missing; Slot -1 when there is nothing to show.
  TStateImageRef BuildStateImage(uint8_t State);

  // The cell size: the strip's width divided by the cell count and its height, or the
  // image list's picture size.
  tlb::Size CellSize();
  // Images, or null once that list has been freed: a freed list lets go of its link,
  // and the glyph then forgets it instead of using it.
  tlb::TCustomImageList* LiveImages();

  // ---- the face ----
  void DrawFace(tlb::TCanvas& Canvas, const tlb::Rect& Client, tlb::Point Offset, bool ShowGlyph, bool ShowCaption,
                const std::string& Caption, bool WordWrap, tlb::TAlignment Alignment, TButtonLayout Layout,
                int Margin, int Spacing, bool DrawArrow, int ArrowWidth, uint8_t State, tlb::Rect& TextBounds);
  void ComputeLayout(tlb::TCanvas& Canvas, const tlb::Rect& Client, tlb::Point Offset, bool ShowGlyph,
                     bool ShowCaption, const std::string& Caption, bool WordWrap, TButtonLayout Layout, int Margin,
                     int Spacing, bool DrawArrow, int ArrowWidth, tlb::Point& GlyphPos, tlb::Point& ArrowPos,
                     tlb::Rect& TextBounds);
  void DrawStateImage(tlb::TCanvas& Canvas, tlb::Point GlyphPos, uint8_t State);
  void DrawCaption(tlb::TCanvas& Canvas, const std::string& Caption, const tlb::Rect& TextBounds, bool WordWrap,
                   tlb::TAlignment Alignment, uint8_t State);
  void DrawDropArrow(tlb::TCanvas& Canvas, int X, int Y, int ArrowWidth, uint8_t State);

 private:
  void BuildPicture(uint8_t State, TStateImageRef& Ref);
  std::unique_ptr<tlb::TBitmap> FGlyphBitmap;
  std::unique_ptr<tlb::TBitmap> FMaskBitmap;
};

// ---- mask helpers ----
// In each: Rect's top-left corner is where the Size-sized area of Source starts.
//
// Makes Mask a monochrome bitmap of Size whose set (white) pixels are those of
// Source whose colour is in Colors; -1 stands for Source's bottom-left pixel. Reads
// Source once through 32-bit device-independent bits.
void MaskFromColorsDIB(tlb::TBitmap& Mask, tlb::TBitmap& Source, const tlb::Rect& Rect,
                       const std::vector<tlb::TColor>& Colors, tlb::Point Size);
// The same result through one colour-to-monochrome blit per colour (no -1 in Colors).
void MaskFromColorsBlt(tlb::TBitmap& Mask, tlb::TBitmap& Source, const tlb::Rect& Rect,
                       const std::vector<tlb::TColor>& Colors, tlb::Point Size);
// Paints Color into Dest at Rect's top-left corner wherever Mask is set.
void PaintThroughMask(tlb::TBitmap& Mask, tlb::TBitmap& Dest, const tlb::Rect& Rect, tlb::TColor Color,
                      tlb::Point Size);
// A new bitmap with Source's size, a copy of its palette and its pixels passed
// through device-independent bits.
std::unique_ptr<tlb::TBitmap> CopyBitmapAsDIB(tlb::TBitmap& Source);

}  // namespace tq
