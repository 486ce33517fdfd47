#pragma once
// Lines, polygons, rectangles and 3-D edges on a device context, with the pixel
// coverage of Windows' drawing calls.
//
// Lines use the context's pen and leave out their last pixel, so that joined
// segments draw each pixel once. Styled pens (dash, dot, ...) are drawn one pixel
// wide; their gaps take the background colour in OPAQUE mode and are left alone in
// TRANSPARENT mode. A pen wider than one pixel draws a square nib of its width around
// each pixel of the line, and a rectangle's frame of its width inside the rectangle.
// Filled shapes use the context's brush; a hollow brush fills nothing.
#include "platform/graphics/gdi.h"

namespace tlb {

bool MoveToEx(HDC dc, int x, int y, Point* previous);
// A line from the current position to (x, y), which becomes the current position.
bool LineTo(HDC dc, int x, int y);
// Joined lines through the points; the last point itself is not drawn and the
// current position is neither used nor changed.
bool Polyline(HDC dc, const Point* points, int count);
// A closed polygon: the interior by the alternate (even-odd) rule, with pixel (x, y)
// filled when the point (x, y) lies inside, the left and top edges counting as inside
// and the right and bottom ones not; then the outline with the pen.
bool Polygon(HDC dc, const Point* points, int count);
// The frame on the outermost pixels of [left, right) x [top, bottom) with the pen, the
// inside with the brush. With a null pen only [left, right - 1) x [top, bottom - 1) is filled.
bool Rectangle(HDC dc, int left, int top, int right, int bottom);

// 3-D edges.
constexpr unsigned BDR_RAISEDOUTER = 0x1;
constexpr unsigned BDR_SUNKENOUTER = 0x2;
constexpr unsigned BDR_RAISEDINNER = 0x4;
constexpr unsigned BDR_SUNKENINNER = 0x8;
constexpr unsigned BDR_OUTER = BDR_RAISEDOUTER | BDR_SUNKENOUTER;
constexpr unsigned BDR_INNER = BDR_RAISEDINNER | BDR_SUNKENINNER;
constexpr unsigned EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER;
constexpr unsigned EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER;
constexpr unsigned EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER;
constexpr unsigned EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER;

constexpr unsigned BF_LEFT = 0x1;
constexpr unsigned BF_TOP = 0x2;
constexpr unsigned BF_RIGHT = 0x4;
constexpr unsigned BF_BOTTOM = 0x8;
constexpr unsigned BF_TOPLEFT = BF_TOP | BF_LEFT;
constexpr unsigned BF_BOTTOMRIGHT = BF_BOTTOM | BF_RIGHT;
constexpr unsigned BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM;
constexpr unsigned BF_DIAGONAL = 0x10;
constexpr unsigned BF_MIDDLE = 0x800;
constexpr unsigned BF_SOFT = 0x1000;
constexpr unsigned BF_ADJUST = 0x2000;
constexpr unsigned BF_FLAT = 0x4000;
constexpr unsigned BF_MONO = 0x8000;

// Draws the outer then the inner border of `edge` on the sides named by `flags`, in the
// system's 3-D colours:
//   raised outer: top-left COLOR_3DLIGHT, bottom-right COLOR_3DDKSHADOW;
//   raised inner: top-left COLOR_BTNHIGHLIGHT, bottom-right COLOR_BTNSHADOW;
//   sunken outer: top-left COLOR_BTNSHADOW, bottom-right COLOR_BTNHIGHLIGHT;
//   sunken inner: top-left COLOR_3DDKSHADOW, bottom-right COLOR_3DLIGHT.
// BF_SOFT exchanges the top-left colours of the outer and inner borders (a raised soft
// edge has the highlight outside, a sunken soft edge the dark shadow outside). The
// bottom and right lines run the full length, so the top-right and bottom-left corner
// pixels take the bottom-right colour. BF_MIDDLE fills what is inside with
// COLOR_BTNFACE; BF_ADJUST moves `rect` inside the borders drawn.
// BF_DIAGONAL, BF_FLAT and BF_MONO are not supported (EUnsupported).
bool DrawEdge(HDC dc, Rect& rect, unsigned edge, unsigned flags);

}  // namespace tlb
