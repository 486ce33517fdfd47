#pragma once
// The image lists shared by every glyph button of the process: one list per
// picture size, whose slots are handed out to the buttons' state pictures and
// reused lowest first, and the collection of those lists by size. Also the shared
// 8 x 8 dither pattern of a held-down face.
#include <cstdint>
#include <vector>

#include "platform/graphics/graphics.h"
#include "platform/graphics/imagelist_wrapper.h"

namespace tq {

class TGlyphList : public tlb::TImageList {
 public:
  // A masked list of AWidth x AHeight images. EInvalidOperation "Invalid image size"
  // unless the height is 1..32768 and the width at least 1.
  TGlyphList(int AWidth, int AHeight);
  ~TGlyphList() override;

  // The lowest free slot, growing the list by one empty image when none is free.
  int TakeFreeSlot();
  // A free slot holding Image with the monochrome Mask (white mask pixels are transparent).
  int AddWithMask(tlb::TBitmap* Image, tlb::TBitmap* Mask);
  // A free slot holding Image, transparent where it has MaskColor (clDefault: its
  // bottom-left pixel; a system colour: its current value).
  int AddWithMaskColor(tlb::TBitmap* Image, tlb::TColor MaskColor);
  // Puts NewImage, transparent where it has MaskColor, into slot Index.
  void ReplaceMaskedSlot(int Index, tlb::TBitmap* NewImage, tlb::TColor MaskColor);
  // Gives a slot back; a slot that is already free changes nothing.
  void FreeSlot(int Index);

  int32_t LiveCount() const { return FLiveCount; }
  // Bit i is set while image i belongs to some button's state picture.
  const std::vector<bool>& SlotsInUse() const { return FSlotsInUse; }
  // How many buttons hold this list (see TGlyphCache).
  int Holders() const { return FHolders; }

 private:
  friend class TGlyphCache;
  std::vector<bool> FSlotsInUse;
  int32_t FLiveCount = 0;
  int FHolders = 0;
};

// Every list of the process, by picture size, in the order of creation.
//
// A list is freed when it holds no picture and no holder refers to it any more:
// ListForSize counts its caller as a holder and ReleaseList takes one holder back.
// So a button that asked for a list and has not (yet) put a picture into it never
// sees the list freed under it by another button giving back its last picture.
class TGlyphCache {
 public:
  TGlyphCache() = default;
  // Frees only the collection: the cache is freed when it is empty.
  ~TGlyphCache() = default;
  TGlyphCache(const TGlyphCache&) = delete;
  TGlyphCache& operator=(const TGlyphCache&) = delete;

  // The list of that size (the newest first), made and appended when there is none.
  TGlyphList* ListForSize(int AWidth, int AHeight);
  // Takes back one holder of List and frees it when it holds no picture and no holder.
  void ReleaseList(TGlyphList* List);
  bool IsEmpty() const { return GlyphLists.empty(); }
  int ListCount() const { return int(GlyphLists.size()); }

 private:
  std::vector<TGlyphList*> GlyphLists;
};

// The one cache of the process (nil until the first button glyph needs it).
extern TGlyphCache* SharedGlyphCache;

// 8 x 8: pixel (x, y) is clBtnHighlight where x + y is even and clBtnFace where it is odd.
extern tlb::TBitmap* DitherPattern;
// GetSysColor(COLOR_BTNFACE) and GetSysColor(COLOR_BTNHIGHLIGHT) when the pattern was built.
extern tlb::TColor DitherFaceColor;
extern tlb::TColor DitherHighlightColor;

void BuildDitherPattern();
void FreeDitherPattern();

}  // namespace tq
