#pragma once
// Plain copies between Dibs, the fast path under canvas drawing: a clipped copy,
// a copy that skips one transparent colour, and a nearest-neighbour stretch.
#include "platform/graphics/dib.h"
#include "platform/graphics/geometry.h"

namespace tlb {

// Copies `src` (the part `srcRect`) to `dst` at (dx, dy), clipped to `clip` and the Dib bounds.
void CopyDib(Dib& dst, int dx, int dy, const Dib& src, const Rect& srcRect, const Rect& clip);
// As CopyDib, but source pixels of colour `transparent` (RGB) are not copied.
void CopyDibTransparent(Dib& dst, int dx, int dy, const Dib& src, const Rect& srcRect, const Rect& clip,
                        COLORREF transparent);
// Scales `srcRect` of `src` onto `dstRect` of `dst` (nearest pixel), clipped; optional transparent colour.
void StretchDib(Dib& dst, const Rect& dstRect, const Dib& src, const Rect& srcRect, const Rect& clip,
                COLORREF transparent = CLR_NONE);
// Fills a rectangle of `dst` with one colour, clipped.
void FillDib(Dib& dst, const Rect& rect, const Rect& clip, COLORREF color);

}  // namespace tlb
