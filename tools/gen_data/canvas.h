#pragma once
// A small anti-aliased vector rasteriser for the generated pictures.
//
// Every shape is given in local coordinates and drawn through the canvas's
// current affine transform, so one drawing routine can be mirrored, rotated
// or scaled. Each pixel is sampled on a 4x4 grid; the covered fraction blends
// the shape's colour over what is already there. With anti-aliasing switched
// off a pixel is either painted or left alone, which the pictures that need
// exact colours (disabled glyph cells, cursors, corner bitmaps) rely on.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace gen {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  bool operator==(const Rgb&) const = default;
};

constexpr Rgb rgb(int r, int g, int b) { return Rgb{uint8_t(r), uint8_t(g), uint8_t(b)}; }
Rgb mix(Rgb a, Rgb b, double t);             // a*(1-t) + b*t
Rgb lighten(Rgb c, double t);                // towards white
Rgb darken(Rgb c, double t);                 // towards black

struct Pt {
  double x = 0, y = 0;
};

struct Affine {
  // x' = a*x + b*y + c ; y' = d*x + e*y + f
  double a = 1, b = 0, c = 0, d = 0, e = 1, f = 0;
  Pt apply(Pt p) const { return {a * p.x + b * p.y + c, d * p.x + e * p.y + f}; }
  Affine then(const Affine& o) const;  // first this, then o
  Affine inverse() const;
  double scale() const;  // mean linear scale, for stroke widths
  static Affine translate(double x, double y) { return {1, 0, x, 0, 1, y}; }
  static Affine scaling(double sx, double sy) { return {sx, 0, 0, 0, sy, 0}; }
  static Affine rotation(double radians);
};

class Canvas {
 public:
  Canvas(int width, int height, Rgb fill);

  int width() const { return width_; }
  int height() const { return height_; }
  Rgb& at(int x, int y) { return px_[size_t(y) * width_ + x]; }
  Rgb at(int x, int y) const { return px_[size_t(y) * width_ + x]; }
  const std::vector<Rgb>& pixels() const { return px_; }

  void setAntiAlias(bool on) { aa_ = on; }
  bool antiAlias() const { return aa_; }

  // Transform stack: push() saves the current transform, the helpers compose
  // a new step in local coordinates, pop() restores.
  void push();
  void pop();
  void translate(double x, double y);
  void scale(double sx, double sy);
  void rotate(double radians);
  void mirrorX(double axisX);  // mirror left-right about x = axisX (local)
  const Affine& transform() const { return t_; }

  void fill(Rgb c);
  void fillRect(double x0, double y0, double x1, double y1, Rgb c, double alpha = 1);
  void fillRoundRect(double x0, double y0, double x1, double y1, double r, Rgb c, double alpha = 1);
  void fillCircle(double cx, double cy, double r, Rgb c, double alpha = 1);
  void fillEllipse(double cx, double cy, double rx, double ry, Rgb c, double angle = 0, double alpha = 1);
  void fillPolygon(const std::vector<Pt>& pts, Rgb c, double alpha = 1);
  void fillSector(double cx, double cy, double r, double a0, double a1, Rgb c, double alpha = 1);
  void fillRing(double cx, double cy, double r0, double r1, Rgb c, double alpha = 1);
  void line(double x0, double y0, double x1, double y1, double w, Rgb c, double alpha = 1);
  void polyline(const std::vector<Pt>& pts, double w, Rgb c, bool closed = false, double alpha = 1);
  void arc(double cx, double cy, double r, double a0, double a1, double w, Rgb c, double alpha = 1);

  // Outlined shapes: the outline (width ow, colour oc) is drawn around the fill.
  void circleO(double cx, double cy, double r, Rgb fill, double ow, Rgb oc = rgb(0, 0, 0));
  void ellipseO(double cx, double cy, double rx, double ry, Rgb fill, double ow, Rgb oc = rgb(0, 0, 0),
                double angle = 0);
  void polygonO(const std::vector<Pt>& pts, Rgb fill, double ow, Rgb oc = rgb(0, 0, 0));
  void roundRectO(double x0, double y0, double x1, double y1, double r, Rgb fill, double ow,
                  Rgb oc = rgb(0, 0, 0));

  // Copies another canvas at (x, y) in pixel coordinates, leaving out its pixels of colour key.
  void blit(const Canvas& src, int x, int y, const Rgb* key = nullptr);
  // A box-filtered copy at another size.
  Canvas resized(int w, int h) const;

  // Points of a quadratic or cubic Bezier curve, for polylines and polygons.
  static std::vector<Pt> bezier(Pt p0, Pt p1, Pt p2, int steps = 16);
  static std::vector<Pt> bezier(Pt p0, Pt p1, Pt p2, Pt p3, int steps = 20);
  static std::vector<Pt> star(double cx, double cy, double r0, double r1, int points, double rot = 0);

 private:
  template <class Inside>
  void paint(double bx0, double by0, double bx1, double by1, Rgb c, double alpha, Inside inside);

  int width_, height_;
  std::vector<Rgb> px_;
  bool aa_ = true;
  Affine t_;
  std::vector<Affine> stack_;
};

}  // namespace gen
