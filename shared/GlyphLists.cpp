#include "shared/GlyphLists.h"

#include <algorithm>
#include <memory>

#include "platform/core/exceptions.h"
#include "platform/graphics/imagelist.h"
#include "shared/GlyphWorkBitmaps.h"

namespace tq {

using namespace tlb;

TGlyphCache* SharedGlyphCache = nullptr;
TBitmap* DitherPattern = nullptr;
TColor DitherFaceColor = 0;
TColor DitherHighlightColor = 0;

// ---- TGlyphList ----

TGlyphList::TGlyphList(int AWidth, int AHeight) : TImageList(AWidth, AHeight) {}

TGlyphList::~TGlyphList() = default;

int TGlyphList::TakeFreeSlot() {
  auto open = std::find(FSlotsInUse.begin(), FSlotsInUse.end(), false);
  int i = int(open - FSlotsInUse.begin());
  if (i >= int(FSlotsInUse.size())) {
    // Every slot is taken: the list grows by one empty image.
    i = Add(nullptr, nullptr);
    if (i < 0) throw EInvalidOperation("Unable to Replace Image");
    FSlotsInUse.resize(size_t(i) + 1, false);
  }
  FSlotsInUse[size_t(i)] = true;
  return i;
}

namespace {
// Gives a slot that was taken for an add that failed back to the free slots, so
// that a failure never keeps a slot from being used again.
struct SlotClaim {
  std::vector<bool>& bits;
  int slot;
  bool done = false;
  ~SlotClaim() {
    if (!done && slot >= 0 && slot < int(bits.size())) bits[size_t(slot)] = false;
  }
};
}  // namespace

int TGlyphList::AddWithMask(TBitmap* Image, TBitmap* Mask) {
  int slot = TakeFreeSlot();
  SlotClaim claim{FSlotsInUse, slot};
  Replace(slot, Image ? Image->Handle() : nullptr, Mask ? Mask->Handle() : nullptr);
  claim.done = true;
  ++FLiveCount;
  return slot;
}

int TGlyphList::AddWithMaskColor(TBitmap* Image, TColor MaskColor) {
  int slot = TakeFreeSlot();
  SlotClaim claim{FSlotsInUse, slot};
  ReplaceMaskedSlot(slot, Image, MaskColor);
  claim.done = true;
  ++FLiveCount;
  return slot;
}

namespace {

// The colour a mask colour stands for in `image`: clDefault is its bottom-left
// pixel, a system colour its current value; as the image can hold it.
COLORREF MaskKey(const Dib& image, TColor maskColor) {
  if (maskColor == clDefault) return image.empty() ? CLR_NONE : image.pixel(0, image.height() - 1);
  if (maskColor == clNone) return CLR_NONE;
  return image.nearestColor(ColorToRGB(maskColor));
}

}  // namespace

// The picture goes into the slot with a mask made from the colour: the pixels of
// the key colour are transparent. (The list could make that mask itself, through a
// temporary image added with the colour and drawn out again; making it here gives
// the same picture and mask in a fraction of the time.)
void TGlyphList::ReplaceMaskedSlot(int Index, TBitmap* NewImage, TColor MaskColor) {
  if (HandleAllocated()) {
    if (NewImage && (NewImage->Height() < Height() || NewImage->Width() < Width()))
      throw EInvalidOperation("Invalid image size");
    if (!NewImage) throw EInvalidOperation("Unable to Replace Image");
    const Dib& image = NewImage->Pixels();
    COLORREF key = MaskKey(image, MaskColor);
    TBitmap mask;
    MakeWhiteMono(mask, Width(), Height());
    Dib& bits = mask.Pixels();
    std::fill(bits.bits().begin(), bits.bits().end(), uint8_t(0));
    if (key != CLR_NONE) {
      for (int y = 0; y < Height(); ++y) {
        uint8_t* row = bits.row(y);
        for (int x = 0; x < Width(); ++x)
          if (image.pixel(x, y) == key) row[x / 8] |= uint8_t(0x80 >> (x % 8));
      }
    }
    if (!ImageList_Replace(Handle(), Index, NewImage->Handle(), mask.Handle()))
      throw EInvalidOperation("Unable to Replace Image");
  }
  Change();
}

void TGlyphList::FreeSlot(int Index) {
  if (Index < 0 || Index >= int(FSlotsInUse.size()) || !FSlotsInUse[size_t(Index)]) return;
  // The old picture stays in the slot until the slot is handed out again.
  --FLiveCount;
  FSlotsInUse[size_t(Index)] = false;
}

// ---- TGlyphCache ----

TGlyphList* TGlyphCache::ListForSize(int AWidth, int AHeight) {
  for (auto it = GlyphLists.rbegin(); it != GlyphLists.rend(); ++it)
    if ((*it)->Width() == AWidth && (*it)->Height() == AHeight) {
      ++(*it)->FHolders;
      return *it;
    }
  auto list = std::make_unique<TGlyphList>(AWidth, AHeight);
  GlyphLists.push_back(list.get());
  list->FHolders = 1;
  return list.release();
}

void TGlyphCache::ReleaseList(TGlyphList* List) {
  if (!List) return;
  if (List->FHolders > 0) --List->FHolders;
  if (List->FLiveCount != 0 || List->FHolders != 0) return;
  auto it = std::find(GlyphLists.begin(), GlyphLists.end(), List);
  if (it == GlyphLists.end()) return;  // not one of ours: never freed here
  GlyphLists.erase(it);
  delete List;
}

// ---- the dither pattern ----

void BuildDitherPattern() {
  DitherFaceColor = TColor(GetSysColor(COLOR_BTNFACE));
  DitherHighlightColor = TColor(GetSysColor(COLOR_BTNHIGHLIGHT));
  FreeDitherPattern();
  DitherPattern = new TBitmap();
  DitherPattern->SetSize(8, 8);
  TCanvas& canvas = DitherPattern->Canvas();
  canvas.Brush.Bitmap = nullptr;
  canvas.Brush.Style = bsSolid;
  canvas.Brush.Color = clBtnFace;
  canvas.FillRect({0, 0, 8, 8});
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      if ((x + y) % 2 == 0) canvas.SetPixel(x, y, clBtnHighlight);
}

void FreeDitherPattern() {
  delete DitherPattern;
  DitherPattern = nullptr;
}

}  // namespace tq
