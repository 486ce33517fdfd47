// Rhymes played through the form at exact virtual times: which syllable is
// coloured at which tick, the arrow counting the faces, the counted-out face,
// the end narration, stopping with the rhyme's own button and counting on.
#include <gtest/gtest.h>

#include "platform/core/cp1250.h"
#include "tests/rhymes/lymbal_fixture.h"

namespace tq {
namespace {

using namespace tlb;
using tq::testing::LymbalRun;

using LymbalRhymes = LymbalRun;

// Syllables on display lines 1 to 9: each moves the arrow one face on.
int DisplayedSyllables(const KaraokeText& t) {
  int n = 0;
  for (int j = 1; j <= t.VisitedEntries(); ++j) n += t.Entry(j).Line >= 1 && t.Entry(j).Line <= 9;
  return n;
}
int CountOut(int from, int syllables) { return (from - 1 + syllables) % 8 + 1; }

TEST_F(LymbalRhymes, AWholeRhymeColoursItsSyllablesCountsOutAFaceAndTheNextCountsOn) {
  Start();
  SkipIntroduction();
  const int start = unit().ArrowPosition;
  ASSERT_GE(start, 1);
  ASSERT_LE(start, 8);
  ClickAt(1000, form().btn[1]);
  run().RunUntil(1005);
  EXPECT_EQ(unit().CurrentRhyme, 1);
  EXPECT_EQ(form().text_0->Caption(), Cz("Ententýky"));
  EXPECT_EQ(form().Display().Line(1)->Caption(), Cz(" Ententýky, dva špalíky,"));
  EXPECT_FALSE(form().uvodni_blikajici_ikony->Enabled());
  // "En" is sung at 600 ms: coloured at the first tick past 300 ms of the recording.
  run().RunUntil(1300);
  EXPECT_EQ(form().Display().Line(1)->Kolik_znaku_barevnych(), 0);
  run().RunUntil(1350);
  EXPECT_EQ(form().Display().Line(1)->Kolik_znaku_barevnych(), 3);
  EXPECT_EQ(unit().ArrowPosition, CountOut(start, 1));
  // "ten" at 1000 ms: due after 700, coloured at the tick at 1750.
  run().RunUntil(1700);
  EXPECT_EQ(form().Display().Line(1)->Kolik_znaku_barevnych(), 3);
  run().RunUntil(1750);
  EXPECT_EQ(form().Display().Line(1)->Kolik_znaku_barevnych(), 6);
  // The fourth line, "na tloukl si nos o plot.", begins at 11000 ms.
  run().RunUntil(1000 + 10700);
  EXPECT_EQ(form().Display().Line(4)->Kolik_znaku_barevnych(), 0);
  run().RunUntil(1000 + 10750);
  EXPECT_EQ(form().Display().Line(4)->Kolik_znaku_barevnych(), 3);
  EXPECT_EQ(form().Display().Line(3)->Kolik_znaku_barevnych(), int(form().Display().Line(3)->Caption().size()));

  // The recording ends at 14800; the tick that sees it stopped counts out the face the arrow points at.
  const int syllables = DisplayedSyllables(unit().Text);
  const int first = CountOut(start, syllables);
  run().RunUntil(14790);
  EXPECT_EQ(unit().ArrowPosition, first);
  EXPECT_TRUE(FaceShows(first, false));
  run().RunUntil(14800);
  EXPECT_TRUE(FaceShows(first, true));
  for (int k = 1; k <= 8; ++k)
    if (k != first) {
      EXPECT_TRUE(FaceShows(k, false)) << k;
    }
  EXPECT_TRUE(SamePicture(form().sipka, Store("swp_sipka" + IntToStr(first))));
  EXPECT_EQ(form().Display().Line(1)->Kolik_znaku_barevnych(), 0);
  EXPECT_TRUE(form().uvodni_blikajici_ikony->Enabled());
  EXPECT_EQ(form().mysakPlayer->Mode(), mpPlaying);
  EXPECT_EQ(Sounds(SoundKind::Wave), (std::vector<std::string>{"r_uvod1.wav", "lym1.wav", "r_konec1.wav"}));

  // The counted-out face stays until the next rhyme is loaded, which counts on from there.
  run().RunUntil(19000);
  EXPECT_TRUE(FaceShows(first, true));
  ClickAt(19000, form().btn[2]);
  run().RunUntil(19010);
  EXPECT_TRUE(FaceShows(first, false));
  EXPECT_NE(form().mysakPlayer->Mode(), mpPlaying);
  const int second = CountOut(first, DisplayedSyllables(unit().Text));
  ASSERT_TRUE(run().RunUntil([&] { return form().uvodni_blikajici_ikony->Enabled(); }, 20000));
  EXPECT_EQ(unit().ArrowPosition, second);
  EXPECT_TRUE(FaceShows(second, true));
  // The end narration comes after the first rhyme only.
  EXPECT_EQ(Sounds(SoundKind::Wave),
            (std::vector<std::string>{"r_uvod1.wav", "lym1.wav", "r_konec1.wav", "lym2.wav"}));
  EXPECT_TRUE(run().backend.Dialogs().empty());
}

TEST_F(LymbalRhymes, TheRhymesOwnButtonStopsItAtItsStartAndPlaysItAgain) {
  Start();
  SkipIntroduction();
  ClickAt(1000, form().btn[3]);
  run().RunUntil(3000);
  const int arrow = unit().ArrowPosition;
  ASSERT_GT(form().Display().Line(1)->Kolik_znaku_barevnych(), 0);
  ClickAt(3000, form().btn[3]);
  run().RunUntil(3010);
  EXPECT_EQ(form().wavplayer->Mode(), mpStopped);
  EXPECT_EQ(form().wavplayer->Position(), 0);
  EXPECT_EQ(unit().Text.Entry(1).Done, 0);
  // The next tick ends the rhyme: the face under the arrow is counted out, the text uncoloured,
  // and as the first rhyme end of the run the mouse says its end narration.
  run().RunUntil(3050);
  EXPECT_TRUE(FaceShows(arrow, true));
  EXPECT_EQ(form().Display().Line(1)->Kolik_znaku_barevnych(), 0);
  EXPECT_EQ(form().mysakPlayer->Mode(), mpPlaying);
  // Pressed again, it reloads the text, resets the faces and plays from the start.
  ClickAt(4000, form().btn[3]);
  run().RunUntil(4010);
  EXPECT_EQ(form().wavplayer->Mode(), mpPlaying);
  EXPECT_LE(form().wavplayer->Position(), 10);
  EXPECT_TRUE(FaceShows(arrow, false));
  EXPECT_EQ(unit().ArrowPosition, arrow);
}

TEST_F(LymbalRhymes, AnotherButtonWhileARhymePlaysSwitchesWithoutARhymeEnd) {
  Start();
  SkipIntroduction();
  ClickAt(1000, form().btn[1]);
  run().RunUntil(4000);
  const int arrow = unit().ArrowPosition;
  ClickAt(4000, form().btn[5]);
  run().RunUntil(4200);
  EXPECT_EQ(unit().CurrentRhyme, 5);
  EXPECT_EQ(form().wavplayer->Mode(), mpPlaying);
  for (int k = 1; k <= 8; ++k) EXPECT_TRUE(FaceShows(k, false)) << k;
  EXPECT_FALSE(form().uvodni_blikajici_ikony->Enabled());
  EXPECT_EQ(unit().EndSoundPending, 1);
  EXPECT_EQ(unit().ArrowPosition, arrow);
}

TEST_F(LymbalRhymes, TheArrowWrapsFromTheEighthFaceToTheFirst) {
  Start();
  form().TurnArrow(8, false);
  form().TurnArrow(0, true);
  EXPECT_EQ(unit().ArrowPosition, 1);
  EXPECT_TRUE(SamePicture(form().sipka, Store("swp_sipka1")));
  form().TurnArrow(9, false);
  EXPECT_EQ(unit().ArrowPosition, 1);
}

TEST_F(LymbalRhymes, TheFacesAreDealtInOneOfTheSixOrders) {
  Start();
  bool found = false;
  for (const auto& row : kFaceOrders) found = found || std::equal(row, row + 8, unit().FaceOrder);
  EXPECT_TRUE(found);
  for (int k = 1; k <= 8; ++k) EXPECT_TRUE(FaceShows(k, false)) << k;
}

}  // namespace
}  // namespace tq
