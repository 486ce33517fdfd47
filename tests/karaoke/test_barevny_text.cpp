// The two-colour label: which characters take which colour, pixel by pixel,
// the clamp of a count past the caption, and what makes it repaint.
#include <gtest/gtest.h>

#include "karaoke/BarevnyText.h"
#include "platform/core/cp1250.h"
#include "platform/ui/form_reader.h"
#include "tests/karaoke/karaoke_fixture.h"

namespace tq {
namespace {

using namespace tlb;
using namespace tq::testing;

struct BarevnyTextTest : KaraokeFormFixture {
  CountingText* line = AddLine(1, 177);
};

TEST_F(BarevnyTextTest, TheCountDecidesWhichPartIsHighlighted) {
  const std::string caption = Cz(" Ententýky, dva");
  const int len = int(caption.size());
  line->SetCaption(caption);
  struct Case {
    int count;
    bool yellow, lime;
    int readBack;
  } cases[] = {
      {0, false, true, 0},
      {-3, false, true, -3},  // zero or less draws the plain label and is kept
      {4, true, true, 4},
      {len, true, false, len},
      {len + 7, true, false, len},  // clamped by the paint
  };
  for (const Case& c : cases) {
    line->SetKolik_znaku_barevnych(c.count);
    InkSummary s = Summarise(Shot(line));
    EXPECT_EQ(s.yellow > 0, c.yellow) << c.count;
    EXPECT_EQ(s.lime > 0, c.lime) << c.count;
    EXPECT_EQ(s.other, 0) << c.count;
    EXPECT_EQ(line->Kolik_znaku_barevnych(), c.readBack) << c.count;
  }
}

TEST_F(BarevnyTextTest, HeadAndTailJoinExactlyWhereTheWholeCaptionWouldBe) {
  const std::string caption = Cz(" Ententýky, dva špalíky");
  line->SetCaption(caption);
  line->SetKolik_znaku_barevnych(0);
  Dib plain = Shot(line);
  TBitmap measure;
  measure.SetSize(10, 10);
  measure.Canvas().Font.Assign(line->Font());
  for (int count : {1, 2, 3, 8, 9, 12}) {
    line->SetKolik_znaku_barevnych(count);
    Dib two = Shot(line);
    InkSummary s = Summarise(two);
    // The head ends and the tail starts at the head's width; only the one column
    // where two smoothed glyph edges meet may differ from the one-colour caption.
    const int join = measure.Canvas().TextWidth(caption.substr(0, size_t(count)));
    EXPECT_LE(s.lastYellowX, join) << count;
    EXPECT_GE(s.firstLimeX, join - 1) << count;
    for (int y = 0; y < two.height(); ++y)
      for (int x = 0; x < two.width(); ++x)
        if (x != join && x != join - 1) {
          EXPECT_NEAR(CoverageAt(two, x, y), CoverageAt(plain, x, y), 0.02) << count << " at " << x << "," << y;
        }
  }
}

TEST_F(BarevnyTextTest, AnEmptyCaptionDrawsNothingAndClampsTheCountToZero) {
  line->SetCaption("");
  line->SetKolik_znaku_barevnych(5);
  InkSummary s = Summarise(Shot(line));
  EXPECT_EQ(s.yellow + s.lime + s.other, 0);
  EXPECT_EQ(line->Kolik_znaku_barevnych(), 0);
}

TEST_F(BarevnyTextTest, ACaptionThatGrowsAfterAClampStaysColouredOnlyToTheClampedCount) {
  line->SetCaption(" ab");
  line->SetKolik_znaku_barevnych(50);
  Shot(line);
  ASSERT_EQ(line->Kolik_znaku_barevnych(), 3);
  line->SetCaption(" abcdefgh");
  InkSummary s = Summarise(Shot(line));
  EXPECT_GT(s.yellow, 0);
  EXPECT_GT(s.lime, 0);
  EXPECT_EQ(line->Kolik_znaku_barevnych(), 3);
}

TEST_F(BarevnyTextTest, OnlyAChangedValueAsksForARepaint) {
  line->SetCaption(" abc");
  line->SetKolik_znaku_barevnych(2);
  Shot(line);
  ASSERT_FALSE(form->Dirty());
  line->SetKolik_znaku_barevnych(2);
  line->SetAktivni_barva(clYellow);
  EXPECT_FALSE(form->Dirty());
  line->SetKolik_znaku_barevnych(3);
  EXPECT_TRUE(form->Dirty());
  form->PaintNow();
  line->SetAktivni_barva(clRed);
  EXPECT_TRUE(form->Dirty());
}

TEST_F(BarevnyTextTest, ANewLineStartsUncolouredWithGreenAsItsHighlight) {
  TBarevnyText fresh(nullptr);
  EXPECT_EQ(fresh.Kolik_znaku_barevnych(), 0);
  EXPECT_EQ(fresh.Aktivni_barva(), clGreen);
}

TEST_F(BarevnyTextTest, ADisabledLineIsDrawnInReliefWithoutTheHighlight) {
  line->SetCaption(" abc");
  line->SetKolik_znaku_barevnych(3);
  line->SetEnabled(false);
  Dib d = Shot(line);
  bool highlight = false, shadow = false;
  for (int y = 0; y < d.height(); ++y)
    for (int x = 0; x < d.width(); ++x) {
      highlight = highlight || d.pixel(x, y) == ColorToRGB(clBtnHighlight);
      shadow = shadow || d.pixel(x, y) == ColorToRGB(clBtnShadow);
    }
  EXPECT_TRUE(highlight);
  EXPECT_TRUE(shadow);
  EXPECT_EQ(Summarise(d).yellow, 0);
}

TEST_F(BarevnyTextTest, TheFormReaderKnowsTheClassAndItsTwoProperties) {
  auto* f = new TForm(Application);
  LoadFormDescriptionText(f,
                          "object F: TForm\n"
                          "  object text_3: TBarevnyText\n"
                          "    Caption = ' x'\n"
                          "    Kolik_znaku_barevnych = 2\n"
                          "    Aktivni_barva = clRed\n"
                          "  end\n"
                          "end\n",
                          "test.dfm", HandlerTable());
  auto* t = FindAs<TBarevnyText>(f, "text_3");
  EXPECT_EQ(t->Kolik_znaku_barevnych(), 2);
  EXPECT_EQ(t->Aktivni_barva(), clRed);
  EXPECT_EQ(t->Caption(), " x");
}

}  // namespace
}  // namespace tq
