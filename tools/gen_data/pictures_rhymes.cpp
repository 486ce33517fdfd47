// The counting-out circle of the rhymes program: eight children's faces, each
// also as the face that was counted out, and eight arrows pointing from the
// middle of the circle at each face.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "art.h"
#include "output.h"
#include "pictures_rhymes.h"

namespace gen {

namespace {

constexpr double OW = 3.0;
// The rays end this far (in hundredths of the face's size) inside its frame.
constexpr double kRayMargin = 3.0;

// How far a ray from (x, y) in direction `a` goes before it comes within `margin`
// of the edge of the 100x100 frame.
double reachInFrame(double x, double y, double a, double margin) {
  double dx = std::cos(a), dy = std::sin(a), reach = 1e9;
  if (dx > 1e-9) reach = std::min(reach, (100 - margin - x) / dx);
  if (dx < -1e-9) reach = std::min(reach, (margin - x) / dx);
  if (dy > 1e-9) reach = std::min(reach, (100 - margin - y) / dy);
  if (dy < -1e-9) reach = std::min(reach, (margin - y) / dy);
  return reach;
}

// The faces' places on the form (105x105 each) and the arrow control's, 180x180.
constexpr int kFacePlaces[8][2] = {{166, 2}, {285, 48}, {307, 164}, {285, 272}, {166, 293}, {37, 278}, {2, 160}, {37, 34}};
constexpr double kArrowLeft = 127, kArrowTop = 122, kArrowSize = 180, kFaceSize = 105;
// The faces stand over the arrow's picture: the arrow keeps this far (pixels) from them.
constexpr double kFaceClearance = 5.0;

// The arrow pointing along +x from the middle, its tip at `tip`: shaft, head and tail.
std::vector<Pt> arrowBody(double tip) {
  return {{-26, -9}, {tip - 42, -9}, {tip - 42, -24}, {tip, 0}, {tip - 42, 24}, {tip - 42, 9}, {-26, 9}};
}
const std::vector<Pt> kArrowTail = {{-46, -16}, {-26, -9}, {-26, 9}, {-46, 16}, {-38, 0}};

// Whether the outline `shape` turned to face k keeps clear of every face.
bool clearOfFaces(const std::vector<Pt>& shape, int k) {
  double a = arrowAngle(k), ca = std::cos(a), sa = std::sin(a);
  for (size_t i = 0; i < shape.size(); ++i) {
    Pt p = shape[i], q = shape[(i + 1) % shape.size()];
    for (int step = 0; step <= 20; ++step) {
      double t = step / 20.0, lx = p.x + (q.x - p.x) * t, ly = p.y + (q.y - p.y) * t;
      double x = kArrowLeft + kArrowSize / 2 + lx * ca - ly * sa, y = kArrowTop + kArrowSize / 2 + lx * sa + ly * ca;
      for (const auto& f : kFacePlaces)
        if (x > f[0] - kFaceClearance && x < f[0] + kFaceSize + kFaceClearance && y > f[1] - kFaceClearance &&
            y < f[1] + kFaceSize + kFaceClearance)
          return false;
    }
  }
  return true;
}

// The tip's distance from the middle, the same for all eight arrows: as long as the
// faces leave room for.
double arrowTip() {
  double tip = 86;
  auto fits = [](double t) {
    for (int k = 1; k <= 8; ++k)
      if (!clearOfFaces(arrowBody(t), k) || !clearOfFaces(kArrowTail, k)) return false;
    return true;
  };
  while (tip > 60 && !fits(tip)) tip -= 0.5;
  return tip;
}

struct Kid {
  Rgb skin, hair;
  int hairStyle;  // 0 short, 1 pigtails, 2 cap, 3 bow, 4 spiky, 5 bangs, 6 curly, 7 flower
  bool glasses, freckles;
};

const Kid kKids[8] = {
    {col::skin, rgb(120, 70, 30), 0, false, false},         {col::skin, rgb(245, 200, 80), 1, false, false},
    {rgb(240, 190, 150), rgb(30, 30, 30), 2, false, false}, {col::skin, rgb(210, 80, 30), 3, false, true},
    {col::skin, rgb(250, 220, 120), 4, true, false},       {rgb(245, 205, 170), rgb(20, 20, 40), 5, false, false},
    {col::skin, rgb(230, 110, 40), 6, false, true},        {rgb(200, 140, 100), rgb(80, 45, 20), 7, false, false}};

void kidFace(Canvas& c, const Kid& k, bool countedOut) {
  // 100x100 box, face centred at (50, 54).
  const double cx = 50, cy = 54;
  if (k.hairStyle == 1) {
    c.ellipseO(14, 62, 9, 16, k.hair, 2.4, col::black, 0.4);
    c.ellipseO(86, 62, 9, 16, k.hair, 2.4, col::black, -0.4);
  }
  if (k.hairStyle == 6) {
    for (int i = 0; i < 9; ++i) {
      double a = kPi + i * kPi / 8;
      c.circleO(cx + 34 * std::cos(a), cy - 4 + 32 * std::sin(a), 10, k.hair, 2.4);
    }
  }
  c.circleO(cx, cy, 34, k.skin, OW);
  c.ellipseO(cx - 34, cy + 4, 6, 8, k.skin, 2.2);
  c.ellipseO(cx + 34, cy + 4, 6, 8, k.skin, 2.2);
  // hair on top
  std::vector<Pt> top;
  for (int i = 0; i <= 24; ++i) {
    double a = kPi + kPi * i / 24;
    top.push_back({cx + 35 * std::cos(a), cy - 2 + 34 * std::sin(a)});
  }
  switch (k.hairStyle) {
    case 4:
      for (int i = 0; i < 7; ++i) {
        double x = 22 + i * 9.3;
        c.polygonO({{x - 6, 34}, {x, 10.0 + (i % 2) * 6}, {x + 6, 34}}, k.hair, 2);
      }
      break;
    case 5: top.push_back({cx + 30, cy - 8}), top.push_back({cx - 30, cy - 8}); break;
    default: top.push_back({cx + 20, cy - 18}), top.push_back({cx, cy - 22}), top.push_back({cx - 24, cy - 16}); break;
  }
  if (k.hairStyle != 6) c.polygonO(top, k.hair, 2.4);
  if (k.hairStyle == 2) {
    c.fillSector(cx, cy - 20, 30, kPi, 2 * kPi, col::red);
    c.fillRoundRect(cx - 2, cy - 24, cx + 44, cy - 17, 3, col::darkRed);
    c.arc(cx, cy - 20, 30, kPi, 2 * kPi, OW, col::black);
  }
  if (k.hairStyle == 3) {
    c.polygonO({{70, 22}, {84, 12}, {84, 32}}, col::pink, 2);
    c.polygonO({{70, 22}, {56, 12}, {56, 32}}, col::pink, 2);
    c.circleO(70, 22, 4, col::red, 1.6);
  }
  if (k.hairStyle == 7) {
    for (int i = 0; i < 5; ++i) c.circleO(74 + 6 * std::cos(i * 1.256), 24 + 6 * std::sin(i * 1.256), 4, col::white, 1.2);
    c.fillCircle(74, 24, 3, col::yellow);
  }
  // eyes
  if (countedOut) {
    c.arc(38, 56, 7, kPi + 0.4, 2 * kPi - 0.4, 3, col::black);
    c.arc(62, 56, 7, kPi + 0.4, 2 * kPi - 0.4, 3, col::black);
  } else {
    drawEye(c, 38, 52, 7);
    drawEye(c, 62, 52, 7);
  }
  if (k.glasses) {
    c.fillRing(38, 53, 9, 11.5, col::blue);
    c.fillRing(62, 53, 9, 11.5, col::blue);
    c.line(47, 52, 53, 52, 2, col::blue);
  }
  if (k.freckles)
    for (auto [x, y] : {std::pair{30.0, 64.0}, {34.0, 67.0}, {27.0, 68.0}, {70.0, 64.0}, {66.0, 67.0}, {73.0, 68.0}})
      c.fillCircle(x, y, 1.3, rgb(180, 90, 40));
  c.fillEllipse(28, 68, 5, 3, rgb(255, 140, 140), 0, 0.5);
  c.fillEllipse(72, 68, 5, 3, rgb(255, 140, 140), 0, 0.5);
  c.fillCircle(50, 62, 3, darken(k.skin, 0.15));
  if (countedOut) {
    c.fillSector(50, 70, 13, 0, kPi, col::darkRed);
    c.arc(50, 70, 13, 0, kPi, 2.6, col::black);
    c.line(37, 70, 63, 70, 2.6, col::black);
    c.fillEllipse(50, 78, 6, 3, col::pink);
  } else {
    c.arc(50, 64, 11, 0.5, kPi - 0.5, 2.6, col::black);
  }
}

}  // namespace

Canvas faceBitmap(int n, bool countedOut, int size) {
  Canvas c(size, size, col::formGreen);
  c.scale(size / 100.0, size / 100.0);
  if (countedOut) {
    // The sunburst's rays reach as far as the square frame allows and end inside it,
    // so none is cut off by the picture's edge.
    for (int i = 0; i < 12; ++i) {
      double a = kPi / 12 + i * kPi / 6;
      double reach = 60;
      for (double side : {a - 0.16, a + 0.16}) reach = std::min(reach, reachInFrame(50, 52, side, kRayMargin));
      c.fillPolygon({{50, 52},
                     {50 + reach * std::cos(a - 0.16), 52 + reach * std::sin(a - 0.16)},
                     {50 + reach * std::cos(a + 0.16), 52 + reach * std::sin(a + 0.16)}},
                    col::yellow);
    }
    c.circleO(50, 52, 41, col::orange, 2.4, col::red);
  } else {
    c.circleO(50, 52, 45, rgb(60, 170, 60), 2.4, rgb(20, 90, 20));
  }
  kidFace(c, kKids[(n - 1) % 8], countedOut);
  return c;
}

// The arrow's picture is centred in its control; each arrow points from there at
// the middle of its face.
double arrowAngle(int k) {
  double fx = kFacePlaces[k - 1][0] + kFaceSize / 2, fy = kFacePlaces[k - 1][1] + kFaceSize / 2;
  return std::atan2(fy - (kArrowTop + kArrowSize / 2), fx - (kArrowLeft + kArrowSize / 2));
}

Canvas arrowBitmap(int k) {
  Canvas c(180, 180, col::formGreen);
  c.push();
  c.translate(90, 90);
  c.rotate(arrowAngle(k));
  // Pointing along +x from the middle, within the room the faces leave.
  static const double tip = arrowTip();
  c.polygonO(arrowBody(tip), col::red, 4, col::black);
  c.fillPolygon({{-22, -5}, {tip - 42, -5}, {tip - 42, -2}, {-22, -2}}, lighten(col::red, 0.4));
  c.polygonO(kArrowTail, col::yellow, 3);
  c.pop();
  c.circleO(90, 90, 17, col::yellow, 3.4);
  c.fillCircle(84, 86, 2.4, col::black);
  c.fillCircle(96, 86, 2.4, col::black);
  drawSmile(c, 90, 93, 12, 2.2);
  return c;
}

void addRhymePictureJobs(Jobs& jobs) {
  jobs.push_back({"faces", [](Output& out) {
                    for (int n = 1; n <= 8; ++n) {
                      out.dataBmp8("obrazky/obl_" + std::to_string(n) + ".bmp", faceBitmap(n, false, 105));
                      out.dataBmp8("obrazky/obl_" + std::to_string(n) + "a.bmp", faceBitmap(n, true, 105));
                    }
                  }});
  jobs.push_back({"arrows", [](Output& out) {
                    for (int k = 1; k <= 8; ++k) out.dataBmp8("obrazky/sipka" + std::to_string(k) + ".bmp", arrowBitmap(k));
                  }});
}

}  // namespace gen
