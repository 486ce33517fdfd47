#include "platform/graphics/shapes.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "platform/core/exceptions.h"
#include "platform/graphics/dib_blit.h"
#include "platform/graphics/raster.h"

namespace tlb {
namespace {

// Draws pen pixels on a context's surface, keeping the dash pattern's phase across
// the segments of one call.
class PenPainter {
 public:
  explicit PenPainter(HDC dc) : dc_(dc) {
    HPEN pen = dc->pen;
    if (!dc->surface || !pen || pen->style == PS_NULL) return;
    active_ = true;
    clip_ = dc->EffectiveClip();
    value_ = PixelValueFor(*dc->surface, ResolveColor(dc, pen->color));
    gapValue_ = PixelValueFor(*dc->surface, ResolveColor(dc, dc->bkColor));
    fillGaps_ = dc->bkMode == OPAQUE;
    width_ = pen->width;
    // Styles apply to one-pixel pens only; wider ones draw solid, as in Windows.
    if (width_ == 1) {
      switch (pen->style) {
        case PS_DASH: dashes_ = {18, 6}; break;
        case PS_DOT: dashes_ = {3, 3}; break;
        case PS_DASHDOT: dashes_ = {9, 6, 3, 6}; break;
        case PS_DASHDOTDOT: dashes_ = {9, 3, 3, 3, 3, 3}; break;
        default: break;
      }
    }
    for (int d : dashes_) period_ += d;
  }

  bool active() const { return active_; }
  int width() const { return width_; }

  // The line from a to b (logical coordinates) without its last pixel. Step i of the
  // major axis moves the minor one by i * minor / major rounded to nearest, halves down
  // (what the incremental line algorithm gives). Only the steps that can reach the clip
  // are visited, so a line of any length costs at most the clip's extent.
  void Segment(Point a, Point b) {
    if (!active_) return;
    int64_t x0 = int64_t(a.x) + dc_->origin.x, y0 = int64_t(a.y) + dc_->origin.y;
    int64_t dx = std::abs(int64_t(b.x) - a.x), dy = std::abs(int64_t(b.y) - a.y);
    int stepX = b.x >= a.x ? 1 : -1, stepY = b.y >= a.y ? 1 : -1;
    bool xMajor = dx >= dy;
    int64_t steps = xMajor ? dx : dy, minor = xMajor ? dy : dx;
    int64_t start = xMajor ? x0 : y0;
    int step = xMajor ? stepX : stepY;
    int64_t reach = width_;
    int64_t lo = (xMajor ? clip_.left : clip_.top) - reach, hi = (xMajor ? clip_.right : clip_.bottom) + reach;
    int64_t first = step > 0 ? lo - start : start - hi + 1;
    int64_t last = step > 0 ? hi - start : start - lo + 1;
    first = std::max<int64_t>(first, 0);
    last = std::min<int64_t>(last, steps);
    for (int64_t i = first; i < last; ++i) {
      int64_t offset = int64_t((__int128(2) * i * minor + steps - 1) / (__int128(2) * steps));
      int64_t x = xMajor ? x0 + stepX * i : x0 + stepX * offset;
      int64_t y = xMajor ? y0 + stepY * offset : y0 + stepY * i;
      Plot(x, y, phase_ + i);
    }
    phase_ += steps;
  }

  // One pixel at logical (x, y), in the pattern's turn.
  void Point1(Point p) {
    if (active_) Plot(int64_t(p.x) + dc_->origin.x, int64_t(p.y) + dc_->origin.y, phase_++);
  }

 private:
  void Plot(int64_t x, int64_t y, int64_t phase) {
    bool on = true;
    if (period_ > 0) {
      int at = int(phase % period_);
      for (size_t i = 0; i < dashes_.size(); ++i) {
        if (at < dashes_[i]) { on = (i % 2) == 0; break; }
        at -= dashes_[i];
      }
    }
    if (!on && !fillGaps_) return;
    uint32_t v = on ? value_ : gapValue_;
    int from = -(width_ - 1) / 2, to = width_ / 2;
    int64_t top = std::max<int64_t>(y + from, clip_.top), bottom = std::min<int64_t>(y + to, clip_.bottom - 1);
    int64_t left = std::max<int64_t>(x + from, clip_.left), right = std::min<int64_t>(x + to, clip_.right - 1);
    for (int64_t yy = top; yy <= bottom; ++yy)
      for (int64_t xx = left; xx <= right; ++xx) dc_->surface->setRawPixel(int(xx), int(yy), v);
  }

  HDC dc_;
  bool active_ = false;
  Rect clip_;
  uint32_t value_ = 0, gapValue_ = 0;
  bool fillGaps_ = false;
  int width_ = 1;
  std::vector<int> dashes_;
  int period_ = 0;
  int64_t phase_ = 0;
};

bool Fills(HBRUSH brush) { return brush && brush->style != BS_NULL; }

__int128 FloorDiv(__int128 a, __int128 b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }
__int128 CeilDiv(__int128 a, __int128 b) { return -FloorDiv(-a, b); }

// The alternate-rule interior: on row y, pixels x with the point (x, y) inside, each
// crossing of an edge with y in [lower end, upper end) toggling inside and outside.
void FillPolygon(HDC dc, const Point* pts, int count) {
  int minY = pts[0].y, maxY = pts[0].y;
  for (int i = 1; i < count; ++i) {
    minY = std::min(minY, pts[i].y);
    maxY = std::max(maxY, pts[i].y);
  }
  // Rows outside the clip are skipped before any arithmetic.
  Rect clip = dc->EffectiveClip().Offset(-dc->origin.x, -dc->origin.y);
  minY = std::max(minY, clip.top);
  maxY = std::min(maxY, clip.bottom);
  std::vector<int64_t> crossings;
  for (int y = minY; y < maxY; ++y) {
    crossings.clear();
    for (int i = 0; i < count; ++i) {
      Point a = pts[i], b = pts[(i + 1) % count];
      if (a.y == b.y) continue;
      if (a.y > b.y) std::swap(a, b);
      if (y < a.y || y >= b.y) continue;
      // The first pixel at or right of the crossing, exact for any coordinates, kept
      // within a little of the clip (which is all the spans use).
      __int128 dy = int64_t(b.y) - a.y;
      __int128 numerator = __int128(a.x) * dy + __int128(int64_t(y) - a.y) * (int64_t(b.x) - a.x);
      __int128 x = CeilDiv(numerator, dy);
      x = std::clamp<__int128>(x, __int128(clip.left) - 1, __int128(clip.right) + 1);
      crossings.push_back(int64_t(x));
    }
    std::sort(crossings.begin(), crossings.end());
    for (size_t k = 0; k + 1 < crossings.size(); k += 2) {
      int64_t left = std::max<int64_t>(crossings[k], clip.left), right = std::min<int64_t>(crossings[k + 1], clip.right);
      if (left < right) PatBltBrush(dc, {int(left), y, int(right), y + 1}, dc->brush, PATCOPY);
    }
  }
}

void FillSurface(HDC dc, const Rect& logical, COLORREF color) {
  FillDib(*dc->surface, logical.Offset(dc->origin.x, dc->origin.y), dc->EffectiveClip(), color);
}

}  // namespace

bool MoveToEx(HDC dc, int x, int y, Point* previous) {
  if (!dc) return false;
  if (previous) *previous = dc->penPos;
  dc->penPos = {x, y};
  return true;
}

bool LineTo(HDC dc, int x, int y) {
  if (!dc || !dc->surface) return false;
  PenPainter pen(dc);
  pen.Segment(dc->penPos, {x, y});
  dc->penPos = {x, y};
  return true;
}

bool Polyline(HDC dc, const Point* points, int count) {
  if (!dc || !dc->surface || !points || count < 2) return false;
  PenPainter pen(dc);
  for (int i = 0; i + 1 < count; ++i) pen.Segment(points[i], points[i + 1]);
  return true;
}

bool Polygon(HDC dc, const Point* points, int count) {
  if (!dc || !dc->surface || !points || count < 2) return false;
  if (Fills(dc->brush)) FillPolygon(dc, points, count);
  PenPainter pen(dc);
  for (int i = 0; i < count; ++i) pen.Segment(points[i], points[(i + 1) % count]);
  return true;
}

bool Rectangle(HDC dc, int left, int top, int right, int bottom) {
  if (!dc || !dc->surface) return false;
  if (left > right) std::swap(left, right);
  if (top > bottom) std::swap(top, bottom);
  if (right == left || bottom == top) return true;
  PenPainter pen(dc);
  if (!pen.active()) {
    if (Fills(dc->brush)) PatBltBrush(dc, {left, top, right - 1, bottom - 1}, dc->brush, PATCOPY);
    return true;
  }
  int w = std::min({pen.width(), (right - left + 1) / 2, (bottom - top + 1) / 2});
  if (Fills(dc->brush) && right - left > 2 * w && bottom - top > 2 * w)
    PatBltBrush(dc, {left + w, top + w, right - w, bottom - w}, dc->brush, PATCOPY);
  if (pen.width() > 1) {
    // A wide frame lies inside the rectangle, drawn as solid nested frames.
    HPEN original = dc->pen;
    GdiPen thin = *original;
    thin.width = 1;
    thin.style = PS_SOLID;
    dc->pen = &thin;
    PenPainter ring(dc);
    for (int k = 0; k < w; ++k) {
      int l = left + k, t = top + k, r = right - 1 - k, b = bottom - 1 - k;
      ring.Segment({l, t}, {r, t});
      ring.Segment({r, t}, {r, b});
      ring.Segment({r, b}, {l, b});
      ring.Segment({l, b}, {l, t});
      if (l == r && t == b) ring.Point1({l, t});
    }
    dc->pen = original;
    return true;
  }
  int r = right - 1, b = bottom - 1;
  if (r == left && b == top) {
    pen.Point1({left, top});
    return true;
  }
  pen.Segment({left, top}, {r, top});
  pen.Segment({r, top}, {r, b});
  pen.Segment({r, b}, {left, b});
  pen.Segment({left, b}, {left, top});
  return true;
}

bool DrawEdge(HDC dc, Rect& rect, unsigned edge, unsigned flags) {
  if (!dc || !dc->surface) return false;
  if (flags & (BF_DIAGONAL | BF_FLAT | BF_MONO)) throw EUnsupported("DrawEdge: diagonal, flat and mono edges are not supported");
  struct Ring {
    bool present;
    int topLeft, bottomRight;
  };
  // Outer then inner; a raised border wins if both kinds are asked for on one ring.
  Ring outer{false, 0, 0}, inner{false, 0, 0};
  if (edge & BDR_RAISEDOUTER) outer = {true, COLOR_3DLIGHT, COLOR_3DDKSHADOW};
  else if (edge & BDR_SUNKENOUTER) outer = {true, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT};
  if (edge & BDR_RAISEDINNER) inner = {true, COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW};
  else if (edge & BDR_SUNKENINNER) inner = {true, COLOR_3DDKSHADOW, COLOR_3DLIGHT};
  if (flags & BF_SOFT) {
    // The soft edge puts the extreme colour outside: highlight for raised, dark shadow for sunken.
    int outerRaised = COLOR_3DLIGHT, innerRaised = COLOR_BTNHIGHLIGHT;
    int outerSunken = COLOR_BTNSHADOW, innerSunken = COLOR_3DDKSHADOW;
    auto soften = [&](Ring& ring) {
      if (ring.topLeft == outerRaised) ring.topLeft = innerRaised;
      else if (ring.topLeft == innerRaised) ring.topLeft = outerRaised;
      else if (ring.topLeft == outerSunken) ring.topLeft = innerSunken;
      else if (ring.topLeft == innerSunken) ring.topLeft = outerSunken;
    };
    if (outer.present) soften(outer);
    if (inner.present) soften(inner);
  }
  Rect r = rect;
  for (const Ring& ring : {outer, inner}) {
    if (!ring.present || r.empty()) continue;
    COLORREF light = GetSysColor(ring.topLeft), dark = GetSysColor(ring.bottomRight);
    if (flags & BF_TOP) FillSurface(dc, {r.left, r.top, r.right - ((flags & BF_RIGHT) ? 1 : 0), r.top + 1}, light);
    if (flags & BF_LEFT) FillSurface(dc, {r.left, r.top, r.left + 1, r.bottom - ((flags & BF_BOTTOM) ? 1 : 0)}, light);
    if (flags & BF_RIGHT) FillSurface(dc, {r.right - 1, r.top, r.right, r.bottom}, dark);
    if (flags & BF_BOTTOM) FillSurface(dc, {r.left, r.bottom - 1, r.right, r.bottom}, dark);
    if (flags & BF_LEFT) ++r.left;
    if (flags & BF_TOP) ++r.top;
    if (flags & BF_RIGHT) --r.right;
    if (flags & BF_BOTTOM) --r.bottom;
  }
  if ((flags & BF_MIDDLE) && !r.empty()) FillSurface(dc, r, GetSysColor(COLOR_BTNFACE));
  if (flags & BF_ADJUST) rect = r;
  return true;
}

}  // namespace tlb
