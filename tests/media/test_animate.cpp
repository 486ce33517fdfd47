// The animation control: opening clips, playing ranges and repetitions on the
// virtual clock, the "Cannot open AVI" failures, and how a frame is drawn.
#include "platform/media/animate.h"

#include <gtest/gtest.h>

#include "platform/core/exceptions.h"
#include "platform/ui/stdctrls.h"
#include "tests/support/headless_run.h"
#include "tests/support/media_fixtures.h"

namespace tlb {
namespace {

using namespace testing;

struct AnimateFixture : ::testing::Test {
  HeadlessRun run;
  TempDir files;
  TForm* form = new TForm(Application);
  TAnimate* anim = new TAnimate(form);
  int opened = 0;
  // 12 frames of 20x10 at 10 frames a second: 100 ms a frame.
  std::string clip = WriteFile(files.str() + "/Mys.avi", AviFile(20, 10, 12, 10));

  AnimateFixture() {
    form->SetBounds(0, 0, 200, 150);
    form->SetColor(clBlue);
    anim->SetParent(form);
    anim->SetBounds(10, 10, 60, 40);
    anim->OnOpen = [this](TObject*) { ++opened; };
    form->Show();
  }
  COLORREF Pixel(int x, int y) {
    form->PaintNow();
    return form->Surface().pixel(x, y);
  }
};

TEST_F(AnimateFixture, DefaultsAreThoseOfTheClassLibrary) {
  EXPECT_TRUE(anim->AutoSize());
  EXPECT_TRUE(anim->Center());
  EXPECT_TRUE(anim->Transparent());
  EXPECT_FALSE(anim->Timers());
  EXPECT_FALSE(anim->Active());
  EXPECT_EQ(anim->StartFrame(), 1);
  EXPECT_EQ(anim->StopFrame(), 0);
  EXPECT_EQ(anim->Repetitions(), 0);
  EXPECT_TRUE(anim->IsWindowed());
}

TEST_F(AnimateFixture, OpeningSetsTheWholeClipShowsFrameOneAndFiresOnOpen) {
  anim->SetStartFrame(3);
  anim->SetStopFrame(5);
  anim->SetFileName(clip);
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(anim->StartFrame(), 1);
  EXPECT_EQ(anim->StopFrame(), 12);
  EXPECT_EQ(anim->CurrentFrame(), 1);
  EXPECT_FALSE(anim->Active());
  // AutoSize: the control takes the frame's size.
  EXPECT_EQ(anim->Width(), 20);
  EXPECT_EQ(anim->Height(), 10);
}

TEST_F(AnimateFixture, ANameThatDiffersOnlyInCaseKeepsTheClipAnotherReopensIt) {
  anim->SetFileName(clip);
  anim->SetStopFrame(4);
  anim->SetFileName(files.str() + "/MYS.AVI");
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(anim->StopFrame(), 4);
  std::string other = WriteFile(files.str() + "/other.avi", AviFile(8, 8, 5, 10));
  anim->SetFileName(other);
  EXPECT_EQ(opened, 2);
  EXPECT_EQ(anim->StopFrame(), 5);
  EXPECT_EQ(anim->Width(), 8);
}

TEST_F(AnimateFixture, ClipsThatCannotBeOpenedRaiseCannotOpenAvi) {
  Bytes good = AviFile(20, 10, 3, 10);
  struct Case {
    const char* name;
    Bytes bytes;
    bool write;
  } cases[] = {
      {"missing file", {}, false},
      {"empty file", {}, true},
      {"truncated clip", Bytes(good.begin(), good.begin() + good.size() / 3), true},
      {"a WAV file", WavFile(100), true},
      {"no frames", AviFile(20, 10, 0, 10), true},
  };
  int n = 0;
  for (const Case& c : cases) {
    anim->SetFileName(clip);
    std::string path = files.str() + "/bad" + std::to_string(n++) + ".avi";
    if (c.write) WriteFile(path, c.bytes);
    try {
      anim->SetFileName(path);
      ADD_FAILURE() << c.name << ": no exception";
    } catch (const EAnimateError& e) {
      EXPECT_EQ(e.Message, "Cannot open AVI") << c.name;
    }
    EXPECT_FALSE(anim->Open()) << c.name << ": the old clip was closed";
    // Starting a clip that failed to open raises too.
    EXPECT_THROW(anim->SetActive(true), EAnimateError) << c.name;
    EXPECT_FALSE(anim->Active());
  }
}

TEST_F(AnimateFixture, ActivePlaysTheRangeRepetitionsTimesThenReadsFalse) {
  anim->SetFileName(clip);
  anim->SetRepetitions(1);
  anim->SetActive(true);
  EXPECT_TRUE(anim->Active());
  struct {
    int64_t at;
    int frame;
  } frames[] = {{0, 1}, {99, 1}, {100, 2}, {550, 6}, {1150, 12}};
  for (auto f : frames) {
    run.RunUntil(f.at);
    EXPECT_EQ(anim->CurrentFrame(), f.frame) << "at " << f.at;
  }
  run.RunUntil(1199);
  EXPECT_TRUE(anim->Active());
  run.RunUntil(1200);
  EXPECT_FALSE(anim->Active());
  EXPECT_EQ(anim->CurrentFrame(), 12) << "the last frame stays shown";
}

TEST_F(AnimateFixture, ActivatingARunningClipDoesNothingAStoppedOneStartsAgain) {
  anim->SetFileName(clip);
  anim->SetRepetitions(1);
  anim->SetActive(true);
  run.RunUntil(500);
  anim->SetActive(true);
  EXPECT_EQ(anim->CurrentFrame(), 6);
  run.RunUntil(1200);
  ASSERT_FALSE(anim->Active());
  anim->SetActive(true);
  EXPECT_EQ(anim->CurrentFrame(), 1);
  run.RunUntil(2399);
  EXPECT_TRUE(anim->Active());
}

TEST_F(AnimateFixture, RepetitionsAndRangesAndStopping) {
  anim->SetFileName(clip);
  anim->SetStartFrame(3);
  anim->SetStopFrame(4);
  anim->SetRepetitions(3);
  anim->SetActive(true);
  std::vector<int> seen;
  for (int64_t t = 0; t < 600; t += 100) {
    run.RunUntil(t);
    seen.push_back(anim->CurrentFrame());
  }
  EXPECT_EQ(seen, (std::vector<int>{3, 4, 3, 4, 3, 4}));
  run.RunUntil(600);
  EXPECT_FALSE(anim->Active());

  anim->SetRepetitions(0);  // without end
  anim->SetActive(true);
  run.RunFor(10000);
  EXPECT_TRUE(anim->Active());
  anim->SetActive(false);
  int stoppedAt = anim->CurrentFrame();
  run.RunFor(500);
  EXPECT_FALSE(anim->Active());
  EXPECT_EQ(anim->CurrentFrame(), stoppedAt);
}

TEST_F(AnimateFixture, OpaqueClipsFillWithColorTransparentOnesShowTheParent) {
  anim->SetAutoSize(false);
  anim->SetCenter(false);
  anim->SetTransparent(false);
  anim->SetColor(clGreen);
  anim->SetFileName(clip);
  // The frame at the top left of the control at (10, 10); the control's colour around it.
  EXPECT_EQ(Pixel(10 + 5, 10 + 5), ClipFrameColor(0));
  EXPECT_EQ(Pixel(10, 10), kClipBackground) << "the clip's own background, drawn as it is";
  EXPECT_EQ(Pixel(10 + 40, 10 + 30), ColorToRGB(clGreen));
  anim->SetTransparent(true);
  EXPECT_EQ(Pixel(10, 10), ColorToRGB(clBlue)) << "the background key lets the form show";
  EXPECT_EQ(Pixel(10 + 40, 10 + 30), ColorToRGB(clBlue));
  anim->SetCenter(true);
  // Centred: the 20x10 frame at (20, 15) inside the 60x40 control.
  EXPECT_EQ(Pixel(10 + 20 + 5, 10 + 15 + 5), ClipFrameColor(0));
  EXPECT_EQ(Pixel(10 + 5, 10 + 5), ColorToRGB(clBlue));
  anim->SetActive(true);
  run.RunUntil(100);
  EXPECT_EQ(Pixel(10 + 20 + 5, 10 + 15 + 5), ClipFrameColor(1));
}

TEST_F(AnimateFixture, TheClipLiesAbovePictureControlsCreatedAfterIt) {
  auto* cover = new TPaintBox(form);
  cover->SetParent(form);
  cover->SetBounds(0, 0, 200, 150);
  cover->OnPaint = [cover](TObject*) {
    cover->Canvas().Brush.Color = clYellow;
    cover->Canvas().FillRect({0, 0, 200, 150});
  };
  anim->SetTransparent(false);
  anim->SetCenter(false);
  anim->SetFileName(clip);
  EXPECT_EQ(Pixel(10 + 5, 10 + 5), ClipFrameColor(0));
  EXPECT_EQ(Pixel(100, 100), ColorToRGB(clYellow));
}

}  // namespace
}  // namespace tlb
