// The rhymes form end to end: the introduction with its timed faces and arrow,
// skipping it, the blinking buttons, spoken names, the help, the keys and closing.
#include <gtest/gtest.h>

#include <map>

#include "platform/core/cp1250.h"
#include "platform/ui/message_queue.h"
#include "shared/pozadi.h"
#include "tests/rhymes/lymbal_fixture.h"

namespace tq {
namespace {

using namespace tlb;
using tq::testing::LymbalRun;

using LymbalForm = LymbalRun;

bool AnyFaceVisible(TFORM_Lymbal& f) {
  for (int k = 1; k <= 8; ++k)
    if (f.ksicht[k]->Visible()) return true;
  return false;
}

TEST_F(LymbalForm, TheIntroductionShowsTheFacesAtEightSecondsAndTheArrowAtTwelve) {
  Start();
  EXPECT_EQ(Application->Title, "TQ2 - Rozmotky");
  run().RunUntil(199);
  EXPECT_TRUE(form().wait_image->Visible());
  EXPECT_TRUE(form().stit->Visible());
  EXPECT_EQ(form().stit->Left(), 0);
  // The narration runs in a waiting loop of its own: what it shows is looked at from inside it.
  struct Seen {
    bool waitImage = true, playing = false, talking = false, faces = false, arrow = false, endButton = false;
  };
  std::map<int64_t, Seen> seen;
  for (int64_t t : {250, 8150, 8350, 12150, 12350, 20000})
    run().backend.At(t, [&, t] {
      seen[t] = {form().wait_image->Visible(), form().mysakPlayer->Mode() == mpPlaying, form().mluvici_mys->Active(),
                 AnyFaceVisible(form()), form().sipka->Visible(), form().btn_konec->Visible()};
    });
  // The narration starts at 200 ms; the faces come 8 s into it, the arrow at 12 s.
  struct Want {
    int64_t t;
    bool faces, arrow;
  } wants[] = {{250, false, false}, {8150, false, false}, {8350, true, false}, {12150, true, false},
               {12350, true, true}, {20000, true, true}};
  ASSERT_TRUE(run().RunUntil([&] { return form().btn_konec->Visible(); }, 30000));
  for (const Want& w : wants) {
    ASSERT_TRUE(seen.count(w.t)) << w.t;
    const Seen& s = seen[w.t];
    EXPECT_FALSE(s.waitImage) << w.t;
    EXPECT_TRUE(s.playing) << w.t;
    EXPECT_TRUE(s.talking) << w.t;
    EXPECT_FALSE(s.endButton) << w.t;
    EXPECT_EQ(s.faces, w.faces) << w.t;
    EXPECT_EQ(s.arrow, w.arrow) << w.t;
  }
  EXPECT_EQ(Sounds(SoundKind::Wave), std::vector<std::string>{"r_uvod1.wav"});
  // At its end the buttons come, the shield goes and the rhyme buttons blink.
  const int64_t end = run().backend.NowMs();
  EXPECT_NEAR(double(end), 200 + 22857, 120);
  EXPECT_FALSE(form().stit->Visible());
  EXPECT_TRUE(form().oddeleni->Visible());
  EXPECT_FALSE(form().mluvici_mys->Active());
  for (int k = 1; k <= 6; ++k) EXPECT_TRUE(form().btn[k]->Visible()) << k;
  std::vector<int> modes;
  for (int i = 1; i <= 4; ++i) {
    run().RunUntil(end + 400 * i + 10);
    modes.push_back(form().btn[4]->DisplayMode());
  }
  EXPECT_EQ(modes, (std::vector<int>{dmGlyphOnly, dmTextOnly, dmGlyphOnly, dmTextOnly}));
  EXPECT_TRUE(run().backend.Dialogs().empty());
}

// Without the music the introduction's waiting loop is woken by the mouth's clip
// and the form's own timers alone: the faces and the arrow still come on time.
TEST_F(LymbalForm, WithoutTheMusicTheIntroductionKeepsItsTimes) {
  Start({"hudba/lymbal.mid"});
  // Looked at before each wait, so that looking wakes nothing.
  int64_t faces = -1, arrow = -1;
  MessageQueue::Instance().AddWakeSource([&] {
    if (faces < 0 && AnyFaceVisible(form())) faces = run().backend.NowMs();
    if (arrow < 0 && form().sipka->Visible()) arrow = run().backend.NowMs();
    return int64_t(-1);
  });
  ASSERT_TRUE(run().RunUntil([&] { return form().btn_konec->Visible(); }, 30000));
  // The narration starts at 200 ms: 8 s and 12 s into it, each within a tick of 50 ms.
  EXPECT_GT(faces, 8200);
  EXPECT_LE(faces, 8250);
  EXPECT_GT(arrow, 12200);
  EXPECT_LE(arrow, 12250);
}

TEST_F(LymbalForm, EscOrAClickOnTheShieldSkipsTheIntroduction) {
  for (bool esc : {true, false}) {
    Start();
    if (esc) run().backend.PressEscape(1000);
    else run().backend.Click(1000, EmptySpot());
    run().RunUntil(1100);
    EXPECT_NE(form().mysakPlayer->Mode(), mpPlaying) << esc;
    EXPECT_TRUE(form().sipka->Visible()) << esc;
    EXPECT_TRUE(AnyFaceVisible(form())) << esc;
    EXPECT_TRUE(form().btn_konec->Visible()) << esc;
    EXPECT_FALSE(form().stit->Visible()) << esc;
    EXPECT_TRUE(form().uvodni_blikajici_ikony->Enabled()) << esc;
    EXPECT_EQ(unit().SkipRequested, 0) << esc;
  }
}

TEST_F(LymbalForm, RestingOnAButtonSpeaksItsNameOnceAfterSevenTicks) {
  Start();
  SkipIntroduction();
  // The hover timer ticks every 100 ms; the seventh tick on the button speaks.
  run().backend.MoveMouse(2050, Centre(form().btn[3]));
  run().RunUntil(2050);
  // Hovering stops the blinking with every icon shown.
  EXPECT_FALSE(form().uvodni_blikajici_ikony->Enabled());
  for (int k = 1; k <= 6; ++k) EXPECT_EQ(form().btn[k]->DisplayMode(), dmGlyphOnly) << k;
  run().RunUntil(2650);
  EXPECT_TRUE(Sounds(SoundKind::Effect).empty());
  run().RunUntil(2750);
  EXPECT_EQ(Sounds(SoundKind::Effect), std::vector<std::string>{"iko_p3.WAV"});
  // Leaving and coming back repeats nothing; the end button is named after the same rest.
  run().backend.MoveMouse(3000, EmptySpot());
  run().backend.MoveMouse(3500, Centre(form().btn[3]));
  run().RunUntil(5000);
  EXPECT_EQ(Sounds(SoundKind::Effect), std::vector<std::string>{"iko_p3.WAV"});
  run().backend.MoveMouse(5050, Centre(form().btn_konec));
  run().RunUntil(5650);
  EXPECT_EQ(Sounds(SoundKind::Effect).size(), 1u);
  run().RunUntil(5750);
  EXPECT_EQ(Sounds(SoundKind::Effect), (std::vector<std::string>{"iko_p3.WAV", "iko_kon.WAV"}));
  EXPECT_EQ(run().backend.CursorIndex(), 7);
}

// At rest after the introduction only the blinking icons and the music's loop wake
// the form; a child coming back after a minute is answered on the same beats as ever.
TEST_F(LymbalForm, AfterAMinuteAtRestTheFormSleepsAndAnswersOnItsTimersBeats) {
  Start();
  SkipIntroduction();
  const int sleeps = run().SleepsBetween(10000, 60000);
  // The blink's 125 ticks, the music timer's 100 and the music's ends; not the 1,000
  // ticks of the colouring timer and the 500 of the hover timer.
  EXPECT_LT(sleeps, 300);
  EXPECT_TRUE(form().uvodni_blikajici_ikony->Enabled());
  // The hover timer ticks on its 100 ms beat: the seventh tick on the button speaks.
  run().backend.MoveMouse(61237, Centre(form().btn[1]));
  run().RunUntil(61899);
  EXPECT_TRUE(Sounds(SoundKind::Effect).empty());
  run().RunUntil(61900);
  EXPECT_EQ(Sounds(SoundKind::Effect), std::vector<std::string>{"iko_p1.WAV"});
  // The colouring timer ticks on its 50 ms beat: the first syllable, due 300 ms into
  // the recording, is coloured at the first tick after that.
  run().backend.Click(63013, Centre(form().btn[1]));
  run().RunUntil(63349);
  EXPECT_EQ(form().Display().Line(1)->Kolik_znaku_barevnych(), 0);
  run().RunUntil(63350);
  EXPECT_EQ(form().Display().Line(1)->Kolik_znaku_barevnych(), 3);  // the blank and "En"
}

TEST_F(LymbalForm, TheMouseAndTheArrowGiveTheHelpOnlyWhenNoRhymePlays) {
  Start();
  // During the introduction a click on the mouse does nothing.
  run().backend.Click(1000, Centre(form().mluvici_mys));
  run().backend.PressEscape(1200);
  run().RunUntil(1300);
  EXPECT_EQ(Sounds(SoundKind::Wave), std::vector<std::string>{"r_uvod1.wav"});
  ClickAt(2000, form().sipka);
  run().RunUntil(2100);
  EXPECT_EQ(Sounds(SoundKind::Wave), (std::vector<std::string>{"r_uvod1.wav", "r_help1.wav"}));
  EXPECT_EQ(form().mysakPlayer->Mode(), mpPlaying);
  // A rhyme stops the help; the mouse's click during the rhyme gives nothing.
  ClickAt(3000, form().btn[2]);
  run().RunUntil(3100);
  EXPECT_NE(form().mysakPlayer->Mode(), mpPlaying);
  ClickAt(4000, form().mluvici_mys);
  run().RunUntil(4100);
  EXPECT_EQ(Sounds(SoundKind::Wave), (std::vector<std::string>{"r_uvod1.wav", "r_help1.wav", "lym2.wav"}));
}

TEST_F(LymbalForm, SlashTogglesThePositionLabelWhichReadsPositionAndLength) {
  Start();
  SkipIntroduction();
  EXPECT_FALSE(form().lbl_snimek->Visible());
  run().backend.Char(1000, '/');
  run().RunUntil(1010);
  EXPECT_TRUE(form().lbl_snimek->Visible());
  ClickAt(2000, form().btn[1]);
  run().RunUntil(3020);
  EXPECT_EQ(form().lbl_snimek->Caption(), "1000/13800");
  run().backend.Char(4000, '/');
  run().RunUntil(4010);
  EXPECT_FALSE(form().lbl_snimek->Visible());
}

TEST_F(LymbalForm, TheEndButtonClosesTheProgramAndReleasesTheBackdrop) {
  Start();
  SkipIntroduction();
  run().RunUntil(1000);
  ASSERT_NE(FORMPozadi, nullptr);
  run().backend.Click(1000, Centre(form().btn_konec));
  run().RunUntil(1200);
  EXPECT_TRUE(Application->Terminated());
  EXPECT_EQ(FORMPozadi, nullptr);
  EXPECT_EQ(unit().Closing, 1);
  EXPECT_TRUE(run().backend.Dialogs().empty());
}

TEST_F(LymbalForm, CornerPicturesHideOnScreensUpTo640PixelsWide) {
  for (int width : {640, 641}) {
    Start({}, {width, 480});
    EXPECT_EQ(form().roh_LH->Visible(), width > 640) << width;
    EXPECT_EQ(form().roh_LD->Visible(), width > 640) << width;
  }
}

TEST_F(LymbalForm, TheMusicLoopsUnderTheIntroductionAndTheRhymes) {
  Start();
  run().RunUntil(600);
  EXPECT_EQ(Sounds(SoundKind::Midi), std::vector<std::string>{"lymbal.mid"});
  EXPECT_EQ(form().MIDIPlayer->Mode(), mpPlaying);
}

TEST_F(LymbalForm, WithoutAWaveDeviceThereIsNoSoundButTheRhymesStillShow) {
  Start({}, {800, 600}, false);
  SkipIntroduction();
  run().backend.MoveMouse(1000, Centre(form().btn[1]));
  run().RunUntil(2000);
  ClickAt(2000, form().btn[1]);
  run().RunUntil(2500);
  EXPECT_TRUE(Played().empty());
  EXPECT_FALSE(MusicOn());
  EXPECT_EQ(form().text_0->Caption(), Cz("Ententýky"));
  EXPECT_TRUE(form().btn_konec->Visible());
  // The players cannot open without a wave device: the narration and the recording are reported.
  EXPECT_EQ(run().backend.DialogTexts(),
            (std::vector<std::string>{"Nenalez soubor s uvodem:" + DataDir() + "\\zvuky\\r_uvod1.wav",
                                      Cz("chyba: soubor s lymbalem nelze otevřít...")}));
}

}  // namespace
}  // namespace tq
