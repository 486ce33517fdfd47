#pragma once
// Image lists as the common controls have them: many images of one size, each with
// an optional monochrome mask in which a set (white) bit marks a transparent pixel.
//
// Images are kept at 32 bits per pixel whatever ILC_COLORx asks for, so nothing is
// lost to a smaller palette; the flag only records the wish.
#include <cstdint>

#include "platform/graphics/gdi.h"

namespace tlb {

struct ImageListObject;
using HIMAGELIST = ImageListObject*;

constexpr unsigned ILC_COLOR = 0x0;
constexpr unsigned ILC_MASK = 0x1;
constexpr unsigned ILC_COLOR4 = 0x4;
constexpr unsigned ILC_COLOR8 = 0x8;
constexpr unsigned ILC_COLOR16 = 0x10;
constexpr unsigned ILC_COLOR24 = 0x18;
constexpr unsigned ILC_COLOR32 = 0x20;
constexpr unsigned ILC_COLORDDB = 0xFE;

constexpr unsigned ILD_NORMAL = 0x0;
constexpr unsigned ILD_TRANSPARENT = 0x1;
constexpr unsigned ILD_MASK = 0x10;
constexpr unsigned ILD_IMAGE = 0x20;

struct IMAGEINFO {
  HBITMAP hbmImage = nullptr;  // the list's bitmap holding the image (owned by the list)
  HBITMAP hbmMask = nullptr;   // its mask bitmap, null for a list without masks
  int Unused1 = 0, Unused2 = 0;
  Rect rcImage;                // where the image lies in hbmImage
};

// A list of cx x cy images (both 1..32768), with masks when `flags` has ILC_MASK.
// `initial` and `grow` are accepted for compatibility; the list grows as needed.
HIMAGELIST ImageList_Create(int cx, int cy, unsigned flags, int initial, int grow);
bool ImageList_Destroy(HIMAGELIST list);
int ImageList_GetImageCount(HIMAGELIST list);
// Grows the list with empty images (black, fully transparent) or drops images at the end.
bool ImageList_SetImageCount(HIMAGELIST list, unsigned count);
// Appends the images of `image`: width / cx of them, side by side from the left. A null
// `image` appends one empty image. A null `mask` makes the new images fully opaque.
// Returns the index of the first new image, or -1.
int ImageList_Add(HIMAGELIST list, HBITMAP image, HBITMAP mask);
// As ImageList_Add, with the mask made from one colour: pixels of that colour become
// transparent and are set to black in the stored image. CLR_NONE: nothing is transparent.
int ImageList_AddMasked(HIMAGELIST list, HBITMAP image, COLORREF maskColor);
// Replaces image `index` by the top-left cx x cy of `image` (and `mask`). False for a bad index.
bool ImageList_Replace(HIMAGELIST list, int index, HBITMAP image, HBITMAP mask);
// Removes image `index`, or every image for -1. False for a bad index.
bool ImageList_Remove(HIMAGELIST list, int index);
// The background colour drawn under transparent pixels by ILD_NORMAL; CLR_NONE (the
// default) draws them transparently.
COLORREF ImageList_SetBkColor(HIMAGELIST list, COLORREF color);
COLORREF ImageList_GetBkColor(HIMAGELIST list);

// Draws image `index` at (x, y) of `dc`:
//   ILD_NORMAL: the image; its transparent pixels show the background colour, or are
//               left alone when that is CLR_NONE;
//   ILD_TRANSPARENT: the image with its transparent pixels left alone;
//   ILD_MASK: the mask, black where the image is opaque and white where it is
//             transparent (with ILD_TRANSPARENT only the black is drawn);
//   ILD_IMAGE: the image, opaque everywhere.
// Other style bits (blending, overlays, raster operations) raise EUnsupported.
bool ImageList_Draw(HIMAGELIST list, int index, HDC dc, int x, int y, unsigned style);
// As ImageList_Draw, drawing only the top-left dx x dy of the image (0: all of it), with
// `background` instead of the list's background colour (CLR_DEFAULT: the list's).
// `foreground` only matters for blending, which is not supported.
bool ImageList_DrawEx(HIMAGELIST list, int index, HDC dc, int x, int y, int dx, int dy, COLORREF background,
                      COLORREF foreground, unsigned style);
bool ImageList_GetImageInfo(HIMAGELIST list, int index, IMAGEINFO* info);
bool ImageList_GetIconSize(HIMAGELIST list, int* cx, int* cy);

}  // namespace tlb
