// Every data file the memory games name, missing or damaged in turn: the game's
// message where it gives one, silence elsewhere, never a crash or a hang, and the
// form still closes back to the menu. Then the hover speech over a missing name.
#include "tests/games/kim_fixture.h"

namespace tq::testing {
namespace {

class KimBadInput : public KimRun {
 protected:
  // One scripted visit: the introduction cut short, a name spoken, a 2x2 round with its
  // countdown (and game 2's task) skipped, a card, help, and the end button.
  void Visit(int tile) {
    auto form = [tile] { return tile == 1 ? static_cast<TKimShell*>(form_kim1) : form_kim2; };
    backend().PressEscape(kIntroAt + 100);
    At(2700, [this, form] { backend().MoveMouse(2700, Centre(form()->btn_hra2x2)); });
    ClickAt(3500, [form] { return static_cast<TControl*>(form()->btn_hra2x2); });
    backend().PressEscape(3500 + 5050);
    backend().PressEscape(3500 + 6500);
    const int64_t S = 3500 + 7000;
    ClickAt(S, [form] { return static_cast<TControl*>(form()->kim_11); });
    At(S + 4000, [this, form] {
      if (form()->btn_help->Visible()) backend().Click(S + 4000, Centre(form()->btn_help));
    });
    At(S + 8000, [this, form] { backend().Click(S + 8000, Centre(form()->BTN_Konec)); });
    RunUntilMenuBack(S + 20000);
  }
  // The dialog texts, with the data folder's path cut to "<data>".
  std::vector<std::string> Messages() const {
    std::vector<std::string> out;
    const std::string dir = DataDir();
    for (std::string t : backend().DialogTexts()) {
      auto at = t.find(dir);
      if (at != std::string::npos) t.replace(at, dir.size(), "<data>");
      out.push_back(t);
    }
    return out;
  }
  HeadlessBackend& backend() const { return run_->backend; }
};

using Texts = std::vector<std::string>;

TEST_F(KimBadInput, EveryFileMissingOrDamagedInTurn) {
  struct Case {
    int tile;
    const char* file;
    bool damaged;
    Texts messages;
  } cases[] = {
      {1, "animace/mys_mluv.avi", false, {"Nenalezena animace mluviciho mysaka..."}},
      {3, "animace/mys_mluv.avi", true, {"Nenalezena animace mluviciho mysaka..."}},
      {1, "hudba/kim1.mid", false,
       {"Nenalez soubor s hudbou:<data>\\hudba\\kim1.mid", "Nelze nalezt hudbu pro Kimovu hru 1..."}},
      {3, "hudba/kim2.mid", true,
       {"Nenalez soubor s hudbou:<data>\\hudba\\kim2.mid", "Nelze nalezt hudbu pro Kimovu hru 2..."}},
      {1, "zvuky/k1_uvod.wav", false, {"Nenalez soubor s uvodem:<data>\\zvuky\\k1_uvod.wav"}},
      {3, "zvuky/k2_uvod.wav", true, {"Nenalez soubor s uvodem:<data>\\zvuky\\k2_uvod.wav"}},
      {3, "zvuky/k2_ukol2.wav", false, {"Nenalez soubor s uvodem:<data>\\zvuky\\k2_ukol2.wav"}},
      {1, "zvuky/kim_go.wav", false, {"Nenalezen zvuk: <data>\\zvuky\\kim_go.wav"}},
      {1, "zvuky/k1_lo.WAV", false, {"Nenalezen zvuk: <data>\\zvuky\\k1_lo.WAV"}},
      {1, "zvuky/k1_ukol.wav", false, {"Nenalezen zvuk: <data>\\zvuky\\k1_ukol.wav"}},
      {3, "zvuky/k2_ukol.wav", false, {"Nenalezen zvuk: <data>\\zvuky\\k2_ukol.wav"}},
      {1, "obrazky/wait_14.bmp", false, {}},
      {1, "obrazky/wait_00.bmp", true, {}},
      {3, "obrazky/hodiny.bmp", true, {}},
      {1, "obrazky/k_rub.bmp", false, {}},
      {1, "obrazky/mriz2x2.bmp", true, {}},
  };
  for (const auto& c : cases) {
    if (c.damaged) Start({}, {c.file});
    else Start({c.file});
    OpenGame(c.tile);
    Visit(c.tile);
    EXPECT_EQ(Messages(), c.messages) << c.file;
    EXPECT_TRUE(FORM_Menu->AVI_obr1->Visible()) << c.file;
  }
}

// Files whose loss breaks a round: it ends quietly or with the stop box of the
// failed picture, and the game is still played and closed.
TEST_F(KimBadInput, CardPicturesMissingOrDamaged) {
  struct Case {
    int tile;
    std::vector<std::string> files;  // all taken out
    bool damaged;
  } cases[] = {
      {1, {}, false},  // every face: the round cannot be laid out
      {3, {}, true},
      {3, {}, false},  // every marked face (filled in below)
  };
  for (int i = 1; i <= 20; ++i) {
    cases[0].files.push_back("obrazky/k_" + std::to_string(i) + ".bmp");
    cases[1].files.push_back("obrazky/k_" + std::to_string(i) + ".bmp");
    cases[2].files.push_back("obrazky/nk_" + std::to_string(i) + ".bmp");
  }
  for (const auto& c : cases) {
    Start();
    for (const auto& f : c.files) c.damaged ? Damage(f) : Remove(f);
    OpenGame(c.tile);
    Visit(c.tile);
    KimShellState& s = c.tile == 1 ? static_cast<KimShellState&>(Kim1Unit()) : Kim2Unit();
    EXPECT_FALSE(s.RoundBusy) << c.files[0];
    EXPECT_FALSE(s.ClickBusy) << c.files[0];
    for (const auto& t : backend().DialogTexts()) EXPECT_EQ(t.find("chyba inicializace"), std::string::npos);
  }
}

// A missing button name shows its box once, also while the box stays open and the
// hover timer keeps ticking under it (the box takes the pointer off the button).
TEST_F(KimBadInput, AMissingButtonNameIsReportedOnceWhileItsBoxIsOpen) {
  Start({"zvuky/k1_med.WAV"});
  backend().AnswerDialog({1, std::nullopt, 3000});
  OpenGame(1);
  backend().PressEscape(kIntroAt + 100);
  At(2750, [this] { backend().MoveMouse(2750, Centre(form_kim1->btn_hra3x3)); });
  EndAt(9000);
  EXPECT_EQ(backend().DialogTexts().size(), 1u);
}

}  // namespace
}  // namespace tq::testing
