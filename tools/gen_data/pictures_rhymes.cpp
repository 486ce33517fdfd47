// The counting-out circle of the rhymes program: eight children's faces, each
// also as the face that was counted out, and eight arrows pointing from the
// middle of the circle at each face.
#include <cmath>
#include <string>
#include <vector>

#include "art.h"
#include "output.h"
#include "pictures_rhymes.h"

namespace gen {

namespace {

constexpr double OW = 3.0;

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
    for (int i = 0; i < 12; ++i) {
      double a = i * kPi / 6;
      c.fillPolygon({{50, 52},
                     {50 + 60 * std::cos(a - 0.16), 52 + 60 * std::sin(a - 0.16)},
                     {50 + 60 * std::cos(a + 0.16), 52 + 60 * std::sin(a + 0.16)}},
                    col::yellow);
    }
    c.circleO(50, 52, 45, col::orange, 2.4, col::red);
  } else {
    c.circleO(50, 52, 45, rgb(60, 170, 60), 2.4, rgb(20, 90, 20));
  }
  kidFace(c, kKids[(n - 1) % 8], countedOut);
  return c;
}

// Face k stands at these form positions; the arrow's picture is centred at
// (127 + 90, 122 + 90). Each arrow points from there at the middle of its face.
double arrowAngle(int k) {
  static const int pos[8][2] = {{166, 2}, {285, 48}, {307, 164}, {285, 272}, {166, 293}, {37, 278}, {2, 160}, {37, 34}};
  double fx = pos[k - 1][0] + 52.5, fy = pos[k - 1][1] + 52.5;
  return std::atan2(fy - (122 + 90), fx - (127 + 90));
}

Canvas arrowBitmap(int k) {
  Canvas c(180, 180, col::formGreen);
  c.push();
  c.translate(90, 90);
  c.rotate(arrowAngle(k));
  // Pointing along +x from the middle.
  std::vector<Pt> shape = {{-26, -9}, {44, -9}, {44, -24}, {86, 0}, {44, 24}, {44, 9}, {-26, 9}};
  c.polygonO(shape, col::red, 4, col::black);
  c.fillPolygon({{-22, -5}, {44, -5}, {44, -2}, {-22, -2}}, lighten(col::red, 0.4));
  c.polygonO({{-46, -16}, {-26, -9}, {-26, 9}, {-46, 16}, {-38, 0}}, col::yellow, 3);
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
