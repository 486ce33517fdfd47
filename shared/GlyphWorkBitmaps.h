#pragma once
// Working bitmaps of the glyph pictures, made white at once: a new class-library
// bitmap starts white, and these give the same start without painting it pixel
// by pixel.
#include "platform/graphics/graphics.h"

namespace tq {

// Makes `b` a w x h true-colour bitmap, all white.
void MakeWhiteBitmap(tlb::TBitmap& b, int w, int h);
// Makes `b` a w x h monochrome bitmap, all white (set).
void MakeWhiteMono(tlb::TBitmap& b, int w, int h);
// Grows a monochrome bitmap to w x h keeping its pixels; the rows and columns
// added are white except where an old row's padding reaches into them.
void GrowMono(tlb::TBitmap& b, int w, int h);

}  // namespace tq
