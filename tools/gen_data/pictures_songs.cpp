// The four song pictures (640x424). The song's words are drawn over the left
// part (x 4..340, y 4..332): in black, and coloured red as they are sung, or
// yellow in the rain song. Behind them the ground stays plain, light for black
// and red, a mid grey-blue for black and yellow, and the scene keeps to the
// right and below.
#include <cmath>
#include <string>
#include <vector>

#include "art.h"
#include "output.h"
#include "synth.h"

namespace gen {

namespace {

constexpr int W = 640, H = 424;
constexpr double OW = 3.0;

void gradient(Canvas& c, double y0, double y1, Rgb top, Rgb bottom) {
  for (int y = int(y0); y < int(y1); ++y) c.fillRect(0, y, W, y + 1, mix(top, bottom, (y - y0) / (y1 - y0)));
}

void grassTufts(Canvas& c, double y0, double y1, Rgb colour, uint64_t seed, int count, double xmin) {
  Rng r(seed);
  for (int i = 0; i < count; ++i) {
    double x = xmin + r.uniform() * (W - xmin), y = y0 + r.uniform() * (y1 - y0);
    c.line(x, y, x - 3, y - 9, 1.6, colour);
    c.line(x, y, x + 3, y - 10, 1.6, colour);
  }
}

void flowers(Canvas& c, double y0, double y1, uint64_t seed, int count, double xmin) {
  Rng r(seed);
  const Rgb cols[4] = {col::red, col::yellow, col::white, col::pink};
  for (int i = 0; i < count; ++i) {
    double x = xmin + r.uniform() * (W - xmin - 10), y = y0 + r.uniform() * (y1 - y0);
    Rgb p = cols[r.below(4)];
    for (int k = 0; k < 5; ++k) c.fillCircle(x + 4 * std::cos(k * 1.256), y + 4 * std::sin(k * 1.256), 3, p);
    c.fillCircle(x, y, 2, col::orange);
  }
}

void sunInSky(Canvas& c, double x, double y, double r) {
  for (int i = 0; i < 12; ++i) {
    double a = i * kPi / 6;
    c.line(x + (r + 6) * std::cos(a), y + (r + 6) * std::sin(a), x + (r + 22) * std::cos(a),
           y + (r + 22) * std::sin(a), 4, col::orange);
  }
  c.circleO(x, y, r, col::yellow, 3, col::orange);
}

void smallGirl(Canvas& c, double x, double y, double s, Rgb dress) {
  c.push();
  c.translate(x, y);
  c.scale(s, s);
  c.line(-8, 40, -10, 70, 6, col::black);
  c.line(8, 40, 10, 70, 6, col::black);
  c.polygonO({{-10, -6}, {10, -6}, {26, 46}, {-26, 46}}, dress, OW);
  c.fillRect(-26, 38, 26, 42, col::white);
  c.line(-8, 0, -30, 26, 6, col::black);
  c.line(-8, 0, -30, 26, 3.5, col::skin);
  c.line(8, 0, 32, -14, 6, col::black);
  c.line(8, 0, 32, -14, 3.5, col::skin);
  c.line(34, -40, 30, 30, 3, col::brown);  // the stick for the geese
  c.pop();
  drawGirlFace(c, x, y - 30 * s, 0.75 * s, true);
}

void song1(Canvas& c) {
  gradient(c, 0, 260, rgb(200, 230, 255), rgb(240, 250, 255));
  drawCloud(c, 390, 48, 1.1, col::white);
  drawCloud(c, 455, 104, 1.0, col::white);
  sunInSky(c, 560, 70, 34);
  c.fillPolygon({{0, 250}, {200, 230}, {420, 236}, {640, 220}, {640, 424}, {0, 424}}, rgb(205, 240, 170));
  c.polyline({{0, 250}, {200, 230}, {420, 236}, {640, 220}}, 3, rgb(120, 190, 90));
  grassTufts(c, 260, 420, rgb(120, 190, 90), 11, 90, 0);
  flowers(c, 260, 416, 12, 26, 340);
  smallGirl(c, 520, 250, 1.6, rgb(230, 70, 90));
  drawGoose(c, 400, 330, 1.3, 0.1);
  drawGoose(c, 470, 370, 1.2, 0.6);
  drawGoose(c, 570, 376, 1.0, 0.3);
}

void song2(Canvas& c) {
  gradient(c, 0, 330, rgb(255, 248, 230), rgb(250, 236, 210));
  c.fillRect(0, 330, W, H, rgb(225, 190, 140));
  for (int i = 0; i < 8; ++i) c.line(0, 340 + i * 12, W, 340 + i * 12, 1.5, rgb(200, 160, 110));
  // a window with a little curtain
  c.roundRectO(380, 40, 470, 130, 4, rgb(180, 220, 255), OW, col::brown);
  c.line(425, 40, 425, 130, 3, col::brown);
  c.line(380, 85, 470, 85, 3, col::brown);
  c.fillPolygon({{380, 40}, {405, 40}, {390, 130}, {380, 130}}, rgb(240, 120, 120));
  c.fillPolygon({{470, 40}, {445, 40}, {460, 130}, {470, 130}}, rgb(240, 120, 120));
  drawStove(c, 500, 262, 2.3, 0.6);
  // a cat watching from the floor
  c.ellipseO(370, 366, 26, 16, rgb(120, 120, 130), OW);
  c.circleO(342, 344, 15, rgb(120, 120, 130), OW);
  c.polygonO({{330, 336}, {332, 320}, {342, 330}}, rgb(120, 120, 130), 2);
  c.polygonO({{354, 336}, {352, 320}, {342, 330}}, rgb(120, 120, 130), 2);
  drawEye(c, 337, 342, 4, 1, -0.5);
  drawEye(c, 348, 342, 4, 1, -0.5);
  c.polyline(Canvas::bezier({396, 370}, {416, 372}, {414, 342}), 5, rgb(120, 120, 130));
}

void pony(Canvas& c, double x, double y, double s) {
  c.push();
  c.translate(x, y);
  c.scale(s, s);
  const Rgb coat = rgb(190, 120, 70), mane = rgb(90, 50, 20);
  for (double lx : {-34.0, -20.0, 22.0, 36.0}) {
    c.line(lx, 10, lx, 52, 10, col::black);
    c.line(lx, 10, lx, 50, 6.5, coat);
    c.fillRect(lx - 5, 50, lx + 5, 56, col::black);
  }
  c.polyline(Canvas::bezier({-44, -6}, {-62, 0}, {-60, 30}, {-54, 40}), 8, mane);
  c.ellipseO(0, 0, 48, 22, coat, OW);
  c.polygonO({{28, -8}, {48, -48}, {62, -40}, {44, 4}}, coat, OW);
  c.ellipseO(62, -48, 20, 11, coat, OW, col::black, 0.45);
  c.polygonO({{46, -60}, {50, -74}, {56, -60}}, coat, 2);
  c.polyline(Canvas::bezier({30, -10}, {40, -40}, {50, -58}), 7, mane);
  c.fillCircle(62, -54, 2.6, col::black);
  c.fillCircle(76, -42, 1.8, col::black);
  c.pop();
}

void song3(Canvas& c) {
  // A grey-blue rainy sky, dark enough for the yellow words and light enough for
  // the black title, down to below the last line; the clouds keep to the right.
  gradient(c, 0, 340, rgb(104, 118, 144), rgb(124, 138, 162));
  c.fillPolygon({{0, 340}, {360, 326}, {640, 262}, {640, 424}, {0, 424}}, rgb(150, 196, 130));
  drawCloud(c, 470, 60, 2.0, rgb(176, 186, 204));
  drawCloud(c, 590, 90, 1.4, rgb(164, 174, 194));
  drawCloud(c, 610, 22, 0.9, rgb(186, 194, 210));
  Rng r(31);
  for (int i = 0; i < 70; ++i) {
    double x = 360 + r.uniform() * 280, y = 110 + r.uniform() * 260;
    c.line(x, y, x - 4, y + 16, 2, rgb(185, 205, 240), 0.8);
  }
  // Fainter drops over the words, of about the sky's own lightness.
  for (int i = 0; i < 18; ++i) {
    double x = r.uniform() * 330, y = 20 + r.uniform() * 330;
    c.line(x, y, x - 3, y + 11, 1.4, rgb(150, 168, 200), 0.35);
  }
  c.fillEllipse(470, 392, 90, 14, rgb(150, 195, 240));
  c.fillEllipse(600, 404, 40, 8, rgb(150, 195, 240));
  pony(c, 480, 320, 1.5);
  // an umbrella over the cuckoo's tree
  c.roundRectO(366, 190, 378, 332, 3, col::brown, OW);
  c.circleO(372, 170, 36, col::green, OW);
  c.ellipseO(378, 168, 12, 8, rgb(150, 120, 90), 2);
  c.polygonO({{388, 166}, {398, 168}, {388, 172}}, col::orange, 1.4);
  c.fillCircle(382, 165, 1.6, col::black);
}

void goblin(Canvas& c, double x, double y) {
  c.push();
  c.translate(x, y);
  const Rgb skin = rgb(130, 200, 110), coat = rgb(40, 120, 60);
  c.roundRectO(-26, 0, 26, 50, 12, coat, OW);
  c.circleO(0, -18, 24, skin, OW);
  c.fillRoundRect(-30, -40, 30, -34, 3, col::black);
  c.roundRectO(-18, -74, 18, -36, 3, rgb(30, 60, 40), OW);
  c.fillRect(-18, -48, 18, -42, col::red);
  drawEye(c, -8, -20, 5, 1, 0);
  drawEye(c, 10, -20, 5, 1, 0);
  c.arc(2, -8, 8, 0.4, kPi - 0.4, 2.4, col::black);
  c.line(20, -8, 36, -2, 3, col::brown);  // a pipe
  c.fillRoundRect(32, -10, 42, 0, 2, col::brown);
  for (int i = 0; i < 4; ++i) c.fillEllipse(-22 + i * 14, 52, 3, 5, rgb(120, 180, 240));
  c.pop();
}

void song4(Canvas& c) {
  gradient(c, 0, 240, rgb(215, 236, 255), rgb(245, 250, 255));
  c.fillPolygon({{0, 240}, {640, 220}, {640, 424}, {0, 424}}, rgb(205, 238, 175));
  sunInSky(c, 576, 62, 26);
  // the brook, flowing across the lower right
  std::vector<Pt> brook = Canvas::bezier({330, 424}, {420, 330}, {520, 330}, {640, 300}, 24);
  std::vector<Pt> far = Canvas::bezier({640, 360}, {560, 380}, {500, 400}, {470, 424}, 24);
  brook.insert(brook.end(), far.begin(), far.end());
  c.fillPolygon(brook, rgb(120, 180, 240));
  for (int i = 0; i < 5; ++i) {
    double x = 440 + i * 38, y = 360 - i * 10;
    c.polyline(Canvas::bezier({x, y}, {x + 10, y - 6}, {x + 20, y}), 2.2, col::white);
  }
  c.fillEllipse(600, 330, 14, 5, rgb(60, 160, 70));
  c.fillCircle(600, 326, 4, col::pink);
  for (int i = 0; i < 6; ++i) {
    double x = 350 + i * 9;
    c.line(x, 400, x + (i % 2 ? 4 : -4), 330 - i * 6, 3, rgb(80, 150, 60));
    c.fillEllipse(x + (i % 2 ? 4 : -4), 330 - i * 6, 3, 9, col::brown);
  }
  goblin(c, 560, 350);
  // the girl sitting on the bank, looking at the water
  c.push();
  c.translate(430, 250);
  c.polygonO({{-12, -6}, {12, -6}, {34, 40}, {-30, 40}}, rgb(70, 120, 230), OW);
  c.line(18, 40, 40, 60, 7, col::black);
  c.line(18, 40, 40, 60, 4, col::skin);
  c.line(0, 40, 26, 66, 7, col::black);
  c.line(0, 40, 26, 66, 4, col::skin);
  c.pop();
  drawGirlFace(c, 430, 222, 1.0, true);
}

Canvas songPicture(int n) {
  Canvas c(W, H, col::white);
  switch (n) {
    case 1: song1(c); break;
    case 2: song2(c); break;
    case 3: song3(c); break;
    case 4: song4(c); break;
  }
  return c;
}

}  // namespace

void addSongPictureJobs(Jobs& jobs) {
  for (int n = 1; n <= 4; ++n)
    jobs.push_back({"song picture " + std::to_string(n), [n](Output& out) {
                      out.dataBmp8("obrazky/obr_p" + std::to_string(n) + ".bmp", songPicture(n));
                    }});
}

}  // namespace gen
