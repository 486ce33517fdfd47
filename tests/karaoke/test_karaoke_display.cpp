// The karaoke display: the whole text, which syllables a position colours, the
// two programs' counts, and a recording played through the 50 ms tick at exact
// virtual times.
#include <gtest/gtest.h>

#include <functional>

#include "karaoke/karaoke_display.h"
#include "platform/core/cp1250.h"
#include "platform/media/media_player.h"
#include "platform/ui/timer.h"
#include "tests/karaoke/karaoke_fixture.h"
#include "tests/support/media_fixtures.h"

namespace tq {
namespace {

using namespace tlb;
using namespace tq::testing;
using namespace tlb::testing;

const KaraokeDisplaySettings kRhymes{9, 1, false};
const KaraokeDisplaySettings kSongs{12, 0, true};

struct DisplayTest : KaraokeFormFixture {
  KaraokeText text{100};
  std::vector<CountingText*> lines;

  // Lines text_0 .. text_<n>, laid out as the rhymes form's.
  void MakeLines(int n) {
    for (int k = 0; k <= n; ++k) lines.push_back(AddLine(k, k == 0 ? 146 : 177 + (k - 1) * 24));
  }
  void Load(const std::string& body) {
    ParseKaraokeBytes(text, Cz("/Ententýky/\r\n-\r\n" + body), [](const std::string& m) { FAIL() << m; });
  }
  std::string Caption(int k) { return Utf(lines[size_t(k)]->Caption()); }
  static std::string Utf(const std::string& cp) { return Cp1250ToUtf8(cp); }
  int Count(int k) { return lines[size_t(k)]->Kolik_znaku_barevnych(); }
};

TEST_F(DisplayTest, TheWholeTextIsTheTitleAndABlankBeforeEachLinesSyllables) {
  MakeLines(9);
  Load("400*En\r\n700*ten\r\n1000*tý\r\n1300*ky, @\r\n1600*dva \r\n@\r\n1900*ko");
  KaraokeDisplay display(form, text, kRhymes);
  lines[1]->SetKolik_znaku_barevnych(4);
  display.ShowWholeText();
  EXPECT_EQ(Caption(0), "Ententýky");
  EXPECT_EQ(Caption(1), " Ententýky, ");
  EXPECT_EQ(Caption(2), " dva ");
  EXPECT_EQ(Caption(3), " ko");
  EXPECT_EQ(Caption(4), " ");
  EXPECT_EQ(Caption(9), " ");
  EXPECT_EQ(Count(1), 0);
}

TEST_F(DisplayTest, ASyllableWithoutADisplayLineStopsTheWholeTextThere) {
  MakeLines(9);
  std::string body = "100*a\r\n";
  for (int i = 0; i < 9; ++i) body += "@\r\n";  // the next syllable is on line 10
  body += "200*b\r\n300*c";
  Load(body);
  KaraokeDisplay display(form, text, kRhymes);
  EXPECT_THROW(display.ShowWholeText(), EKaraokeLine);
  EXPECT_EQ(Caption(1), " a");
  // Neither colours nor turns the arrow for it.
  int turns = 0;
  display.HighlightSyllables(10000, [&](const tslovo&) { ++turns; });
  EXPECT_EQ(turns, 1);
  EXPECT_EQ(text.Entry(2).Done, 1);
}

TEST_F(DisplayTest, ASyllableIsColouredFromThreeHundredMillisecondsBeforeItsTime) {
  MakeLines(9);
  Load("1000*En\r\n1400*ten\r\n200*tý");
  struct Case {
    int32_t position;
    std::vector<int> done;  // entries 1..3
  } cases[] = {
      {0, {0, 0, 0}},    // nothing at position 0, not even a syllable under 300 ms
      {1, {0, 0, 1}},    // a syllable under 300 ms at the first position above 0
      {700, {0, 0, 1}},  // exactly 300 ms before: not yet
      {701, {1, 0, 1}},
      {1101, {1, 1, 1}},
  };
  KaraokeDisplay display(form, text, kRhymes);
  display.ShowWholeText();
  for (const Case& c : cases) {
    display.HighlightSyllables(c.position);
    for (int j = 1; j <= 3; ++j) EXPECT_EQ(text.Entry(j).Done, c.done[size_t(j - 1)]) << c.position << " #" << j;
  }
}

TEST_F(DisplayTest, TheRhymesCountTheLeadingBlankAsOneMoreAndTheSongsInTheirLength) {
  struct Case {
    const char* program;
    KaraokeDisplaySettings settings;
    int extra;
  } cases[] = {{"rhymes", kRhymes, 1}, {"songs", kSongs, 0}};
  for (const Case& c : cases) {
    lines.clear();
    form = new TForm(Application);
    MakeLines(c.settings.DisplayLines);
    Load("400*En\r\n700*tý\r\n1000*ky");  // "tý" is two bytes of code page 1250
    KaraokeDisplay display(form, text, c.settings);
    display.ShowWholeText();
    display.HighlightSyllables(401);
    EXPECT_EQ(Utf(display.LineHighlight(1)), "Entý") << c.program;
    EXPECT_EQ(Count(1), 4 + c.extra) << c.program;
    display.HighlightSyllables(701);
    EXPECT_EQ(Count(1), 6 + c.extra) << c.program;
  }
}

TEST_F(DisplayTest, EverySyllableDueInOnePassIsColouredAndReportedInTableOrder) {
  MakeLines(9);
  Load("100*a\r\n200*b@\r\n300*c\r\n5000*d");
  KaraokeDisplay display(form, text, kRhymes);
  display.ShowWholeText();
  std::string order;
  display.HighlightSyllables(1000, [&](const tslovo& s) { order += s.Text; });
  EXPECT_EQ(order, "abc");
  EXPECT_EQ(Count(1), 3);
  EXPECT_EQ(Count(2), 2);
  // The empty entry is only marked done; a coloured syllable is not reported again.
  EXPECT_EQ(text.Entry(5).Done, 1);
  display.HighlightSyllables(2000, [&](const tslovo& s) { order += s.Text; });
  EXPECT_EQ(order, "abc");
}

TEST_F(DisplayTest, AMissingLineControlIsReportedWithTheEntryAndThePassGoesOn) {
  MakeLines(9);
  delete lines[2];
  Load("100*a@\r\n200*b@\r\n300*c");
  KaraokeDisplay display(form, text, kRhymes);
  int turns = 0;
  display.HighlightSyllables(1000, [&](const tslovo&) { ++turns; });
  EXPECT_EQ(run.backend.DialogTexts(), std::vector<std::string>{"nenalezen radek 2"});
  EXPECT_EQ(turns, 3);
  EXPECT_EQ(Count(3), 2);
}

TEST_F(DisplayTest, ColouringALineRepaintsOnlyThatLine) {
  MakeLines(9);
  Load("100*a\r\n200*b@\r\n3000*c");
  KaraokeDisplay display(form, text, kRhymes);
  display.ShowWholeText();
  form->PaintNow();
  for (auto* l : lines) l->paints = 0;
  display.HighlightSyllables(1000);
  form->PaintNow();
  for (int k = 0; k <= 9; ++k) EXPECT_EQ(lines[size_t(k)]->paints, k == 1 ? 1 : 0) << k;
  // Rebuilding an unchanged whole text repaints nothing at all.
  display.ShowWholeText();
  form->PaintNow();
  for (auto* l : lines) l->paints = 0;
  display.ShowWholeText();
  form->PaintNow();
  for (int k = 0; k <= 9; ++k) EXPECT_EQ(lines[size_t(k)]->paints, 0) << k;
}

TEST_F(DisplayTest, TheSongsShowTheirHiddenLines) {
  MakeLines(12);
  for (auto* l : lines) l->SetVisible(false);
  Load("100*a");
  KaraokeDisplay display(form, text, kSongs);
  display.ShowWholeText();
  for (int k = 0; k <= 12; ++k) EXPECT_TRUE(lines[size_t(k)]->Visible()) << k;
  display.ClearLines();
  EXPECT_EQ(Caption(1), " ");
  EXPECT_EQ(Caption(0), "Ententýky");
}

// The colouring timers sleep while this holds, so it must fail whenever showing the
// whole text would change a line, whoever changed it.
TEST_F(DisplayTest, ShowsWholeTextHoldsExactlyWhileShowingItWouldChangeNothing) {
  struct Case {
    const char* what;
    KaraokeDisplaySettings settings;
    std::function<void(KaraokeDisplay&)> change;  // none: the shown text is left alone
    bool showable;  // false: the whole text cannot be shown, so it never holds
  };
  const Case cases[] = {
      {"nothing changed", kRhymes, nullptr, true},
      {"a syllable coloured", kRhymes, [](KaraokeDisplay& d) { d.HighlightSyllables(1000); }, true},
      {"a caption set by the form", kRhymes, [&](KaraokeDisplay&) { lines[2]->SetCaption(" jinak"); }, true},
      {"a count set by the form", kRhymes, [&](KaraokeDisplay&) { lines[3]->SetKolik_znaku_barevnych(2); }, true},
      {"the title set by the form", kRhymes, [&](KaraokeDisplay&) { lines[0]->SetCaption(""); }, true},
      {"the lines cleared", kRhymes, [](KaraokeDisplay& d) { d.ClearLines(); }, true},
      {"another text read", kRhymes, [&](KaraokeDisplay&) { Load("100*jiny@\r\n200*text"); }, true},
      {"a song's line hidden", kSongs, [&](KaraokeDisplay&) { lines[5]->SetVisible(false); }, true},
      {"a line's control freed", kRhymes, [&](KaraokeDisplay&) { delete lines[2]; }, false},
      {"a syllable past the last line", kRhymes,
       [&](KaraokeDisplay&) { Load("100*a\r\n@\r\n@\r\n@\r\n@\r\n@\r\n@\r\n@\r\n@\r\n@\r\n200*b"); }, false},
  };
  for (const Case& c : cases) {
    lines.clear();
    while (form->ComponentCount() > 0) delete form->Components(form->ComponentCount() - 1);
    MakeLines(12);
    Load("100*En\r\n200*ten@\r\n300*tý\r\n400*ky");
    KaraokeDisplay display(form, text, c.settings);
    EXPECT_FALSE(display.ShowsWholeText()) << c.what;  // new lines show nothing yet
    display.ShowWholeText();
    ASSERT_TRUE(display.ShowsWholeText()) << c.what;
    if (c.change) c.change(display);
    EXPECT_EQ(display.ShowsWholeText(), !c.change) << c.what;
    try {
      display.ShowWholeText();
    } catch (const EKaraokeLine&) {
    }
    EXPECT_EQ(display.ShowsWholeText(), c.showable) << c.what;
  }
}

TEST_F(DisplayTest, ALineIsLookedUpAgainOnceItsControlIsFreedOrRenamed) {
  MakeLines(9);
  KaraokeDisplay display(form, text, kRhymes);
  EXPECT_EQ(display.Line(1), lines[1]);
  lines[1]->Name = "jiny";
  EXPECT_EQ(display.Line(1), nullptr);
  lines[1]->Name = "TEXT_1";  // names compare ignoring case
  EXPECT_EQ(display.Line(1), lines[1]);
  delete lines[1];
  EXPECT_EQ(display.Line(1), nullptr);
  CountingText* again = AddLine(1, 177);
  EXPECT_EQ(display.Line(1), again);
  EXPECT_EQ(display.Line(10), nullptr);  // past the display lines: looked up, and there is none
}

// A recording played under the form's 50 ms tick, as both karaoke forms drive the display.
TEST_F(DisplayTest, ARecordingColoursEachSyllableAtTheTickAfterItFallsDue) {
  MakeLines(9);
  TempDir files;
  auto* player = new TMediaPlayer(form);
  player->FileName = WriteFile(files.str() + "/r.wav", WavFile(2000));
  player->Open();
  Load("400*En\r\n730*ten@\r\n1000*tý");
  KaraokeDisplay display(form, text, kRhymes);
  auto* timer = new TTimer(form);
  timer->SetInterval(50);
  std::vector<std::pair<int64_t, std::string>> coloured;
  timer->SetOnTimer([&](TObject*) {
    try {
      if (player->Mode() == mpPlaying)
        display.HighlightSyllables(player->Position(), [&](const tslovo& s) {
          coloured.push_back({run.backend.NowMs(), Utf(s.Text)});
        });
      else
        display.ShowWholeText();
    } catch (const Exception&) {
    }
  });
  run.RunUntil(20);
  player->Play();  // position 0 at 20 ms
  run.RunUntil(3000);
  // Due after 100, 430 and 700 ms of the recording; the ticks come at 50, 100, ... of the clock.
  EXPECT_EQ(coloured, (std::vector<std::pair<int64_t, std::string>>{{150, "En"}, {500, "ten"}, {750, "tý"}}));
  // Once the recording has ended the whole text is shown uncoloured again.
  EXPECT_EQ(Count(1), 0);
  EXPECT_EQ(Caption(1), " Enten");
}

}  // namespace
}  // namespace tq
