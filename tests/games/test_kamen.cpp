// The rock-paper-scissors form run from the games menu on the headless backend:
// the introduction, its skips, the hover speech, the end button and reopening.
#include <gtest/gtest.h>

#include "platform/core/cp1250.h"
#include "tests/games/kamen_fixture.h"

namespace tq::testing {
namespace {

using namespace tlb;

// The boy's and the mouse's holders shown while each introduction file plays.
struct IntroPictures {
  int step;
  const char* boy;
  const char* mouse;
};
const IntroPictures kIntro[] = {
    {1, "dite_poz4", "mys_poz4"},  {2, "dite_poz1", "mys_poz1"},   {3, "dite_poz3", "mys_poz3"},
    {4, "dite_poz2", "mys_poz2"},  {5, "dite_poz4", "mys_poz4"},   {6, "dite_poz1", "mys_poz3a"},
    {7, "dite_poz3", "mys_poz2a"}, {8, "dite_poz1a", "mys_poz2"},  {9, "dite_poz1", "mys_poz1"},
};

bool PlayFieldShown(TFORM_kamen& f) {
  return !f.stit->Visible() && f.BTN_Konec->Visible() && f.oddeleni->Visible() && f.btn_kamen->Visible() &&
         f.btn_nuzky->Visible() && f.btn_papir->Visible() && f.lbl_spatne->Visible() && f.lbl_dobre->Visible() &&
         f.lbl_dvojtecka->Visible();
}

using KamenIntro = KamenRun;

TEST_F(KamenIntro, SpeaksNineFilesWithTheirPicturesThenShowsThePlayField) {
  Start();
  auto starts = IntroStarts();
  At(kOpen + 10, [](TFORM_kamen& f) {
    EXPECT_TRUE(f.stit->Visible());
    EXPECT_EQ(f.stit->BoundsRect(), Rect::FromSize(0, 0, 639, 479));
    EXPECT_EQ(Pose(f, f.hrdina_vpravo), "");
    EXPECT_EQ(f.lbl_dobre->Caption(), "0");
    EXPECT_EQ(Screen->Cursor(), crDefault);
  });
  At(kOpen + 60, [](TFORM_kamen& f) {
    EXPECT_EQ(Pose(f, f.hrdina_vpravo), "dite_poz4");
    EXPECT_EQ(Pose(f, f.hrdina_vlevo), "mys_poz4");
  });
  for (const auto& p : kIntro) {
    int64_t start = starts[size_t(p.step - 1)];
    At(start + 1, [p](TFORM_kamen& f) {
      EXPECT_EQ(KamenUnit().IntroStep, p.step);
      EXPECT_EQ(Pose(f, f.hrdina_vpravo), p.boy) << p.step;
      EXPECT_EQ(Pose(f, f.hrdina_vlevo), p.mouse) << p.step;
      EXPECT_TRUE(f.stit->Visible()) << p.step;
      EXPECT_FALSE(f.btn_kamen->Visible()) << p.step;
    });
  }
  const int64_t end = starts[8] + LengthMs("knp_uv9.wav");
  At(end - 1, [](TFORM_kamen& f) { EXPECT_TRUE(f.stit->Visible()); });
  At(end + 1, [](TFORM_kamen& f) {
    EXPECT_TRUE(PlayFieldShown(f));
    EXPECT_TRUE(f.uvodni_blikajici_ikony->Enabled());
    EXPECT_EQ(Pose(f, f.hrdina_vpravo), "dite_poz1");
    EXPECT_EQ(Pose(f, f.hrdina_vlevo), "mys_poz1");
  });
  // The buttons blink every 500 ms; the first tick keeps the icons, the second hides them.
  At(end + 501, [](TFORM_kamen& f) { EXPECT_EQ(f.btn_papir->DisplayMode(), dmGlyphOnly); });
  At(end + 1001, [](TFORM_kamen& f) { EXPECT_EQ(f.btn_papir->DisplayMode(), dmTextOnly); });
  At(end + 1501, [](TFORM_kamen& f) { EXPECT_EQ(f.btn_kamen->DisplayMode(), dmGlyphOnly); });
  EndAt(end + 2000);
  auto spoken = Sounds(SoundKind::Wave);
  ASSERT_EQ(spoken.size(), 9u);
  for (int i = 0; i < 9; ++i) {
    EXPECT_EQ(spoken[size_t(i)].file, "knp_uv" + std::to_string(i + 1) + ".wav");
    EXPECT_EQ(spoken[size_t(i)].at, starts[size_t(i)]) << i + 1;
  }
  // The music starts at the first tick of its loop timer, 2 s after the introduction began.
  std::vector<int64_t> music;
  for (const auto& m : Sounds(SoundKind::Midi))
    if (m.file == "kamen.mid") music.push_back(m.at);
  ASSERT_FALSE(music.empty());
  EXPECT_EQ(music[0], kOpen + 50 + 2000);
  EXPECT_TRUE(backend().Dialogs().empty());
}

}  // namespace
}  // namespace tq::testing
