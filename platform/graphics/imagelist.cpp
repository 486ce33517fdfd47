#include "platform/graphics/imagelist.h"

#include <memory>
#include <mutex>
#include <unordered_set>
#include <vector>

#include "platform/core/exceptions.h"
#include "platform/graphics/dib_blit.h"
#include "platform/graphics/raster.h"

namespace tlb {

struct ImageListObject {
  int cx = 0, cy = 0;
  unsigned flags = 0;
  COLORREF background = CLR_NONE;
  // One bitmap per image, and one 1-bit mask per image when the list has masks.
  std::vector<std::unique_ptr<GdiBitmap>> images;
  std::vector<std::unique_ptr<GdiBitmap>> masks;

  bool masked() const { return (flags & ILC_MASK) != 0; }
  int count() const { return int(images.size()); }
};

namespace {

struct Lists {
  std::mutex mutex;
  std::unordered_set<const ImageListObject*> live;
};

Lists& lists() {
  static Lists l;
  return l;
}

// Every call checks its handle, so a destroyed or foreign list is refused, never followed.
bool Valid(HIMAGELIST list) {
  if (!list) return false;
  Lists& l = lists();
  std::lock_guard<std::mutex> lock(l.mutex);
  return l.live.count(list) != 0;
}

std::vector<RGBQuad> MonoPalette() { return {QuadFromRGB(0x000000), QuadFromRGB(0xFFFFFF)}; }

std::unique_ptr<GdiBitmap> EmptyImage(const ImageListObject& list) {
  return std::make_unique<GdiBitmap>(Dib(list.cx, list.cy, 32));
}

std::unique_ptr<GdiBitmap> FullMask(const ImageListObject& list, bool transparent) {
  Dib mask(list.cx, list.cy, 1, MonoPalette());
  if (transparent) std::fill(mask.bits().begin(), mask.bits().end(), uint8_t(0xFF));
  return std::make_unique<GdiBitmap>(std::move(mask));
}

// The image at column `left` of `source`; what lies beyond the source stays black.
std::unique_ptr<GdiBitmap> ImageFrom(const ImageListObject& list, const Dib& source, int left) {
  auto image = EmptyImage(list);
  CopyDib(image->dib, 0, 0, source, Rect::FromSize(left, 0, list.cx, list.cy), {0, 0, list.cx, list.cy});
  return image;
}

// The mask at column `left`: from `mask` (a set 1-bit pixel, or a white pixel of a colour
// bitmap, is transparent), opaque without one; transparent wherever the image or the
// mask bitmap has no pixel.
std::unique_ptr<GdiBitmap> MaskFrom(const ImageListObject& list, const Dib& image, const Dib* mask, int left) {
  auto out = FullMask(list, false);
  Dib& bits = out->dib;
  for (int y = 0; y < list.cy; ++y)
    for (int x = 0; x < list.cx; ++x) {
      int sx = left + x;
      bool clear;
      if (sx >= image.width() || y >= image.height()) clear = true;
      else if (!mask) clear = false;
      else if (sx >= mask->width() || y >= mask->height()) clear = true;
      else clear = mask->bpp() == 1 ? mask->rawPixel(sx, y) != 0 : mask->pixel(sx, y) == 0xFFFFFF;
      if (clear) bits.setRawPixel(x, y, 1);
    }
  return out;
}

bool DrawImage(HIMAGELIST list, int index, HDC dc, int x, int y, int dx, int dy, COLORREF background,
               unsigned style) {
  if (!Valid(list) || !dc || !dc->surface) return false;
  if (index < 0 || index >= list->count()) return false;
  if (style & ~(ILD_TRANSPARENT | ILD_MASK | ILD_IMAGE))
    throw EUnsupported("image list drawing supports ILD_NORMAL, ILD_TRANSPARENT, ILD_MASK and ILD_IMAGE only");
  int w = dx > 0 ? std::min(dx, list->cx) : list->cx;
  int h = dy > 0 ? std::min(dy, list->cy) : list->cy;
  // Computed wide, so that a position however far out cannot overflow.
  int64_t left = int64_t(x) + dc->origin.x, top = int64_t(y) + dc->origin.y;
  Rect clip = dc->EffectiveClip();
  if (left >= clip.right || top >= clip.bottom || left + w <= clip.left || top + h <= clip.top) return true;
  Rect dest{int(left), int(top), int(left + w), int(top + h)};
  Rect target = dest.Intersect(clip);
  if (target.empty()) return true;

  const Dib& image = list->images[size_t(index)]->dib;
  const Dib* mask = list->masked() ? &list->masks[size_t(index)]->dib : nullptr;
  Dib& out = *dc->surface;
  if (background == CLR_DEFAULT) background = list->background;
  bool drawMask = (style & ILD_MASK) != 0;
  bool opaqueImage = (style & ILD_IMAGE) != 0 || !mask;
  bool keepClear = (style & ILD_TRANSPARENT) != 0 || background == CLR_NONE;
  uint32_t black = PixelValueFor(out, 0x000000), white = PixelValueFor(out, 0xFFFFFF);
  uint32_t fill = keepClear ? 0 : PixelValueFor(out, ResolveColor(dc, background));
  bool direct = out.bpp() == 32;

  // Drawing a 32-bit picture onto a 32-bit surface is the repaint of every button face:
  // row pointers instead of per-pixel format switches.
  if (direct && !drawMask) {
    for (int Y = target.top; Y < target.bottom; ++Y) {
      int iy = Y - dest.top, ix0 = target.left - dest.left, n = target.width();
      const auto* from = reinterpret_cast<const uint32_t*>(image.row(iy)) + ix0;
      auto* to = reinterpret_cast<uint32_t*>(out.row(Y)) + target.left;
      if (opaqueImage) {
        for (int i = 0; i < n; ++i) to[i] = from[i] & 0x00FFFFFF;
        continue;
      }
      const uint8_t* bits = mask->row(iy);
      for (int i = 0; i < n; ++i) {
        int ix = ix0 + i;
        if (!((bits[ix >> 3] >> (7 - (ix & 7))) & 1)) to[i] = from[i] & 0x00FFFFFF;
        else if (!keepClear) to[i] = fill;
      }
    }
    return true;
  }

  for (int Y = target.top; Y < target.bottom; ++Y) {
    int iy = Y - dest.top;
    for (int X = target.left; X < target.right; ++X) {
      int ix = X - dest.left;
      bool clear = mask && mask->rawPixel(ix, iy) != 0;
      uint32_t value;
      if (drawMask) {
        if (clear && (style & ILD_TRANSPARENT)) continue;
        value = clear ? white : black;
      } else if (opaqueImage || !clear) {
        value = direct ? image.rawPixel(ix, iy) & 0x00FFFFFF : PixelValueFor(out, image.pixel(ix, iy));
      } else if (keepClear) {
        continue;
      } else {
        value = fill;
      }
      out.setRawPixel(X, Y, value);
    }
  }
  return true;
}

}  // namespace

HIMAGELIST ImageList_Create(int cx, int cy, unsigned flags, int, int) {
  if (cx < 1 || cy < 1 || cx > 32768 || cy > 32768) return nullptr;
  // One image may not need more than 256 MB, the limit of every bitmap of the layer.
  if (size_t(cx) * size_t(cy) * 4 > (size_t(256) << 20)) return nullptr;
  auto* list = new ImageListObject;
  list->cx = cx;
  list->cy = cy;
  list->flags = flags;
  Lists& l = lists();
  std::lock_guard<std::mutex> lock(l.mutex);
  l.live.insert(list);
  return list;
}

bool ImageList_Destroy(HIMAGELIST list) {
  if (!list) return false;
  {
    Lists& l = lists();
    std::lock_guard<std::mutex> lock(l.mutex);
    if (l.live.erase(list) == 0) return false;
  }
  delete list;
  return true;
}

int ImageList_GetImageCount(HIMAGELIST list) { return Valid(list) ? list->count() : 0; }

bool ImageList_SetImageCount(HIMAGELIST list, unsigned count) {
  if (!Valid(list)) return false;
  while (list->images.size() > count) {
    list->images.pop_back();
    if (list->masked()) list->masks.pop_back();
  }
  while (list->images.size() < count) {
    list->images.push_back(EmptyImage(*list));
    if (list->masked()) list->masks.push_back(FullMask(*list, true));
  }
  return true;
}

int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask) {
  if (!Valid(list)) return -1;
  int first = list->count();
  if (!image) {
    list->images.push_back(EmptyImage(*list));
    if (list->masked()) list->masks.push_back(FullMask(*list, true));
    return first;
  }
  const Dib& source = image->dib;
  int n = source.height() > 0 ? source.width() / list->cx : 0;
  if (n == 0) return -1;
  for (int k = 0; k < n; ++k) {
    list->images.push_back(ImageFrom(*list, source, k * list->cx));
    if (list->masked()) list->masks.push_back(MaskFrom(*list, source, mask ? &mask->dib : nullptr, k * list->cx));
  }
  return first;
}

int ImageList_AddMasked(HIMAGELIST list, HBITMAP image, COLORREF maskColor) {
  if (!Valid(list) || !image) return -1;
  const Dib& source = image->dib;
  int n = source.height() > 0 ? source.width() / list->cx : 0;
  if (n == 0) return -1;
  // The colour as the bitmap can hold it, so that a paletted or 16-bit source matches.
  bool keyed = maskColor != CLR_NONE;
  COLORREF key = keyed ? source.nearestColor(maskColor & 0x00FFFFFF) : 0;
  int first = list->count();
  for (int k = 0; k < n; ++k) {
    int left = k * list->cx;
    auto stored = ImageFrom(*list, source, left);
    if (list->masked()) {
      auto mask = MaskFrom(*list, source, nullptr, left);
      if (keyed)
        for (int y = 0; y < list->cy && y < source.height(); ++y)
          for (int x = 0; x < list->cx && left + x < source.width(); ++x)
            if (source.pixel(left + x, y) == key) {
              mask->dib.setRawPixel(x, y, 1);
              stored->dib.setRawPixel(x, y, 0);
            }
      list->masks.push_back(std::move(mask));
    }
    list->images.push_back(std::move(stored));
  }
  return first;
}

bool ImageList_Replace(HIMAGELIST list, int index, HBITMAP image, HBITMAP mask) {
  if (!Valid(list) || !image || index < 0 || index >= list->count()) return false;
  list->images[size_t(index)] = ImageFrom(*list, image->dib, 0);
  if (list->masked()) list->masks[size_t(index)] = MaskFrom(*list, image->dib, mask ? &mask->dib : nullptr, 0);
  return true;
}

bool ImageList_Remove(HIMAGELIST list, int index) {
  if (!Valid(list)) return false;
  if (index == -1) {
    list->images.clear();
    list->masks.clear();
    return true;
  }
  if (index < 0 || index >= list->count()) return false;
  list->images.erase(list->images.begin() + index);
  if (list->masked()) list->masks.erase(list->masks.begin() + index);
  return true;
}

COLORREF ImageList_SetBkColor(HIMAGELIST list, COLORREF color) {
  if (!Valid(list)) return CLR_NONE;
  COLORREF old = list->background;
  list->background = color;
  return old;
}

COLORREF ImageList_GetBkColor(HIMAGELIST list) { return Valid(list) ? list->background : CLR_NONE; }

bool ImageList_Draw(HIMAGELIST list, int index, HDC dc, int x, int y, unsigned style) {
  return DrawImage(list, index, dc, x, y, 0, 0, CLR_DEFAULT, style);
}

bool ImageList_DrawEx(HIMAGELIST list, int index, HDC dc, int x, int y, int dx, int dy, COLORREF background,
                      COLORREF, unsigned style) {
  return DrawImage(list, index, dc, x, y, dx, dy, background, style);
}

bool ImageList_GetImageInfo(HIMAGELIST list, int index, IMAGEINFO* info) {
  if (!Valid(list) || !info || index < 0 || index >= list->count()) return false;
  info->hbmImage = list->images[size_t(index)].get();
  info->hbmMask = list->masked() ? list->masks[size_t(index)].get() : nullptr;
  info->rcImage = {0, 0, list->cx, list->cy};
  return true;
}

bool ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy) {
  if (!Valid(list) || !cx || !cy) return false;
  *cx = list->cx;
  *cy = list->cy;
  return true;
}

}  // namespace tlb
