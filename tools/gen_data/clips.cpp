// The animation clips: the menus' tiles, each showing in motion what it opens,
// and the talking mouse whose mouth opens and closes over its 12 frames.
#include <cmath>
#include <functional>
#include <string>

#include "art.h"
#include "avi_writer.h"
#include "figures.h"
#include "output.h"

namespace gen {

namespace {

using FrameFn = std::function<void(Canvas&, double phase, int frame)>;

// A tile: a pale rounded panel on the form's green, the content in a 100x100
// box scaled to the tile.
std::vector<Canvas> tileFrames(int size, int frames, Rgb panel, const FrameFn& draw) {
  std::vector<Canvas> out;
  for (int f = 0; f < frames; ++f) {
    Canvas c(size, size, col::formGreen);
    c.roundRectO(2, 2, size - 2, size - 2, size * 0.12, panel, 3.5, col::darkGreen);
    c.push();
    c.translate(size * 0.08, size * 0.08);
    c.scale(size * 0.84 / 100.0, size * 0.84 / 100.0);
    draw(c, double(f) / frames, f);
    c.pop();
    out.push_back(std::move(c));
  }
  return out;
}

void miniCard(Canvas& c, double x, double y, double s, int subject, double flip) {
  // flip 0..1: the card turns about its vertical axis; past the half it shows its face.
  double sx = std::fabs(std::cos(flip * kPi));
  if (sx < 0.05) return;
  c.push();
  c.translate(x, y);
  c.scale(sx, 1);
  if (flip < 0.5) {
    c.roundRectO(-s / 2, -s / 2, s / 2, s / 2, s * 0.12, rgb(40, 70, 190), 2, col::navyBlue);
    c.polygonO(Canvas::star(0, 0, s * 0.12, s * 0.28, 5), col::yellow, 1.2, col::orange);
  } else {
    c.roundRectO(-s / 2, -s / 2, s / 2, s / 2, s * 0.12, cardBackground(subject), 2, col::darkGrey);
    c.translate(-s * 0.42, -s * 0.42);
    c.scale(s * 0.84 / 100, s * 0.84 / 100);
    drawCardSubject(c, subject);
  }
  c.pop();
}

void findCard(Canvas& c, double phase, int) {
  // Four cards face down; one turns up and shows the apple, then turns back.
  double flip = phase < 0.5 ? std::min(1.0, phase * 3) : std::max(0.0, 1 - (phase - 0.5) * 3);
  miniCard(c, 28, 28, 40, 0, 0);
  miniCard(c, 72, 28, 40, 0, 0);
  miniCard(c, 28, 72, 40, 0, 0);
  miniCard(c, 72, 72, 40, 1, flip);
  // a magnifying glass circling over the cards
  double a = phase * 2 * kPi;
  double gx = 50 + 18 * std::cos(a), gy = 50 + 14 * std::sin(a);
  c.line(gx + 10, gy + 10, gx + 24, gy + 24, 7, col::darkBrown);
  c.fillRing(gx, gy, 11, 15, col::black);
  c.fillCircle(gx, gy, 11, col::lightBlue, 0.45);
  c.fillRing(gx, gy, 11.5, 14, col::yellow);
}

void shuffleCards(Canvas& c, double phase, int) {
  // Three pictures change places, going round one another.
  const int subjects[3] = {2, 6, 9};
  for (int i = 0; i < 3; ++i) {
    double a = -kPi / 2 + i * 2 * kPi / 3 + phase * 2 * kPi / 3 * (phase < 0.6 ? phase / 0.6 : 1.0) * 1.0;
    double r = 26 + 6 * std::sin(phase * kPi);
    miniCard(c, 50 + r * std::cos(a), 52 + r * std::sin(a), 40, subjects[i], 1);
  }
  for (int i = 0; i < 2; ++i) {
    double a = phase * 2 * kPi + i * kPi;
    c.arc(50, 52, 44, a, a + 0.8, 3, col::orange);
  }
}

void rockPaperScissors(Canvas& c, double phase, int frame) {
  // A fist shaken three times, then the sign: rock, scissors, paper in turn.
  int sign = frame / 8 + 1;
  int sub = frame % 8;
  double lift = sub < 4 ? 10 * std::fabs(std::sin(sub * kPi / 2)) : 0;
  c.push();
  c.translate(16, 54 - lift);
  c.scale(1.3, 1.3);
  drawHand(c, sub < 4 ? 1 : sign, col::skin);
  c.pop();
  for (int k = 0; k < 3; ++k) {
    bool on = sub >= 4 ? true : k < sub;
    c.circleO(30 + k * 20, 92, 5, on ? col::yellow : col::lightGrey, 1.6);
  }
}

void exitDoor(Canvas& c, double phase, int) {
  // A door opens, a little arrow goes out, the door closes again.
  double open = phase < 0.5 ? phase * 2 : 2 - phase * 2;
  c.roundRectO(24, 10, 76, 92, 3, rgb(60, 40, 20), 3);
  c.fillRect(28, 14, 72, 92, rgb(255, 250, 210));
  double dw = 44 * (1 - 0.8 * open);
  c.polygonO({{28, 14}, {28 + dw, 14 + 6 * open}, {28 + dw, 92 - 6 * open}, {28, 92}}, col::red, 2.4);
  c.fillCircle(28 + dw - 6, 54, 2.6, col::yellow);
  double ax = 50 + 40 * std::max(0.0, open - 0.3);
  if (open > 0.15) c.polygonO({{ax - 14, 48}, {ax, 48}, {ax, 40}, {ax + 14, 54}, {ax, 68}, {ax, 60}, {ax - 14, 60}},
                              col::leaf, 2.2, col::darkGreen);
}

void songTile(Canvas& c, double phase, int song) {
  drawSongSubject(c, song, phase);
  for (int k = 0; k < 2; ++k) {
    double t = std::fmod(phase + k * 0.5, 1.0);
    drawMusicNote(c, 6 + k * 82, 46 - 30 * t, 0.6, col::purple);
  }
}

Canvas talkingMouse(double mouth, bool blink) {
  Canvas c(100, 130, col::formGreen);
  const Rgb fur = rgb(160, 160, 168);
  c.roundRectO(22, 96, 78, 140, 18, rgb(255, 200, 40), 3);
  for (int s : {-1, 1}) {
    c.circleO(50 + s * 30, 22, 19, fur, 3);
    c.fillCircle(50 + s * 30, 22, 11, col::lightPink);
  }
  c.ellipseO(50, 58, 34, 32, fur, 3);
  c.ellipseO(50, 74, 20, 15, lighten(fur, 0.4), 2.6);
  if (blink) {
    c.arc(38, 50, 6, 0.3, kPi - 0.3, 2.6, col::black);
    c.arc(62, 50, 6, 0.3, kPi - 0.3, 2.6, col::black);
  } else {
    drawEye(c, 38, 48, 7);
    drawEye(c, 62, 48, 7);
  }
  c.circleO(50, 64, 5, col::pink, 2);
  for (int s : {-1, 1})
    for (int k = -1; k <= 1; ++k) c.line(50 + s * 12, 70 + k * 3, 50 + s * 40, 66 + k * 8, 1.4, col::black);
  double h = 2 + 12 * mouth;
  c.ellipseO(50, 80 + h / 3, 9 + 2 * mouth, h / 2 + 1, col::darkRed, 2.2);
  if (mouth > 0.4) c.fillEllipse(50, 82 + h / 2, 5, 3 * mouth, col::pink);
  c.fillRect(45, 76, 55, 79, col::white);
  return c;
}

std::vector<Canvas> talkingMouseFrames() {
  const double open[12] = {0.0, 0.5, 1.0, 0.6, 0.15, 0.8, 1.0, 0.45, 0.1, 0.7, 0.35, 0.0};
  std::vector<Canvas> out;
  for (int i = 0; i < 12; ++i) out.push_back(talkingMouse(open[i], i == 9));
  return out;
}

}  // namespace

void addClipJobs(Jobs& jobs) {
  const std::vector<Rgb> key = {col::formGreen};
  jobs.push_back({"clip h_01", [key](Output& out) {
                    out.data("animace/h_01.avi", aviClip(tileFrames(140, 20, rgb(255, 246, 210), findCard), 10, 1, key));
                  }});
  jobs.push_back({"clip h_03", [key](Output& out) {
                    out.data("animace/h_03.avi",
                             aviClip(tileFrames(140, 24, rgb(225, 240, 255), rockPaperScissors), 8, 1, key));
                  }});
  jobs.push_back({"clip h_02", [key](Output& out) {
                    out.data("animace/h_02.avi",
                             aviClip(tileFrames(140, 24, rgb(255, 230, 240), shuffleCards), 10, 1, key));
                  }});
  jobs.push_back({"clip konec", [key](Output& out) {
                    out.data("animace/konec.avi", aviClip(tileFrames(120, 16, rgb(240, 240, 240), exitDoor), 8, 1, key));
                  }});
  const Rgb songPanels[4] = {rgb(225, 245, 210), rgb(255, 240, 220), rgb(220, 230, 245), rgb(225, 240, 255)};
  for (int s = 1; s <= 4; ++s) {
    jobs.push_back({"clip zp_0" + std::to_string(s), [s, key, songPanels](Output& out) {
                      auto draw = [s](Canvas& c, double phase, int) { songTile(c, phase, s); };
                      out.data("animace/zp_0" + std::to_string(s) + ".avi",
                               aviClip(tileFrames(140, 20, songPanels[s - 1], draw), 10, 1, key));
                    }});
  }
  jobs.push_back({"clip mys_mluv", [key](Output& out) {
                    out.data("animace/mys_mluv.avi", aviClip(talkingMouseFrames(), 12, 1, key));
                  }});
}

}  // namespace gen
