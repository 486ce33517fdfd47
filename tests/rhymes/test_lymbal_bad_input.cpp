// Every data file the rhymes program names, missing or damaged in turn: the
// message the form gives for it (or silence), and the program goes on, with
// the other rhymes still playing.
#include <gtest/gtest.h>

#include "platform/core/cp1250.h"
#include "tests/rhymes/lymbal_fixture.h"

namespace tq {
namespace {

using namespace tlb;
using tq::testing::LymbalRun;

using LymbalBadInput = LymbalRun;

TEST_F(LymbalBadInput, EachMissingOrDamagedFileGivesItsMessageAndTheRhymesGoOn) {
  // "@" stands for the file's full path as the form names it.
  struct Case {
    const char* file;
    std::vector<std::string> messages;
  } cases[] = {
      {"texty/lym1.syn", {"Pri nahravani dat karaoke doslo k chybe - neni mozne prehrat lymbal..."}},
      {"zvuky/lym1.wav", {Cz("chyba: soubor s lymbalem nelze otevřít...")}},
      {"obrazky/obl_3.bmp", {"nelze natahnout oblicej cislo 3"}},
      {"obrazky/obl_3a.bmp", {"nelze natahnout oblicej cislo 3"}},
      {"obrazky/sipka2.bmp", {"nelze natahnout sipku cislo 2"}},
      {"zvuky/r_uvod1.wav", {"Nenalez soubor s uvodem:@"}},
      {"zvuky/r_help1.wav", {"Nenalez soubor s helpem:@"}},
      {"zvuky/r_konec1.wav", {"Nenalez soubor s helpem:@"}},
      {"hudba/lymbal.mid", {"Nenalez soubor s hudbou:@"}},
      {"animace/mys_mluv.avi", {"Nenalezena animace mluviciho mysaka..."}},
      {"zvuky/iko_p1.WAV", {Cz("Nenalezen zvuk: ") + "@"}},
  };
  for (bool damaged : {false, true}) {
    for (const Case& c : cases) {
      const std::string label = std::string(c.file) + (damaged ? " damaged" : " missing");
      if (damaged) Start({}, {800, 600}, true, {c.file});
      else Start({c.file});
      std::string path = DataDir() + "\\" + c.file;
      std::replace(path.begin() + std::ptrdiff_t(DataDir().size()), path.end(), '/', '\\');
      std::vector<std::string> want;
      for (std::string m : c.messages) {
        if (!m.empty() && m.back() == '@') m = m.substr(0, m.size() - 1) + path;
        want.push_back(m);
      }
      // A damaged text's first line is not a title line.
      if (damaged && std::string(c.file) == "texty/lym1.syn") want = {"Format pro karaoke neni spravny."};
      // A button name that is there but does not play is silent.
      if (damaged && std::string(c.file) == "zvuky/iko_p1.WAV") want = {};

      // Skip the introduction, rest on a button, ask for the help, play rhyme 1 to its end, then rhyme 2.
      run().backend.PressEscape(300);
      run().backend.MoveMouse(650, Centre(form().btn[1]));
      run().backend.MoveMouse(1500, EmptySpot());
      run().backend.Click(1600, Centre(form().mluvici_mys));
      run().RunUntil(2000);
      ClickAt(3000, form().btn[1]);
      run().RunUntil(17500);
      ClickAt(18000, form().btn[2]);
      run().RunUntil(18100);
      EXPECT_EQ(run().backend.DialogTexts(), want) << label;
      EXPECT_EQ(form().wavplayer->Mode(), mpPlaying) << label;
      EXPECT_EQ(form().text_0->Caption(), "Enyky benyky") << label;
      EXPECT_TRUE(form().btn_konec->Visible()) << label;
    }
  }
}

TEST_F(LymbalBadInput, ATextWithTooManyLinesShowsWhatFitsAndReportsTheLoad) {
  Start();
  // Ten display lines: the tenth line's syllable has no control on the form.
  std::string text = "/Dlouhy/\r\n-\r\n";
  for (int line = 1; line <= 10; ++line) text += IntToStr(line * 500) + "*radek " + IntToStr(line) + "@\r\n";
  auto syn = dir_->path() / "program" / "texty" / "lym4.syn";
  std::filesystem::remove(syn);
  std::ofstream(syn, std::ios::binary) << text;
  run().backend.PressEscape(300);
  run().RunUntil(500);
  const int arrow = unit().ArrowPosition;
  ClickAt(1000, form().btn[4]);
  run().RunUntil(7000);
  EXPECT_EQ(run().backend.DialogTexts(),
            std::vector<std::string>{"Pri nahravani dat karaoke doslo k chybe - neni mozne prehrat lymbal..."});
  EXPECT_EQ(form().text_0->Caption(), "Dlouhy");
  EXPECT_EQ(form().Display().Line(9)->Caption(), " radek 9");
  // The arrow moved for the nine syllables that have a line, not for the tenth.
  EXPECT_EQ(unit().Text.Entry(10).Done, 1);
  EXPECT_EQ(unit().ArrowPosition, (arrow - 1 + 9) % 8 + 1);
  EXPECT_EQ(form().Display().Line(9)->Kolik_znaku_barevnych(), 8);  // " radek 9", fully coloured
}

}  // namespace
}  // namespace tq
