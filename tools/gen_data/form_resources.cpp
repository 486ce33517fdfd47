// The pictures that the form descriptions hold: glyph strips, the backdrop
// texture, the waiting pictures, the corner bitmaps, the memory games' clock
// and icons and the two cups; and the singing form's switch glyphs, which the
// form reads from the data folder.
#include <cmath>
#include <string>
#include <vector>

#include "art.h"
#include "bmp_writer.h"
#include "glyphs.h"
#include "output.h"
#include "pictures_game.h"
#include "synth.h"

namespace gen {

namespace {

struct GlyphButton {
  const char* program;
  const char* form;
  const char* button;
  int w, h;
  GlyphArt art;
  const char* what;
};

std::vector<GlyphButton> glyphButtons() {
  std::vector<GlyphButton> list;
  for (const char* form : {"form_kim1", "form_kim2"}) {
    list.push_back({"games", form, "btn_hra2x2", 69, 58, [](Canvas& c) { artGridLevel(c, 2); }, "level 2x2"});
    list.push_back({"games", form, "btn_hra3x3", 69, 58, [](Canvas& c) { artGridLevel(c, 3); }, "level 3x3"});
    list.push_back({"games", form, "btn_hra4x4", 69, 58, [](Canvas& c) { artGridLevel(c, 4); }, "level 4x4"});
    list.push_back({"games", form, "btn_help", 75, 58, artQuestion, "help"});
    list.push_back({"games", form, "BTN_Konec", 72, 60, artExitDoor, "end"});
  }
  list.push_back({"games", "FORM_kamen", "btn_kamen", 125, 95, [](Canvas& c) { artHandSign(c, 1); }, "rock"});
  list.push_back({"games", "FORM_kamen", "btn_nuzky", 125, 95, [](Canvas& c) { artHandSign(c, 2); }, "scissors"});
  list.push_back({"games", "FORM_kamen", "btn_papir", 125, 95, [](Canvas& c) { artHandSign(c, 3); }, "paper"});
  list.push_back({"games", "FORM_kamen", "BTN_Konec", 75, 61, artExitDoor, "end"});
  for (int r = 1; r <= 6; ++r)
    list.push_back({"rhymes", "FORM_Lymbal", nullptr, 70, 70, [r](Canvas& c) { drawRhymeSubject(c, r, 0.1); },
                    "rhyme"});
  list.push_back({"rhymes", "FORM_Lymbal", "btn_konec", 66, 69, artExitDoor, "end"});
  for (int s = 1; s <= 4; ++s)
    list.push_back({"songs", "FORM_Fumbamesi", nullptr, 70, 52, [s](Canvas& c) { drawSongSubject(c, s, 0.1); },
                    "song"});
  list.push_back({"songs", "FORM_Fumbamesi", "btn_hrej", 72, 55, artSinging, "singing / music switch (singing)"});
  list.push_back({"songs", "FORM_Fumbamesi", "btn_konec", 66, 55, artExitDoor, "end"});
  return list;
}

// A texture that repeats seamlessly: value noise on a lattice that wraps at the tile's edges.
Canvas backdropTile() {
  const int W = 60, H = 69;
  Canvas c(W, H, rgb(42, 63, 0));
  Rng r(4263);
  auto lattice = [&](int cells) {
    std::vector<double> v(size_t(cells) * cells);
    for (double& x : v) x = r.uniform();
    return v;
  };
  const int octaves[3] = {3, 6, 12};
  std::vector<std::vector<double>> grids;
  for (int o : octaves) grids.push_back(lattice(o));
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      double sum = 0, amp = 1, norm = 0;
      for (int k = 0; k < 3; ++k) {
        int n = octaves[k];
        double fx = double(x) / W * n, fy = double(y) / H * n;
        int x0 = int(fx), y0 = int(fy);
        double tx = fx - x0, ty = fy - y0;
        tx = tx * tx * (3 - 2 * tx), ty = ty * ty * (3 - 2 * ty);
        auto at = [&](int i, int j) { return grids[k][size_t((j % n) * n + (i % n))]; };
        double a = at(x0, y0) * (1 - tx) + at(x0 + 1, y0) * tx;
        double b = at(x0, y0 + 1) * (1 - tx) + at(x0 + 1, y0 + 1) * tx;
        sum += amp * (a * (1 - ty) + b * ty);
        norm += amp;
        amp *= 0.55;
      }
      double v = sum / norm - 0.5;  // -0.5..0.5
      double grain = (r.uniform() - 0.5) * 0.25;
      double t = v + grain;
      c.at(x, y) = rgb(int(42 + 34 * t), int(63 + 44 * t), int(std::max(0.0, 6 * t + 3)));
    }
  return c;
}

Canvas flowerClock(int size, Rgb petal, Rgb centreRim) {
  Canvas c(size, size, col::formGreen);
  c.scale(size / 100.0, size / 100.0);
  for (int i = 0; i < 12; ++i) {
    double a = i * kPi / 6;
    c.push();
    c.translate(50 + 34 * std::cos(a), 50 + 34 * std::sin(a));
    c.rotate(a);
    c.ellipseO(0, 0, 14, 9, i % 2 ? petal : lighten(petal, 0.35), 2.4);
    c.pop();
  }
  drawClockFace(c, 50, 50, 30, centreRim, 4 * kPi / 6, 2 * kPi * 40 / 60);
  return c;
}

Canvas waitingSongs(int size) {
  Canvas c(size, size, col::formGreen);
  c.scale(size / 100.0, size / 100.0);
  drawClockFace(c, 50, 54, 36, col::purple, 8 * kPi / 6, 2 * kPi * 5 / 60);
  drawMusicNote(c, 14, 34, 0.9, col::yellow);
  drawMusicNote(c, 80, 28, 0.8, col::yellow);
  return c;
}

Canvas waitingSinging(int size) {
  Canvas c(size, size, col::formGreen);
  c.scale(size / 100.0, size / 100.0);
  c.polygonO({{24, 8}, {76, 8}, {54, 50}, {76, 92}, {24, 92}, {46, 50}}, rgb(220, 240, 255), 4, col::darkBrown);
  c.fillPolygon({{32, 20}, {68, 20}, {52, 46}, {48, 46}}, col::yellow);
  c.fillPolygon({{50, 60}, {72, 88}, {28, 88}}, col::yellow);
  c.fillRect(18, 4, 82, 10, col::brown);
  c.fillRect(18, 90, 82, 96, col::brown);
  drawMusicNote(c, 84, 60, 0.7, col::white);
  return c;
}

// A corner ornament in an 18x19 bitmap: a quarter sun in the corner given by
// (right, bottom), on the transparent colour.
Canvas corner(bool right, bool bottom, Rgb key) {
  Canvas c(18, 19, key);
  c.setAntiAlias(false);
  double cx = right ? 18 : 0, cy = bottom ? 19 : 0;
  c.fillCircle(cx, cy, 17, col::orange);
  c.fillCircle(cx, cy, 14, col::yellow);
  c.fillCircle(cx, cy, 9, col::red);
  c.fillCircle(cx, cy, 5, col::yellow);
  return c;
}

Canvas okIcon(bool ok) {
  Canvas c(50, 50, col::formGreen);
  c.circleO(25, 25, 22, col::white, 3, ok ? col::darkGreen : col::darkRed);
  if (ok) {
    c.polyline({{13, 26}, {22, 35}, {38, 15}}, 7, col::green);
  } else {
    c.line(15, 15, 35, 35, 7, col::red);
    c.line(35, 15, 15, 35, 7, col::red);
  }
  return c;
}

Canvas cup(bool forMouse) {
  Canvas c(80, 80, col::formGreen);
  const Rgb gold = rgb(255, 200, 30), goldDark = rgb(200, 140, 10);
  c.fillRing(16, 30, 8, 13, col::black);
  c.fillRing(64, 30, 8, 13, col::black);
  c.fillRing(16, 30, 9.5, 11.5, gold);
  c.fillRing(64, 30, 9.5, 11.5, gold);
  std::vector<Pt> bowl = {{14, 12}, {66, 12}};
  for (int i = 0; i <= 16; ++i) {
    double a = kPi * i / 16;
    bowl.push_back({40 + 26 * std::cos(a), 30 + 24 * std::sin(a)});
  }
  c.polygonO(bowl, gold, 3, col::black);
  c.polygonO({{34, 54}, {46, 54}, {50, 66}, {30, 66}}, goldDark, 2.6);
  c.roundRectO(22, 66, 58, 76, 2, rgb(120, 70, 30), 2.6);
  if (forMouse) {
    c.fillCircle(32, 26, 6, rgb(160, 160, 168));
    c.fillCircle(48, 26, 6, rgb(160, 160, 168));
    c.fillCircle(40, 34, 8, rgb(160, 160, 168));
    c.fillCircle(40, 38, 2, col::pink);
  } else {
    c.fillPolygon(Canvas::star(40, 32, 6, 13, 5), col::red);
  }
  c.fillEllipse(24, 24, 3, 7, col::white, 0.2, 0.6);
  return c;
}

}  // namespace

void addFormResourceJobs(Jobs& jobs) {
  jobs.push_back({"glyph strips", [](Output& out) {
                    int rhyme = 0, song = 0;
                    for (const GlyphButton& b : glyphButtons()) {
                      std::string name = b.button ? b.button
                                                  : "btn_" + std::to_string(std::string(b.what) == "rhyme" ? ++rhyme
                                                                                                           : ++song);
                      std::string what = b.what;
                      if (what == "rhyme") what = "rhyme " + std::to_string(rhyme) + " button";
                      else if (what == "song") what = "song " + std::to_string(song) + " button";
                      else what += " button";
                      Canvas strip = glyphStrip(b.w, b.h, b.art);
                      out.res(std::string(b.program) + "/" + b.form + "." + name + ".Glyph.bmp",
                              bmp8(glyphStripIndexed(strip)),
                              "five-cell glyph strip (" + std::to_string(b.w) + "x" + std::to_string(b.h) +
                                  " cells: up, disabled, down, held down, mouse over) of the " + what);
                    }
                    // The switch glyphs the singing form loads from the data folder, shaped like btn_hrej's strip.
                    out.data("obrazky/iko_psw1.bmp", bmp8(glyphStripIndexed(glyphStrip(72, 55, artSinging))));
                    out.data("obrazky/iko_psw2.bmp", bmp8(glyphStripIndexed(glyphStrip(72, 55, artMusicOnly))));
                  }});
  jobs.push_back({"backdrop and waiting pictures", [](Output& out) {
                    out.resBmp8("common/FORMPozadi.TileImage1.Picture.bmp", backdropTile(),
                                "backdrop texture, 60x69, 256 colours, tiled over the whole screen");
                    out.resBmp8("games/FORM_Menu.wait_image.bmp", flowerClock(100, col::yellow, col::red),
                                "games menu waiting picture: a flower-shaped clock on green, 100x100, 256 colours");
                    out.resBmp8("rhymes/FORM_Lymbal.wait_image.bmp", flowerClock(100, col::pink, col::blue),
                                "rhymes form waiting picture, 100x100");
                    out.resBmp8("songs/FORM_Menu.wait_image.bmp", waitingSongs(100),
                                "songs menu waiting picture, 100x100");
                    out.resBmp8("songs/FORM_Fumbamesi.wait_image.bmp", waitingSinging(100),
                                "singing form waiting picture, 100x100");
                  }});
  jobs.push_back({"corners", [](Output& out) {
                    const Rgb navy = rgb(0, 0, 128), green = col::formGreen;
                    struct F {
                      const char* path;
                      Rgb key;
                    };
                    const F forms[6] = {{"games/FORM_Menu", navy},   {"games/form_kim1", navy},
                                        {"games/form_kim2", navy},   {"games/FORM_kamen", navy},
                                        {"rhymes/FORM_Lymbal", green}, {"songs/FORM_Menu", navy}};
                    for (const F& f : forms) {
                      std::string key = f.key == navy ? "navy ($800000)" : "green ($008000)";
                      out.resBmp8(std::string(f.path) + ".roh_LH.bmp", corner(false, false, f.key),
                                  "corner picture, top left, 18x19, transparent " + key, {f.key});
                      out.resBmp8(std::string(f.path) + ".roh_PH.bmp", corner(true, false, f.key),
                                  "corner picture, top right, 18x19, transparent " + key, {f.key});
                      out.resBmp8(std::string(f.path) + ".roh_PD.bmp", corner(true, true, f.key),
                                  "corner picture, bottom right, 18x19, transparent " + key, {f.key});
                      out.resBmp8(std::string(f.path) + ".roh_LD.bmp", corner(false, true, f.key),
                                  "corner picture, bottom left, 18x19, transparent " + key, {f.key});
                    }
                    out.resBmp8("songs/FORM_Fumbamesi.Image1.bmp", corner(false, true, green),
                                "corner picture, bottom left, 18x19, transparent green ($008000)", {green});
                    out.resBmp8("songs/FORM_Fumbamesi.Image2.bmp", corner(true, true, green),
                                "corner picture, bottom right, 18x19, transparent green ($008000)", {green});
                  }});
  jobs.push_back({"memory game icons and cups", [](Output& out) {
                    for (const char* form : {"form_kim1", "form_kim2"}) {
                      std::string f = std::string("games/") + form;
                      out.resBmp8(f + ".img_time.bmp", alarmClock(100, false),
                                  "the clock picture of img_time, 100x100");
                      out.resBmp8(f + ".img_ok.bmp", okIcon(true), "icon beside the count of right cards, 50x50");
                      out.resBmp8(f + ".img_bad.bmp", okIcon(false), "icon beside the count of wrong cards, 50x50");
                    }
                    out.resBmp8("games/FORM_kamen.pohar_tumfik.bmp", cup(true), "the mouse's cup, 80x80");
                    out.resBmp8("games/FORM_kamen.pohar_dite.bmp", cup(false), "the child's cup, 80x80");
                  }});
}

}  // namespace gen
