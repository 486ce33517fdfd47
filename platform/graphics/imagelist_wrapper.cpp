#include "platform/graphics/imagelist_wrapper.h"

#include <algorithm>

#include "platform/core/exceptions.h"
#include "platform/graphics/raster.h"

namespace tlb {
namespace {

void CheckSize(int width, int height) {
  if (height < 1 || height > 32768 || width < 1) throw EInvalidOperation("Invalid image size");
}

COLORREF ListColor(TColor color) { return color == clNone ? CLR_NONE : ColorToRGB(color); }

}  // namespace

TChangeLink::~TChangeLink() {
  if (sender_) sender_->UnRegisterChanges(this);
}

void TChangeLink::Change() {
  if (OnChange) OnChange();
}

TCustomImageList::TCustomImageList() = default;

TCustomImageList::TCustomImageList(int width, int height) {
  CheckSize(width, height);
  width_ = width;
  height_ = height;
}

TCustomImageList::~TCustomImageList() {
  while (!links_.empty()) UnRegisterChanges(links_.back());
  FreeHandle();
}

void TCustomImageList::FreeHandle() {
  if (handle_) ImageList_Destroy(handle_);
  handle_ = nullptr;
}

HIMAGELIST TCustomImageList::Handle() {
  if (!handle_) {
    handle_ = ImageList_Create(width_, height_, (masked_ ? ILC_MASK : 0) | ILC_COLORDDB, 0, 4);
    if (!handle_) throw EOutOfResources("Unable to create the image list");
    ImageList_SetBkColor(handle_, ListColor(bkColor_));
  }
  return handle_;
}

void TCustomImageList::Resize(int width, int height) {
  CheckSize(width, height);
  if (width == width_ && height == height_) return;
  width_ = width;
  height_ = height;
  FreeHandle();
  Change();
}

void TCustomImageList::SetWidth(int width) { Resize(width, height_); }
void TCustomImageList::SetHeight(int height) { Resize(width_, height); }

void TCustomImageList::SetMasked(bool masked) {
  if (masked == masked_) return;
  masked_ = masked;
  FreeHandle();
  Change();
}

void TCustomImageList::SetBkColor(TColor color) {
  bkColor_ = color;
  if (handle_) ImageList_SetBkColor(handle_, ListColor(color));
  Change();
}

int TCustomImageList::Count() const { return handle_ ? ImageList_GetImageCount(handle_) : 0; }

int TCustomImageList::Add(HBITMAP image, HBITMAP mask) {
  int index = ImageList_Add(Handle(), image, mask);
  Change();
  return index;
}

int TCustomImageList::AddMasked(HBITMAP image, TColor maskColor) {
  if (!image) return -1;
  COLORREF key;
  if (maskColor == clDefault) {
    const Dib& dib = image->dib;
    if (dib.empty()) return -1;
    key = dib.pixel(0, dib.height() - 1);
  } else {
    key = ListColor(maskColor);
  }
  int index = ImageList_AddMasked(Handle(), image, key);
  Change();
  return index;
}

void TCustomImageList::Replace(int index, HBITMAP image, HBITMAP mask) {
  if (!ImageList_Replace(Handle(), index, image, mask)) throw EInvalidOperation("Unable to Replace Image");
  Change();
}

void TCustomImageList::Delete(int index) {
  if (index < 0 || index >= Count()) throw EInvalidOperation("Invalid ImageList Index");
  ImageList_Remove(handle_, index);
  Change();
}

void TCustomImageList::Clear() {
  if (handle_) ImageList_Remove(handle_, -1);
  Change();
}

void TCustomImageList::Draw(HDC dc, int x, int y, int index, bool enabled) {
  if (!handle_ || !dc || index < 0 || index >= Count()) return;
  if (enabled) {
    ImageList_DrawEx(handle_, index, dc, x, y, 0, 0, CLR_DEFAULT, CLR_DEFAULT, ILD_NORMAL);
    return;
  }
  // The silhouette: the mask (0 where opaque) painted through with each 3-D colour.
  HBITMAP shape = CreateBitmap(width_, height_, 1, 1, nullptr);
  HDC shapeDC = CreateCompatibleDC(dc);
  HGDIOBJ oldShape = SelectObject(shapeDC, shape);
  ImageList_Draw(handle_, index, shapeDC, 0, 0, ILD_MASK);
  COLORREF oldText = ::tlb::SetTextColor(dc, 0x000000), oldBk = ::tlb::SetBkColor(dc, 0xFFFFFF);
  struct Pass {
    int dx;
    int color;
  };
  for (Pass pass : {Pass{1, COLOR_BTNHIGHLIGHT}, Pass{0, COLOR_BTNSHADOW}}) {
    HBRUSH brush = CreateSolidBrush(GetSysColor(pass.color));
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    BitBlt(dc, x + pass.dx, y + pass.dx, width_, height_, shapeDC, 0, 0, 0x00B8074A);  // PSDPxax
    SelectObject(dc, oldBrush);
    DeleteObject(brush);
  }
  ::tlb::SetTextColor(dc, oldText);
  ::tlb::SetBkColor(dc, oldBk);
  SelectObject(shapeDC, oldShape);
  DeleteDC(shapeDC);
  DeleteObject(shape);
}

void TCustomImageList::RegisterChanges(TChangeLink* link) {
  if (!link) return;
  if (link->sender_ && link->sender_ != this) link->sender_->UnRegisterChanges(link);
  link->sender_ = this;
  if (std::find(links_.begin(), links_.end(), link) == links_.end()) links_.push_back(link);
}

void TCustomImageList::UnRegisterChanges(TChangeLink* link) {
  if (!link) return;
  links_.erase(std::remove(links_.begin(), links_.end(), link), links_.end());
  if (link->sender_ == this) link->sender_ = nullptr;
}

void TCustomImageList::Change() {
  if (OnChange) OnChange();
  // A link may unregister (or be destroyed) while told, so walk a copy and skip the gone.
  std::vector<TChangeLink*> links = links_;
  for (TChangeLink* link : links)
    if (std::find(links_.begin(), links_.end(), link) != links_.end()) link->Change();
}

}  // namespace tlb
