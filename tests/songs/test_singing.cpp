// The singing form run end to end from the song menu on the headless backend: the song
// starting by itself, the colouring following the recording, the song and version
// switches, the stop, the spoken button names, the keys and what a show keeps.
#include <algorithm>

#include "platform/core/cp1250.h"
#include "tests/songs/songs_run.h"

namespace tq::songs::testing {
namespace {

using namespace tlb;

using SingingRun = SongsRun;

// The menu's reveal is over by then.
constexpr int64_t kOpen = 3000;

TEST_F(SingingRun, TheChosenSongStartsTwoHundredMillisecondsAfterTheFirstShowAndWithinThatLater) {
  Start();
  OpenSong(2, kOpen);
  // The first show finds the song picture empty: the waiting picture shows until the start.
  CheckAt(kOpen + 199, [&] {
    EXPECT_TRUE(singing().Visible());
    EXPECT_TRUE(Recordings().empty());
    EXPECT_TRUE(singing().podklad->Picture().Bitmap()->Empty());
    EXPECT_FALSE(singing().btn_hrej->Visible());
  });
  CheckAt(kOpen + 210, [&] {
    ASSERT_EQ(Recordings().size(), 1u);
    EXPECT_EQ(ExtractFileName(Recordings()[0].file), "pis2.wav");
    // The click shows the form; the starter's first tick comes 200 ms later.
    EXPECT_GE(Recordings()[0].startMs, kOpen + 200);
    EXPECT_LE(Recordings()[0].startMs, kOpen + 201);
    EXPECT_TRUE(singing().podklad->Visible());
    EXPECT_FALSE(singing().podklad->Picture().Bitmap()->Empty());
    EXPECT_TRUE(singing().btn_hrej->Visible());
    EXPECT_EQ(singing().text_0->Caption(), Cz("Pec nám spadla"));
    EXPECT_TRUE(singing().text_0->Visible());
    EXPECT_EQ(Line(1)->Caption().rfind(Cz(" Pec nám spadla, pec nám spadla,"), 0), 0u) << Line(1)->Caption();
    EXPECT_TRUE(Line(12)->Visible());
  });
  ClickEndButton(kOpen + 1000);
  run().RunUntil(kOpen + 1100);
  EXPECT_FALSE(singing().Visible());
  EXPECT_FALSE(Line(1)->Visible());
  EXPECT_FALSE(singing().text_0->Visible());
  EXPECT_EQ(singing().text_0->Caption(), "");
  EXPECT_EQ(singing().wavplayer->Mode(), mpNotReady);  // the recording is closed at the close
  // The same song again, at a time that is not on the starter's 200 ms beat.
  int64_t again = kOpen + 3130;
  OpenSong(2, again);
  ClickEndButton(again + 1000);
  run().RunUntil(again + 1100);
  ASSERT_EQ(Recordings().size(), 2u);
  EXPECT_GT(Recordings()[1].startMs, again);
  EXPECT_LE(Recordings()[1].startMs, again + 200);
}

// A syllable is coloured at the first 50 ms tick whose position is past its time less 300 ms;
// the count takes in the blank every display line begins with.
TEST_F(SingingRun, EachSyllableIsColouredShortlyBeforeItIsSung) {
  Start();
  OpenSong(2, kOpen);
  const int64_t play = kOpen + 200;
  CheckAt(play + 3800, [&] {
    EXPECT_EQ(Line(1)->Kolik_znaku_barevnych(), 0);
    EXPECT_EQ(Line(1)->Aktivni_barva(), clRed);
  });
  CheckAt(play + 3851, [&] { EXPECT_EQ(Line(1)->Kolik_znaku_barevnych(), 4); });  // " Pec"
  CheckAt(play + 4351, [&] { EXPECT_EQ(Line(1)->Kolik_znaku_barevnych(), 8); });  // " Pec nám"
  ClickEndButton(play + 4500);
  run().RunUntil(play + 4600);
}

TEST_F(SingingRun, SongThreeIsColouredYellowAndTheOthersRed) {
  Start();
  int64_t t = kOpen;
  for (int song : {1, 2, 3, 4}) {
    OpenSong(song, t);
    CheckAt(t + 300, [&, song] {
      EXPECT_EQ(SingingUnit().CurrentSong, song);
      for (int k = 1; k <= 12; ++k) EXPECT_EQ(Line(k)->Aktivni_barva(), song == 3 ? clYellow : clRed) << song;
    });
    ClickEndButton(t + 500);
    t += 3000;
  }
  run().RunUntil(t);
}

// Another song's button mid-song loads and plays that song; the colouring starts again
// and follows the new recording.
TEST_F(SingingRun, SwitchingSongMidSongRestartsTheColouringOnTheNewRecording) {
  Start();
  OpenSong(2, kOpen);
  const int64_t play = kOpen + 200;
  ClickAt(play + 6000, singing().btn_3);
  CheckAt(play + 6051, [&] {
    ASSERT_EQ(Recordings().size(), 2u);
    EXPECT_EQ(ExtractFileName(Recordings()[1].file), "pis3.wav");
    EXPECT_EQ(singing().text_0->Caption(), Cz("Prší, prší"));
    EXPECT_EQ(Line(1)->Kolik_znaku_barevnych(), 0);
    EXPECT_EQ(Line(1)->Aktivni_barva(), clYellow);
  });
  // Song 3's first syllable, "Pr" at 4386 ms, is due 300 ms before.
  CheckAt(play + 6000 + 4086, [&] { EXPECT_EQ(Line(1)->Kolik_znaku_barevnych(), 0); });
  // The count is the coloured text's length: two characters, the line's blank and "P".
  CheckAt(play + 6000 + 4137, [&] { EXPECT_EQ(Line(1)->Kolik_znaku_barevnych(), 2); });
  ClickEndButton(play + 11000);
  run().RunUntil(play + 11100);
}

// The switch plays the current song from its beginning in the other version on the same
// text; the choice holds for the next song, in this show and the next.
TEST_F(SingingRun, TheSwitchPlaysMusicOnlyFromTheStartAndTheChoiceHolds) {
  Start();
  OpenSong(2, kOpen);
  const int64_t play = kOpen + 200;
  const int64_t sw = play + 5000;
  ClickAt(sw, singing().btn_hrej);
  CheckAt(sw + 51, [&] {
    ASSERT_EQ(Recordings().size(), 2u);
    EXPECT_EQ(ExtractFileName(Recordings()[1].file), "pis2a.wav");
    EXPECT_EQ(Recordings()[1].startMs, sw);
    EXPECT_LT(singing().wavplayer->Position(), 100);
    EXPECT_EQ(SingingUnit().SingingOn, 0);
    EXPECT_EQ(Line(1)->Kolik_znaku_barevnych(), 0);
    // The switch shows the music-only glyph.
    TBitmap* glyph = singing().btn_hrej->Glyph();
    TBitmap* musicOnly = singing().iko_pswap2->Picture().Bitmap();
    ASSERT_FALSE(musicOnly->Empty());
    EXPECT_EQ(glyph->Width(), musicOnly->Width());
    EXPECT_EQ(glyph->Pixels().pixel(30, 20), musicOnly->Pixels().pixel(30, 20));
  });
  CheckAt(sw + 3851, [&] { EXPECT_EQ(Line(1)->Kolik_znaku_barevnych(), 4); });
  ClickAt(sw + 5000, singing().btn_4);
  CheckAt(sw + 5100, [&] { EXPECT_EQ(ExtractFileName(Recordings().back().file), "pis4a.wav"); });
  ClickEndButton(sw + 6000);
  OpenSong(1, sw + 8000);
  ClickEndButton(sw + 9000);
  run().RunUntil(sw + 9100);
  EXPECT_EQ(ExtractFileName(Recordings().back().file), "pis1a.wav");
  EXPECT_TRUE(singing().btn_hrej->Visible());
}

TEST_F(SingingRun, ThePlayingSongsButtonStopsItAtItsStartAndPlaysItAgain) {
  Start();
  OpenSong(2, kOpen);
  const int64_t play = kOpen + 200;
  std::string label;
  run().backend.Char(play + 1000, '/');
  ClickAt(play + 5000, singing().btn_2);
  CheckAt(play + 5001, [&] {
    EXPECT_EQ(singing().wavplayer->Mode(), mpStopped);
    EXPECT_EQ(singing().wavplayer->Position(), 0);
    label = singing().lbl_snimek->Caption();
    EXPECT_EQ(label.rfind("49", 0), 0u) << label;  // the last position read, about 4950 ms
  });
  CheckAt(play + 5100, [&] {
    for (int k = 1; k <= 12; ++k) EXPECT_EQ(Line(k)->Kolik_znaku_barevnych(), 0) << k;
    EXPECT_EQ(singing().lbl_snimek->Caption(), label);
    EXPECT_EQ(Recordings().size(), 1u);
  });
  ClickAt(play + 6000, singing().btn_2);
  CheckAt(play + 6001, [&] {
    ASSERT_EQ(Recordings().size(), 2u);
    EXPECT_EQ(ExtractFileName(Recordings()[1].file), "pis2.wav");
    EXPECT_EQ(singing().wavplayer->Mode(), mpPlaying);
  });
  CheckAt(play + 6000 + 3851, [&] { EXPECT_EQ(Line(1)->Kolik_znaku_barevnych(), 4); });
  ClickEndButton(play + 11000);
  run().RunUntil(play + 11100);
}

// "/" does nothing before the first song of the program; then it toggles the position label.
// Esc does nothing in this form.
TEST_F(SingingRun, SlashTogglesThePositionLabelOnceASongHasStartedAndEscapeDoesNothing) {
  Start();
  OpenSong(1, kOpen);
  run().backend.Char(kOpen + 100, '/');
  run().backend.PressEscape(kOpen + 120);
  CheckAt(kOpen + 150, [&] {
    EXPECT_FALSE(singing().lbl_snimek->Visible());
    EXPECT_TRUE(singing().Visible());
  });
  run().backend.Char(kOpen + 1000, '/');
  CheckAt(kOpen + 1060, [&] {
    EXPECT_TRUE(singing().lbl_snimek->Visible());
    const std::string caption = singing().lbl_snimek->Caption();
    const size_t slash = caption.find('/');
    ASSERT_NE(slash, std::string::npos) << caption;
    int position = std::stoi(caption.substr(0, slash));
    EXPECT_GE(position, 750);
    EXPECT_LE(position, 860);
    EXPECT_EQ(std::stoi(caption.substr(slash + 1)), singing().wavplayer->Length());
  });
  run().backend.Char(kOpen + 1100, '/');
  CheckAt(kOpen + 1150, [&] { EXPECT_FALSE(singing().lbl_snimek->Visible()); });
  run().backend.Char(kOpen + 1200, '/');
  ClickEndButton(kOpen + 2000);
  run().RunUntil(kOpen + 2100);
  EXPECT_FALSE(Application->Terminated());
  // The label's visibility and the switch outlive the hide.
  OpenSong(3, kOpen + 5000);
  CheckAt(kOpen + 5100, [&] {
    EXPECT_TRUE(singing().lbl_snimek->Visible());
    EXPECT_TRUE(singing().btn_hrej->Visible());
  });
  ClickEndButton(kOpen + 6000);
  run().RunUntil(kOpen + 6100);
}

// A rest of 0.7 s on a button speaks its name while nothing plays; while a song plays it
// speaks nothing, and the button then stays silent until another has been named.
TEST_F(SingingRun, RestingOnAButtonSpeaksItsNameOnlyWhileNothingPlays) {
  Start();
  OpenSong(2, kOpen);
  const int64_t play = kOpen + 200;
  MoveTo(play + 1000, singing().btn_1);
  ClickAt(play + 3000, singing().btn_2);  // stops the song; the pointer is now on btn_2
  MoveTo(play + 3100, singing().btn_1);   // btn_1 counted as announced while the song played
  MoveTo(play + 4500, singing().btn_hrej);
  // A name is said only when no sound plays (flags 17): "iko_zpe1.WAV" lasts 1.7 s.
  MoveTo(play + 7000, singing().btn_4);
  CheckAt(play + 9000, [&] {
    std::vector<std::string> spoken = Spoken();
    EXPECT_EQ(spoken, (std::vector<std::string>{"iko_zpe1.WAV", "iko_z4.WAV"}));
  });
  // In music-only mode the switch names itself with its other file.
  ClickAt(play + 9000, singing().btn_hrej);
  ClickAt(play + 9100, singing().btn_2);  // playing: stop it
  MoveTo(play + 9200, singing().btn_konec);
  MoveTo(play + 10200, singing().btn_hrej);
  CheckAt(play + 11200, [&] {
    std::vector<std::string> spoken = Spoken();
    ASSERT_GE(spoken.size(), 2u);
    EXPECT_EQ(spoken[spoken.size() - 2], "iko_kon.WAV");
    EXPECT_EQ(spoken.back(), "iko_zpe2.WAV");
    for (const auto& r : Played())
      if (r.kind == SoundKind::Effect) {
        EXPECT_EQ(r.flags, 17u);
      }
  });
  ClickEndButton(play + 12000);
  run().RunUntil(play + 12100);
}

// Texts at and past this form's limits: 12 display lines and 140 entries.
TEST_F(SingingRun, TextsAtAndPastTheLimitsShowWhatFitsAndPlay) {
  struct Case {
    const char* what;
    std::string text;
    std::vector<std::string> messages;
    int lastLineShown;  // the highest display line with a syllable
    int syllables;      // SyllableCount - 1
  };
  auto lines = [](int displayLines, int perLine) {
    std::string t = "/Limit/\r\n-\r\n";
    int time = 500;
    for (int l = 1; l <= displayLines; ++l) {
      for (int s = 0; s < perLine; ++s, time += 100) t += std::to_string(time) + "*la" + (s + 1 == perLine ? "@" : "") + "\r\n";
    }
    return t;
  };
  const Case cases[] = {
      {"12 lines", lines(12, 3), {}, 12, 36},
      // The 13th line has no control: the display stops there, which the load reports.
      {"13 lines", lines(13, 3), {"Pri nahravani dat karaoke doslo k chybe - neni mozne prehrat pisnicky..."}, 12, 39},
      // 200 syllables: the table keeps 139 and its empty entry.
      {"200 syllables", lines(10, 20), {}, 7, 139},
      {"title and one line", "/Jen nadpis/\r\n-\r\n", {}, 0, 0},
  };
  for (const Case& c : cases) {
    Start();
    WriteDataFile("texty/pis1.syn", Cz(c.text));
    OpenSong(1, kOpen);
    CheckAt(kOpen + 300, [&] {
      EXPECT_EQ(run().backend.DialogTexts(), c.messages) << c.what;
      EXPECT_EQ(SingingUnit().Text.SyllableCount, c.syllables + 1) << c.what;
      EXPECT_EQ(SingingUnit().Text.Entry(140).Text, "") << c.what;
      for (int k = 1; k <= 12; ++k) EXPECT_EQ(Line(k)->Caption() != " ", k <= c.lastLineShown) << c.what << " " << k;
      EXPECT_EQ(singing().wavplayer->Mode(), mpPlaying) << c.what;
    });
    // Everything due is coloured on the lines there are; nothing else fails. The last
    // syllable of the longest case is at 20.4 s, and the recording lasts 24.3 s.
    CheckAt(kOpen + 200 + 21000, [&] {
      for (int k = 1; k <= c.lastLineShown; ++k)
        EXPECT_EQ(Line(k)->Kolik_znaku_barevnych(), int(Line(k)->Caption().size()) - 1) << c.what << " " << k;
      EXPECT_EQ(run().backend.DialogTexts(), c.messages) << c.what;
    });
    ClickEndButton(kOpen + 31000);
    run().RunUntil(kOpen + 31100);
  }
}

}  // namespace
}  // namespace tq::songs::testing

namespace tq::songs::testing {
namespace {

// A text with a syllable past the twelfth line is reported when it is loaded; the switch
// between singing and music only still plays the other version of that song.
TEST_F(SongsRun, TheSwitchStillPlaysWhenTheTextHasMoreLinesThanTheDisplay) {
  Start();
  std::string text = "/Moc radku/\r\n-\r\n";
  for (int line = 1; line <= 13; ++line) text += std::to_string(400 * line) + "*la@\r\n";
  WriteDataFile("texty/pis1.syn", text);
  OpenSong(1, kOpen);
  ClickAt(kOpen + 2000, singing().btn_hrej);
  CheckAt(kOpen + 2100, [&] {
    EXPECT_EQ(ExtractFileName(Recordings().back().file), "pis1a.wav");
    EXPECT_EQ(singing().wavplayer->Mode(), mpPlaying);
    EXPECT_EQ(run().backend.DialogTexts(),
              (std::vector<std::string>{"Pri nahravani dat karaoke doslo k chybe - neni mozne prehrat pisnicky..."}));
    EXPECT_EQ(Line(12)->Caption(), " la");
  });
  ClickEndButton(kOpen + 3000);
  run().RunUntil(kOpen + 3100);
}

}  // namespace
}  // namespace tq::songs::testing
