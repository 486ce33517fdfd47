#pragma once
// Plain geometry of the drawing layer: points, sizes and rectangles whose right
// and bottom edges are exclusive, as in Windows.
#include <algorithm>

namespace tlb {

struct Point {
  int x = 0, y = 0;
  bool operator==(const Point&) const = default;
};

struct Size {
  int cx = 0, cy = 0;
  bool operator==(const Size&) const = default;
};

struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;

  static Rect FromSize(int x, int y, int w, int h) { return {x, y, x + w, y + h}; }
  int width() const { return right - left; }
  int height() const { return bottom - top; }
  bool empty() const { return right <= left || bottom <= top; }
  bool Contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  Rect Offset(int dx, int dy) const { return {left + dx, top + dy, right + dx, bottom + dy}; }
  Rect Intersect(const Rect& o) const {
    Rect r{std::max(left, o.left), std::max(top, o.top), std::min(right, o.right), std::min(bottom, o.bottom)};
    if (r.empty()) return {};
    return r;
  }
  // The smallest rectangle holding both; an empty side is ignored.
  Rect Union(const Rect& o) const {
    if (empty()) return o;
    if (o.empty()) return *this;
    return {std::min(left, o.left), std::min(top, o.top), std::max(right, o.right), std::max(bottom, o.bottom)};
  }
  bool operator==(const Rect&) const = default;
};

}  // namespace tlb
