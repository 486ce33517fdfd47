#include "canvas.h"

#include <algorithm>
#include <cmath>

namespace gen {

namespace {

constexpr double kPi = 3.14159265358979323846;

uint8_t clamp8(double v) { return uint8_t(std::lround(std::clamp(v, 0.0, 255.0))); }

double segDist2(Pt p, Pt a, Pt b) {
  double vx = b.x - a.x, vy = b.y - a.y;
  double wx = p.x - a.x, wy = p.y - a.y;
  double len2 = vx * vx + vy * vy;
  double t = len2 > 0 ? std::clamp((wx * vx + wy * vy) / len2, 0.0, 1.0) : 0.0;
  double dx = wx - t * vx, dy = wy - t * vy;
  return dx * dx + dy * dy;
}

// Angle of (dx, dy) in 0..2pi, clockwise on screen from +x.
double angleOf(double dx, double dy) {
  double a = std::atan2(dy, dx);
  return a < 0 ? a + 2 * kPi : a;
}

bool angleWithin(double a, double a0, double a1) {
  // a0..a1 may run past 2pi; both are taken modulo 2pi from a0.
  double span = a1 - a0;
  if (span >= 2 * kPi) return true;
  double rel = std::fmod(a - a0, 2 * kPi);
  if (rel < 0) rel += 2 * kPi;
  return rel <= span;
}

}  // namespace

Rgb mix(Rgb a, Rgb b, double t) {
  return Rgb{clamp8(a.r + (b.r - a.r) * t), clamp8(a.g + (b.g - a.g) * t), clamp8(a.b + (b.b - a.b) * t)};
}
Rgb lighten(Rgb c, double t) { return mix(c, rgb(255, 255, 255), t); }
Rgb darken(Rgb c, double t) { return mix(c, rgb(0, 0, 0), t); }

Affine Affine::then(const Affine& o) const {
  // o(this(p))
  return {o.a * a + o.b * d, o.a * b + o.b * e, o.a * c + o.b * f + o.c,
          o.d * a + o.e * d, o.d * b + o.e * e, o.d * c + o.e * f + o.f};
}

Affine Affine::inverse() const {
  double det = a * e - b * d;
  if (det == 0) return {};
  double ia = e / det, ib = -b / det, id = -d / det, ie = a / det;
  return {ia, ib, -(ia * c + ib * f), id, ie, -(id * c + ie * f)};
}

double Affine::scale() const { return std::sqrt(std::fabs(a * e - b * d)); }

Affine Affine::rotation(double r) {
  double cs = std::cos(r), sn = std::sin(r);
  return {cs, -sn, 0, sn, cs, 0};
}

Canvas::Canvas(int width, int height, Rgb fill)
    : width_(width), height_(height), px_(size_t(width) * height, fill) {}

void Canvas::push() { stack_.push_back(t_); }
void Canvas::pop() {
  if (!stack_.empty()) {
    t_ = stack_.back();
    stack_.pop_back();
  }
}
void Canvas::translate(double x, double y) { t_ = Affine::translate(x, y).then(t_); }
void Canvas::scale(double sx, double sy) { t_ = Affine::scaling(sx, sy).then(t_); }
void Canvas::rotate(double r) { t_ = Affine::rotation(r).then(t_); }
void Canvas::mirrorX(double axisX) { t_ = Affine{-1, 0, 2 * axisX, 0, 1, 0}.then(t_); }

void Canvas::fill(Rgb c) { std::fill(px_.begin(), px_.end(), c); }

template <class Inside>
void Canvas::paint(double bx0, double by0, double bx1, double by1, Rgb c, double alpha, Inside inside) {
  Pt corners[4] = {t_.apply({bx0, by0}), t_.apply({bx1, by0}), t_.apply({bx0, by1}), t_.apply({bx1, by1})};
  double minx = corners[0].x, maxx = minx, miny = corners[0].y, maxy = miny;
  for (const Pt& p : corners) {
    minx = std::min(minx, p.x), maxx = std::max(maxx, p.x);
    miny = std::min(miny, p.y), maxy = std::max(maxy, p.y);
  }
  int x0 = std::max(0, int(std::floor(minx)) - 1), x1 = std::min(width_ - 1, int(std::ceil(maxx)) + 1);
  int y0 = std::max(0, int(std::floor(miny)) - 1), y1 = std::min(height_ - 1, int(std::ceil(maxy)) + 1);
  if (x0 > x1 || y0 > y1) return;
  Affine inv = t_.inverse();
  const int n = aa_ ? 4 : 1;
  for (int y = y0; y <= y1; ++y) {
    for (int x = x0; x <= x1; ++x) {
      int hits = 0;
      for (int sy = 0; sy < n; ++sy) {
        for (int sx = 0; sx < n; ++sx) {
          Pt p = inv.apply({x + (sx + 0.5) / n, y + (sy + 0.5) / n});
          if (inside(p)) ++hits;
        }
      }
      if (hits == 0) continue;
      double cov = double(hits) / (n * n) * alpha;
      Rgb& d = at(x, y);
      d = cov >= 1.0 ? c : mix(d, c, cov);
    }
  }
}

void Canvas::fillRect(double x0, double y0, double x1, double y1, Rgb c, double alpha) {
  if (x0 > x1) std::swap(x0, x1);
  if (y0 > y1) std::swap(y0, y1);
  paint(x0, y0, x1, y1, c, alpha, [=](Pt p) { return p.x >= x0 && p.x < x1 && p.y >= y0 && p.y < y1; });
}

void Canvas::fillRoundRect(double x0, double y0, double x1, double y1, double r, Rgb c, double alpha) {
  if (x0 > x1) std::swap(x0, x1);
  if (y0 > y1) std::swap(y0, y1);
  r = std::min({r, (x1 - x0) / 2, (y1 - y0) / 2});
  paint(x0, y0, x1, y1, c, alpha, [=](Pt p) {
    if (p.x < x0 || p.x >= x1 || p.y < y0 || p.y >= y1) return false;
    double cx = std::clamp(p.x, x0 + r, x1 - r), cy = std::clamp(p.y, y0 + r, y1 - r);
    double dx = p.x - cx, dy = p.y - cy;
    return dx * dx + dy * dy <= r * r;
  });
}

void Canvas::fillCircle(double cx, double cy, double r, Rgb c, double alpha) {
  paint(cx - r, cy - r, cx + r, cy + r, c, alpha, [=](Pt p) {
    double dx = p.x - cx, dy = p.y - cy;
    return dx * dx + dy * dy <= r * r;
  });
}

void Canvas::fillEllipse(double cx, double cy, double rx, double ry, Rgb c, double angle, double alpha) {
  double cs = std::cos(angle), sn = std::sin(angle);
  double ext = std::max(rx, ry);
  paint(cx - ext, cy - ext, cx + ext, cy + ext, c, alpha, [=](Pt p) {
    double dx = p.x - cx, dy = p.y - cy;
    double u = dx * cs + dy * sn, v = -dx * sn + dy * cs;
    return (u * u) / (rx * rx) + (v * v) / (ry * ry) <= 1.0;
  });
}

void Canvas::fillPolygon(const std::vector<Pt>& pts, Rgb c, double alpha) {
  if (pts.size() < 3) return;
  double minx = pts[0].x, maxx = minx, miny = pts[0].y, maxy = miny;
  for (const Pt& q : pts) {
    minx = std::min(minx, q.x), maxx = std::max(maxx, q.x);
    miny = std::min(miny, q.y), maxy = std::max(maxy, q.y);
  }
  paint(minx, miny, maxx, maxy, c, alpha, [&](Pt p) {
    bool in = false;
    for (size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
      const Pt &a = pts[i], &b = pts[j];
      if ((a.y > p.y) != (b.y > p.y) && p.x < (b.x - a.x) * (p.y - a.y) / (b.y - a.y) + a.x) in = !in;
    }
    return in;
  });
}

void Canvas::fillSector(double cx, double cy, double r, double a0, double a1, Rgb c, double alpha) {
  paint(cx - r, cy - r, cx + r, cy + r, c, alpha, [=](Pt p) {
    double dx = p.x - cx, dy = p.y - cy;
    return dx * dx + dy * dy <= r * r && angleWithin(angleOf(dx, dy), a0, a1);
  });
}

void Canvas::fillRing(double cx, double cy, double r0, double r1, Rgb c, double alpha) {
  paint(cx - r1, cy - r1, cx + r1, cy + r1, c, alpha, [=](Pt p) {
    double dx = p.x - cx, dy = p.y - cy, d2 = dx * dx + dy * dy;
    return d2 <= r1 * r1 && d2 >= r0 * r0;
  });
}

void Canvas::line(double x0, double y0, double x1, double y1, double w, Rgb c, double alpha) {
  double r = w / 2;
  Pt a{x0, y0}, b{x1, y1};
  paint(std::min(x0, x1) - r, std::min(y0, y1) - r, std::max(x0, x1) + r, std::max(y0, y1) + r, c, alpha,
        [=](Pt p) { return segDist2(p, a, b) <= r * r; });
}

void Canvas::polyline(const std::vector<Pt>& pts, double w, Rgb c, bool closed, double alpha) {
  if (pts.empty()) return;
  double r = w / 2;
  double minx = pts[0].x, maxx = minx, miny = pts[0].y, maxy = miny;
  for (const Pt& q : pts) {
    minx = std::min(minx, q.x), maxx = std::max(maxx, q.x);
    miny = std::min(miny, q.y), maxy = std::max(maxy, q.y);
  }
  size_t n = pts.size();
  paint(minx - r, miny - r, maxx + r, maxy + r, c, alpha, [&](Pt p) {
    if (n == 1) return segDist2(p, pts[0], pts[0]) <= r * r;
    size_t segs = closed ? n : n - 1;
    for (size_t i = 0; i < segs; ++i)
      if (segDist2(p, pts[i], pts[(i + 1) % n]) <= r * r) return true;
    return false;
  });
}

void Canvas::arc(double cx, double cy, double r, double a0, double a1, double w, Rgb c, double alpha) {
  double hw = w / 2;
  Pt e0{cx + r * std::cos(a0), cy + r * std::sin(a0)}, e1{cx + r * std::cos(a1), cy + r * std::sin(a1)};
  paint(cx - r - hw, cy - r - hw, cx + r + hw, cy + r + hw, c, alpha, [=](Pt p) {
    double dx = p.x - cx, dy = p.y - cy, d = std::sqrt(dx * dx + dy * dy);
    if (std::fabs(d - r) <= hw && angleWithin(angleOf(dx, dy), a0, a1)) return true;
    // round caps
    double q0 = (p.x - e0.x) * (p.x - e0.x) + (p.y - e0.y) * (p.y - e0.y);
    double q1 = (p.x - e1.x) * (p.x - e1.x) + (p.y - e1.y) * (p.y - e1.y);
    return q0 <= hw * hw || q1 <= hw * hw;
  });
}

void Canvas::circleO(double cx, double cy, double r, Rgb fillc, double ow, Rgb oc) {
  if (ow > 0) fillCircle(cx, cy, r + ow / 2, oc);
  fillCircle(cx, cy, r - ow / 2, fillc);
}

void Canvas::ellipseO(double cx, double cy, double rx, double ry, Rgb fillc, double ow, Rgb oc, double angle) {
  if (ow > 0) fillEllipse(cx, cy, rx + ow / 2, ry + ow / 2, oc, angle);
  fillEllipse(cx, cy, std::max(0.5, rx - ow / 2), std::max(0.5, ry - ow / 2), fillc, angle);
}

void Canvas::polygonO(const std::vector<Pt>& pts, Rgb fillc, double ow, Rgb oc) {
  fillPolygon(pts, fillc);
  if (ow > 0) polyline(pts, ow, oc, true);
}

void Canvas::roundRectO(double x0, double y0, double x1, double y1, double r, Rgb fillc, double ow, Rgb oc) {
  if (ow > 0) fillRoundRect(x0 - ow / 2, y0 - ow / 2, x1 + ow / 2, y1 + ow / 2, r + ow / 2, oc);
  fillRoundRect(x0 + ow / 2, y0 + ow / 2, x1 - ow / 2, y1 - ow / 2, std::max(0.0, r - ow / 2), fillc);
}

void Canvas::blit(const Canvas& src, int x, int y, const Rgb* key) {
  for (int sy = 0; sy < src.height(); ++sy) {
    int dy = y + sy;
    if (dy < 0 || dy >= height_) continue;
    for (int sx = 0; sx < src.width(); ++sx) {
      int dx = x + sx;
      if (dx < 0 || dx >= width_) continue;
      Rgb c = src.at(sx, sy);
      if (key && c == *key) continue;
      at(dx, dy) = c;
    }
  }
}

Canvas Canvas::resized(int w, int h) const {
  Canvas out(w, h, rgb(0, 0, 0));
  for (int y = 0; y < h; ++y) {
    double sy0 = double(y) * height_ / h, sy1 = double(y + 1) * height_ / h;
    for (int x = 0; x < w; ++x) {
      double sx0 = double(x) * width_ / w, sx1 = double(x + 1) * width_ / w;
      double r = 0, g = 0, b = 0, wsum = 0;
      for (int yy = int(sy0); yy < std::min(height_, int(std::ceil(sy1))); ++yy) {
        double wy = std::min(sy1, yy + 1.0) - std::max(sy0, double(yy));
        for (int xx = int(sx0); xx < std::min(width_, int(std::ceil(sx1))); ++xx) {
          double wx = std::min(sx1, xx + 1.0) - std::max(sx0, double(xx));
          double wgt = wx * wy;
          Rgb c = at(xx, yy);
          r += c.r * wgt, g += c.g * wgt, b += c.b * wgt, wsum += wgt;
        }
      }
      if (wsum > 0) out.at(x, y) = Rgb{clamp8(r / wsum), clamp8(g / wsum), clamp8(b / wsum)};
    }
  }
  return out;
}

std::vector<Pt> Canvas::bezier(Pt p0, Pt p1, Pt p2, int steps) {
  std::vector<Pt> out;
  for (int i = 0; i <= steps; ++i) {
    double t = double(i) / steps, u = 1 - t;
    out.push_back({u * u * p0.x + 2 * u * t * p1.x + t * t * p2.x, u * u * p0.y + 2 * u * t * p1.y + t * t * p2.y});
  }
  return out;
}

std::vector<Pt> Canvas::bezier(Pt p0, Pt p1, Pt p2, Pt p3, int steps) {
  std::vector<Pt> out;
  for (int i = 0; i <= steps; ++i) {
    double t = double(i) / steps, u = 1 - t;
    double a = u * u * u, b = 3 * u * u * t, c = 3 * u * t * t, d = t * t * t;
    out.push_back({a * p0.x + b * p1.x + c * p2.x + d * p3.x, a * p0.y + b * p1.y + c * p2.y + d * p3.y});
  }
  return out;
}

std::vector<Pt> Canvas::star(double cx, double cy, double r0, double r1, int points, double rot) {
  std::vector<Pt> out;
  for (int i = 0; i < points * 2; ++i) {
    double a = rot - kPi / 2 + i * kPi / points;
    double r = (i % 2 == 0) ? r1 : r0;
    out.push_back({cx + r * std::cos(a), cy + r * std::sin(a)});
  }
  return out;
}

}  // namespace gen
