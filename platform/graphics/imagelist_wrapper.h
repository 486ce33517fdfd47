#pragma once
// The class library's image list over an image-list handle: a list of Width x Height
// images, masked by default, that tells its owner (OnChange) and every registered
// TChangeLink when its images change.
#include <functional>
#include <vector>

#include "platform/graphics/color.h"
#include "platform/graphics/gdi.h"
#include "platform/graphics/imagelist.h"

namespace tlb {

class TCustomImageList;

// Follows the changes of one image list; unregisters itself when destroyed.
class TChangeLink {
 public:
  TChangeLink() = default;
  TChangeLink(const TChangeLink&) = delete;
  TChangeLink& operator=(const TChangeLink&) = delete;
  virtual ~TChangeLink();

  // The list the link is registered with, null when none (or after the list was freed).
  TCustomImageList* Sender() const { return sender_; }
  std::function<void()> OnChange;
  virtual void Change();

 private:
  friend class TCustomImageList;
  TCustomImageList* sender_ = nullptr;
};

class TCustomImageList {
 public:
  // A masked list of 16 x 16 images.
  TCustomImageList();
  // A masked list of width x height images. EInvalidOperation "Invalid image size"
  // unless the height is 1..32768 and the width at least 1.
  TCustomImageList(int width, int height);
  TCustomImageList(const TCustomImageList&) = delete;
  TCustomImageList& operator=(const TCustomImageList&) = delete;
  virtual ~TCustomImageList();

  int Width() const { return width_; }
  int Height() const { return height_; }
  // Changing the size (same check as the constructor) or the masking empties the list.
  void SetWidth(int width);
  void SetHeight(int height);
  bool Masked() const { return masked_; }
  void SetMasked(bool masked);
  // The colour drawn under transparent pixels; clNone (the default) draws them transparently.
  TColor BkColor() const { return bkColor_; }
  void SetBkColor(TColor color);

  int Count() const;
  // The image-list handle, made on first use. EOutOfResources if it cannot be made.
  HIMAGELIST Handle();
  bool HandleAllocated() const { return handle_ != nullptr; }

  // Appends the images of `image` (Width-wide pieces side by side) with `mask`; both
  // null appends one empty image. Returns the first new index, or -1 when nothing fits.
  int Add(HBITMAP image, HBITMAP mask);
  // Appends with the pixels of `maskColor` transparent: clDefault stands for the image's
  // bottom-left pixel, a system colour for its current value. Returns -1 on failure.
  int AddMasked(HBITMAP image, TColor maskColor);
  // EInvalidOperation "Unable to Replace Image" for a bad index or a missing image.
  void Replace(int index, HBITMAP image, HBITMAP mask);
  // EInvalidOperation "Invalid ImageList Index" for an index outside 0..Count-1.
  void Delete(int index);
  void Clear();
  // Draws image `index`; a disabled image is drawn embossed: its opaque shape in
  // clBtnHighlight one pixel down and right, then in clBtnShadow.
  void Draw(HDC dc, int x, int y, int index, bool enabled = true);

  void RegisterChanges(TChangeLink* link);
  void UnRegisterChanges(TChangeLink* link);
  // Tells OnChange, then every registered link.
  virtual void Change();
  std::function<void()> OnChange;

 private:
  void Resize(int width, int height);
  void FreeHandle();
  int width_ = 16, height_ = 16;
  bool masked_ = true;
  TColor bkColor_ = clNone;
  HIMAGELIST handle_ = nullptr;
  std::vector<TChangeLink*> links_;
};

class TImageList : public TCustomImageList {
 public:
  using TCustomImageList::TCustomImageList;
};

}  // namespace tlb
