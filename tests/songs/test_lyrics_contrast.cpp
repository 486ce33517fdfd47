// The words of each song are readable over its picture: every display line is
// rendered over the picture on the headless screen in its plain colour and in its
// highlight colour, and the glyphs' pixels are measured against the picture
// pixels behind them.
#include <cmath>
#include <cstdlib>
#include <string>

#include "platform/graphics/color.h"
#include "tests/support/contrast.h"
#include "tests/songs/songs_run.h"

namespace tq::songs::testing {
namespace {

using namespace tlb;

using LyricsRun = SongsRun;

// Relative luminance of a COLORREF (red in the low byte).
double Luminance(COLORREF c) { return tlb::testing::RelativeLuminance(c & 255, (c >> 8) & 255, (c >> 16) & 255); }
double Contrast(COLORREF a, COLORREF b) { return tlb::testing::ContrastRatio(Luminance(a), Luminance(b)); }
int Distance(COLORREF a, COLORREF b) {
  int d = 0;
  for (int s = 0; s < 24; s += 8) d += std::abs(int((a >> s) & 255) - int((b >> s) & 255));
  return d;
}

struct Reading {
  int pixels = 0;    // glyph pixels at least half covered by the ink
  int readable = 0;  // of them, those whose ink reaches 3:1 against the picture
  double Share() const { return pixels ? double(readable) / pixels : 0; }
};

// The glyph pixels of `text` (the screen with the words in `ink`) over `ground` (the
// same screen without the words), within the form's area `area`.
Reading Measure(const Dib& text, const Dib& ground, COLORREF ink, const Rect& area) {
  Reading r;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x) {
      COLORREF shown = text.pixel(x, y), behind = ground.pixel(x, y);
      if (shown == behind || Distance(shown, ink) > Distance(shown, behind)) continue;
      ++r.pixels;
      if (Contrast(ink, behind) >= 3.0) ++r.readable;
    }
  return r;
}

// In each song, the title and the lines in black and the lines in their highlight
// colour (the colour the form gives them for that song) reach 3:1 against the
// picture at 98 % of their pixels or more.
TEST_F(LyricsRun, EverySongsWordsReachThreeToOneOverItsPictureInBothColours) {
  Start();
  int64_t t = 3000;
  for (int song = 1; song <= 4; ++song) {
    OpenSong(song, t);
    auto lines = [this](auto each) {
      for (int k = 0; k <= 12; ++k) each(k, Line(k));
    };
    // The karaoke tick would rebuild the lines: it is held while the screens are taken.
    CheckAt(t + 400, [this, song, lines] {
      ASSERT_EQ(SingingUnit().CurrentSong, song);
      singing().Timer1->SetEnabled(false);
      lines([](int, TBarevnyText* l) { l->SetKolik_znaku_barevnych(0); });
    });
    auto plain = std::make_shared<Dib>(), lit = std::make_shared<Dib>(), picture = std::make_shared<Dib>();
    CheckAt(t + 500, [this, song, plain, lines] {
      *plain = run().backend.ScreenPixels();
      tlb::testing::SaveTestScreenshot(run().backend, "song" + std::to_string(song) + "_plain.png");
      lines([](int k, TBarevnyText* l) {
        if (k > 0) l->SetKolik_znaku_barevnych(int32_t(l->Caption().size()));
      });
    });
    CheckAt(t + 600, [this, song, lit, lines] {
      *lit = run().backend.ScreenPixels();
      tlb::testing::SaveTestScreenshot(run().backend, "song" + std::to_string(song) + "_lit.png");
      lines([](int, TBarevnyText* l) { l->SetVisible(false); });
    });
    CheckAt(t + 700, [this, song, plain, lit, picture, lines] {
      SCOPED_TRACE("song " + std::to_string(song));
      *picture = run().backend.ScreenPixels();
      tlb::testing::SaveTestScreenshot(run().backend, "song" + std::to_string(song) + "_picture.png");
      Reading black, highlight;
      lines([&](int k, TBarevnyText* l) {
        Point o = l->ClientToScreen({0, 0});
        Rect area{o.x, o.y, o.x + l->Width(), o.y + l->Height()};
        Reading b = Measure(*plain, *picture, ColorToRGB(l->Font().Color()), area);
        black.pixels += b.pixels, black.readable += b.readable;
        if (k == 0) return;  // the title is never coloured
        Reading h = Measure(*lit, *picture, ColorToRGB(l->Aktivni_barva()), area);
        highlight.pixels += h.pixels, highlight.readable += h.readable;
      });
      EXPECT_GT(black.pixels, 1000);
      EXPECT_GT(highlight.pixels, 1000);
      EXPECT_GE(black.Share(), 0.98) << black.readable << " of " << black.pixels << " black pixels";
      EXPECT_GE(highlight.Share(), 0.98) << highlight.readable << " of " << highlight.pixels << " highlight pixels";
      singing().Timer1->SetEnabled(true);
    });
    ClickEndButton(t + 800);
    t += 3000;
  }
  run().RunUntil(t);
}

}  // namespace
}  // namespace tq::songs::testing
