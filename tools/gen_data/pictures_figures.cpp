// The two players of rock-paper-scissors: the boy (the child, standing on the
// right and facing left) and the mouse (the computer, on the left, facing
// right), each in seven poses: rock, scissors and paper plain and winning,
// and the fist shaken before the signs are shown.
#include <cmath>
#include <string>
#include <tuple>

#include "art.h"
#include "figures.h"
#include "output.h"

namespace gen {

namespace {

constexpr int W = 225, H = 295;
constexpr double OW = 3.0;

struct Look {
  bool mouse;
  Rgb skin, shirt, trousers, hair;
};

const Look kBoy{false, col::skin, rgb(230, 50, 45), rgb(50, 90, 190), rgb(120, 70, 30)};
const Look kMouse{true, rgb(255, 190, 200), rgb(255, 200, 40), rgb(60, 150, 90), rgb(160, 160, 168)};

// Arm: a thick outlined capsule between two points.
void limb(Canvas& c, Pt a, Pt b, double w, Rgb fill) {
  c.line(a.x, a.y, b.x, b.y, w + 2 * OW, col::black);
  c.line(a.x, a.y, b.x, b.y, w, fill);
}

void background(Canvas& c, bool winning) {
  if (!winning) return;
  for (int i = 0; i < 16; ++i) {
    double a = i * kPi / 8;
    c.fillPolygon({{112, 140},
                   {112 + 200 * std::cos(a - 0.09), 140 + 200 * std::sin(a - 0.09)},
                   {112 + 200 * std::cos(a + 0.09), 140 + 200 * std::sin(a + 0.09)}},
                  rgb(40, 160, 40), 0.8);
  }
  for (auto [x, y, r] : {std::tuple{30.0, 40.0, 10.0}, {196.0, 30.0, 8.0}, {206.0, 230.0, 9.0}, {22.0, 200.0, 7.0}})
    c.polygonO(Canvas::star(x, y, r * 0.45, r, 5), col::yellow, 1.6, col::orange);
}

void head(Canvas& c, const Look& l, bool winning, bool shaking) {
  const double cx = 100, cy = 78;
  if (l.mouse) {
    for (int s : {-1, 1}) {
      c.circleO(cx + s * 38 - 6, cy - 38, 26, l.hair, OW);
      c.fillCircle(cx + s * 38 - 6, cy - 38, 16, l.skin);
    }
    c.ellipseO(cx + 4, cy, 46, 42, l.hair, OW);
    // the snout, pointing the way the mouse faces
    c.ellipseO(cx + 42, cy + 14, 26, 18, lighten(l.hair, 0.35), OW, col::black, -0.1);
    c.circleO(cx + 66, cy + 8, 8, col::pink, 2.4);
    for (int k = -1; k <= 1; ++k) c.line(cx + 52, cy + 18 + k * 2, cx + 90, cy + 12 + k * 9, 1.6, col::black);
  } else {
    c.circleO(cx, cy, 46, l.skin, OW);
    c.fillEllipse(cx + 46, cy + 4, 7, 10, l.skin);
    c.fillPolygon({{cx - 46, cy - 2}, {cx - 44, cy - 30}, {cx - 20, cy - 50}, {cx + 16, cy - 52},
                   {cx + 44, cy - 30}, {cx + 48, cy - 10}, {cx + 30, cy - 24}, {cx + 8, cy - 20},
                   {cx - 12, cy - 28}, {cx - 30, cy - 18}},
                  l.hair);
    c.polyline({{cx - 46, cy - 2}, {cx - 44, cy - 30}, {cx - 20, cy - 50}, {cx + 16, cy - 52}, {cx + 44, cy - 30},
                {cx + 48, cy - 10}},
               OW, col::black);
    c.ellipseO(cx - 44, cy + 6, 8, 11, l.skin, 2.4);
    c.fillEllipse(cx + 40, cy + 12, 6, 3, col::pink, 0, 0.5);
  }
  // eyes look forward (to the right before mirroring)
  double ex = l.mouse ? cx + 14 : cx + 8, ey = cy - 6;
  if (winning) {
    c.arc(ex - 12, ey + 4, 8, kPi + 0.4, 2 * kPi - 0.4, 3, col::black);
    c.arc(ex + 14, ey + 4, 8, kPi + 0.4, 2 * kPi - 0.4, 3, col::black);
  } else {
    drawEye(c, ex - 12, ey, 9, 0.8, shaking ? -0.3 : 0);
    drawEye(c, ex + 14, ey, 9, 0.8, shaking ? -0.3 : 0);
  }
  if (shaking) {
    c.line(ex - 22, ey - 16, ex - 4, ey - 12, 3, col::black);
    c.line(ex + 24, ey - 16, ex + 6, ey - 12, 3, col::black);
  }
  double mx = l.mouse ? cx + 30 : cx + 10, my = l.mouse ? cy + 30 : cy + 26;
  if (winning) {
    c.fillSector(mx, my - 4, 16, 0, kPi, col::darkRed);
    c.fillRect(mx - 16, my - 5, mx + 16, my - 3, col::black);
    c.arc(mx, my - 4, 16, 0, kPi, 3, col::black);
    c.fillEllipse(mx, my + 6, 8, 4, col::pink);
  } else if (shaking) {
    c.line(mx - 10, my, mx + 10, my, 3.2, col::black);
  } else {
    c.arc(mx, my - 10, 12, 0.5, kPi - 0.5, 3, col::black);
  }
}

void body(Canvas& c, const Look& l) {
  if (l.mouse) c.polyline(Canvas::bezier({60, 220}, {10, 240}, {30, 160}, {4, 140}), 5, col::pink);
  // legs and shoes
  limb(c, {82, 220}, {80, 272}, 20, l.trousers);
  limb(c, {116, 220}, {120, 272}, 20, l.trousers);
  c.ellipseO(88, 280, 20, 9, l.mouse ? col::pink : col::darkGrey, OW);
  c.ellipseO(128, 280, 20, 9, l.mouse ? col::pink : col::darkGrey, OW);
  c.roundRectO(60, 126, 140, 232, 22, l.shirt, OW);
  if (l.mouse) {
    c.fillRoundRect(70, 190, 130, 232, 12, l.trousers);
    c.fillRect(78, 150, 86, 196, l.trousers);
    c.fillRect(114, 150, 122, 196, l.trousers);
  } else {
    c.fillRect(64, 196, 136, 230, l.trousers);
    c.polygonO(Canvas::star(100, 164, 8, 18, 5), col::yellow, 2, col::orange);
  }
  c.polyline({{60, 196}, {140, 196}}, 2, col::black);
}

}  // namespace

void drawHand(Canvas& c, int sign, Rgb skin) {
  // Origin at the wrist, fingers towards +x, thumb up.
  auto finger = [&](Pt a, Pt b, double w) {
    c.line(a.x, a.y, b.x, b.y, w + 2 * OW, col::black);
    c.line(a.x, a.y, b.x, b.y, w, skin);
  };
  if (sign == 3) {  // paper: the open hand
    for (int i = 0; i < 4; ++i) finger({18, -14.0 + i * 9}, {52 - std::abs(i - 1.2) * 4, -18.0 + i * 11}, 9);
    finger({10, -16}, {26, -36}, 10);
    c.roundRectO(-4, -22, 26, 22, 10, skin, OW);
    c.fillRoundRect(12, -20, 24, 20, 6, skin);
    return;
  }
  if (sign == 2) {  // scissors: two fingers out
    finger({16, -10}, {52, -28}, 9);
    finger({16, -2}, {54, 8}, 9);
  }
  c.roundRectO(-6, -20, 24, 22, 11, skin, OW);
  for (int i = 0; i < 4; ++i) {
    if (sign == 2 && i < 2) continue;
    c.circleO(24, -13.0 + i * 9.5, 6.2, skin, 2.4);
  }
  finger({0, -18}, {18, -20}, 9);  // thumb over the fingers
}

Canvas figure(bool mouse, int pose, bool winning) {
  const Look& l = mouse ? kMouse : kBoy;
  Canvas c(W, H, col::formGreen);
  if (!mouse) c.mirrorX(W / 2.0);  // the boy faces left
  background(c, winning);
  const bool shaking = pose == 4;
  Pt shoulderBack{72, 146}, shoulderFront{128, 146};
  // back arm: hanging, or raised in triumph
  if (winning) {
    limb(c, shoulderBack, {44, 96}, 18, l.mouse ? l.hair : l.shirt);
    c.push();
    c.translate(40, 82);
    c.rotate(-kPi / 2);
    drawHand(c, 1, l.skin);
    c.pop();
  } else {
    limb(c, shoulderBack, {54, 210}, 18, l.mouse ? l.hair : l.shirt);
    c.circleO(52, 216, 11, l.skin, OW);
  }
  body(c, l);
  head(c, l, winning, shaking);
  if (shaking) {
    limb(c, shoulderFront, {178, 170}, 18, l.mouse ? l.hair : l.shirt);
    limb(c, {178, 170}, {194, 134}, 16, l.mouse ? l.hair : l.shirt);
    c.push();
    c.translate(196, 126);
    c.rotate(-kPi / 2 + 0.15);
    drawHand(c, 1, l.skin);
    c.pop();
    for (int k = 0; k < 3; ++k) c.arc(198, 112, 30 + k * 7, -2.1, -1.1, 2.6, col::white);
  } else {
    limb(c, shoulderFront, {160, 168}, 18, l.mouse ? l.hair : l.shirt);
    c.push();
    c.translate(158, 168);
    c.scale(1.15, 1.15);
    drawHand(c, pose, l.skin);
    c.pop();
  }
  return c;
}

void addFigureJobs(Jobs& jobs) {
  for (int m = 0; m < 2; ++m) {
    jobs.push_back({std::string("figure ") + (m ? "mouse" : "boy"), [m](Output& out) {
                      const std::string base = m ? "obrazky/mysak_" : "obrazky/kluk_";
                      for (int pose = 1; pose <= 4; ++pose) {
                        out.dataBmp8(base + std::to_string(pose) + ".bmp", figure(m == 1, pose, false));
                        if (pose < 4) out.dataBmp8(base + std::to_string(pose) + "a.bmp", figure(m == 1, pose, true));
                      }
                    }});
  }
}

}  // namespace gen
