// The screen's size (TULIMBO_SCREEN) and scale (TULIMBO_SCALE) as the
// environment gives them: what is understood, and a word on standard error for
// what is not.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/backend/headless/headless_backend.h"
#include "platform/backend/screen_settings.h"

namespace tlb {
namespace {

// What a setting said on standard error: nothing when `start` is empty, else one
// line that begins with `start` and ends with the value used instead.
void ExpectSaid(const std::string& said, const std::string& start, const std::string& used) {
  if (start.empty()) {
    EXPECT_EQ(said, "");
    return;
  }
  EXPECT_EQ(said.rfind(start, 0), 0u) << said;
  EXPECT_NE(said.find("using " + used + "\n"), std::string::npos) << said;
  EXPECT_EQ(said.find('\n'), said.size() - 1) << "one line: " << said;
}

TEST(ScreenSettings, ScreenSizeTakesTwoWholeNumbersWithinRangeAndNothingElse) {
  struct Case {
    const char* text;
    std::optional<Size> size;
  } cases[] = {
      {"800x600", Size{800, 600}},
      {"1024X768", Size{1024, 768}},
      {"320x200", Size{320, 200}},        // the smallest
      {"16384x16384", Size{16384, 16384}},  // the largest
      {"0800x0600", Size{800, 600}},
      {"319x200", std::nullopt},
      {"320x199", std::nullopt},
      {"16385x600", std::nullopt},
      {"99999999999999999999x600", std::nullopt},  // too many digits does not wrap round into range
      {"0x0", std::nullopt},
      {"800", std::nullopt},
      {"800x", std::nullopt},
      {"x600", std::nullopt},
      {"axb", std::nullopt},
      {"800x600x3", std::nullopt},  // trailing text once passed as 800x600
      {"800x600 ", std::nullopt},
      {" 800x600", std::nullopt},
      {"+800x600", std::nullopt},
      {"-800x600", std::nullopt},
      {"800*600", std::nullopt},
      {"800 x 600", std::nullopt},
      {"", std::nullopt},
      {nullptr, std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseScreenSize(c.text), c.size) << (c.text ? c.text : "(none)");
}

TEST(ScreenSettings, AScreenSizeThatIsNotUnderstoodIsReportedOnceAndTheFallbackUsed) {
  struct Case {
    const char* text;
    Size size;
    std::string said;
  } cases[] = {
      {"1024x768", {1024, 768}, ""},
      {nullptr, {800, 600}, ""},
      {"", {800, 600}, ""},  // the tests set it empty: no setting, nothing said
      {"800x600x3", {800, 600}, "TULIMBO_SCREEN=\"800x600x3\" is not understood"},
      {"axb", {800, 600}, "TULIMBO_SCREEN=\"axb\" is not understood"},
      {"0x0", {800, 600}, "TULIMBO_SCREEN=\"0x0\" is not understood"},
  };
  for (const auto& c : cases) {
    ::testing::internal::CaptureStderr();
    Size size = ScreenSizeSetting(c.text, {800, 600});
    std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(size, c.size) << (c.text ? c.text : "(none)");
    SCOPED_TRACE(c.text ? c.text : "(none)");
    ExpectSaid(said, c.said, "800x600");
  }
}

TEST(ScreenSettings, TheHeadlessScreenReportsAMalformedSizeAndKeepsItsDefault) {
  ::setenv("TULIMBO_SCREEN", "800", 1);
  ::testing::internal::CaptureStderr();
  std::optional<HeadlessBackend> backend;
  backend.emplace();
  std::string said = ::testing::internal::GetCapturedStderr();
  ::setenv("TULIMBO_SCREEN", "", 1);
  EXPECT_EQ(backend->ScreenSize(), (Size{800, 600}));
  EXPECT_NE(said.find("TULIMBO_SCREEN=\"800\" is not understood"), std::string::npos) << said;
}

TEST(ScreenSettings, TheDefaultScaleIsTheLargestAtWhichA640x480FormFits) {
  struct Case {
    Size desktop;
    int scale;
  } cases[] = {
      {{1366, 768}, 1}, {{1920, 1080}, 2}, {{2560, 1440}, 3}, {{3840, 2160}, 4},
      {{1280, 960}, 2},  // exactly twice the form
      {{1279, 960}, 1}, {{1280, 959}, 1},
      {{800, 600}, 1}, {{320, 200}, 1},  // a screen smaller than a form still gets 1
      {{7680, 4320}, 9},
  };
  for (const auto& c : cases) EXPECT_EQ(DefaultScale(c.desktop), c.scale) << c.desktop.cx << "x" << c.desktop.cy;
}

TEST(ScreenSettings, AScaleIsAWholeNumberOfOneOrMore) {
  struct Case {
    const char* text;
    int scale;  // what a 1920x1080 screen whose default is 2 gets
    std::string said;
  } cases[] = {
      {nullptr, 2, ""},
      {"", 2, ""},
      {"1", 1, ""},
      {"2", 2, ""},
      {"02", 2, ""},
      {"0", 2, "TULIMBO_SCALE=\"0\" is not understood"},
      {"-1", 2, "TULIMBO_SCALE=\"-1\" is not understood"},
      {"1.5", 2, "TULIMBO_SCALE=\"1.5\" is not understood"},
      {"2x", 2, "TULIMBO_SCALE=\"2x\" is not understood"},
      {"two", 2, "TULIMBO_SCALE=\"two\" is not understood"},
      {" 2", 2, "TULIMBO_SCALE=\" 2\" is not understood"},
  };
  for (const auto& c : cases) {
    ::testing::internal::CaptureStderr();
    int scale = ScaleSetting(c.text, {1920, 1080}, 2);
    std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(scale, c.scale) << (c.text ? c.text : "(none)");
    SCOPED_TRACE(c.text ? c.text : "(none)");
    ExpectSaid(said, c.said, std::to_string(c.scale));
  }
}

TEST(ScreenSettings, AScaleAtWhichTheFormDoesNotFitIsReportedAndLowered) {
  struct Case {
    const char* text;
    Size screen;  // the desktop, or the window TULIMBO_SCREEN asks for
    int scale;
    std::string said;  // the whole line, or nothing
  } cases[] = {
      // 3 x 480 is more than 1080: the form's top and bottom would be cut.
      {"3", {1920, 1080}, 2, "TULIMBO_SCALE=3 does not fit a 640x480 form on a 1920x1080 screen: using 2\n"},
      {"99", {1920, 1080}, 2, "TULIMBO_SCALE=99 does not fit a 640x480 form on a 1920x1080 screen: using 2\n"},
      {"99999999999999999999", {1920, 1080}, 2,
       "TULIMBO_SCALE=99999999999999999999 does not fit a 640x480 form on a 1920x1080 screen: using 2\n"},
      {"2", {1280, 960}, 2, ""},  // exactly twice the form
      {"2", {1279, 960}, 1, "TULIMBO_SCALE=2 does not fit a 640x480 form on a 1279x960 screen: using 1\n"},
      {"2", {1280, 959}, 1, "TULIMBO_SCALE=2 does not fit a 640x480 form on a 1280x959 screen: using 1\n"},
      {"4", {2563, 1923}, 4, ""},
      {"4", {3000, 1900}, 3, "TULIMBO_SCALE=4 does not fit a 640x480 form on a 3000x1900 screen: using 3\n"},
      // A screen smaller than the form fits it at no scale: 1 stays, larger ones come down to it.
      {"1", {320, 200}, 1, ""},
      {"2", {320, 200}, 1, "TULIMBO_SCALE=2 does not fit a 640x480 form on a 320x200 screen: using 1\n"},
  };
  for (const auto& c : cases) {
    ::testing::internal::CaptureStderr();
    int scale = ScaleSetting(c.text, c.screen, 1);
    std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(scale, c.scale) << c.text << " on " << c.screen.cx << "x" << c.screen.cy;
    EXPECT_EQ(said, c.said);
  }
}

TEST(ScreenSettings, AWindowLargerThanTheDesktopIsReported) {
  struct Case {
    Size window, desktop;
    std::string said;
  } cases[] = {
      {{1920, 1080}, {1920, 1080}, ""},  // the desktop's own size fits
      {{800, 600}, {1920, 1080}, ""},
      {{2000, 1200}, {1920, 1080},
       "TULIMBO_SCREEN=2000x1200 makes a window larger than the 1920x1080 desktop: part of it is off the desktop\n"},
      {{1921, 600}, {1920, 1080},  // wider only
       "TULIMBO_SCREEN=1921x600 makes a window larger than the 1920x1080 desktop: part of it is off the desktop\n"},
      {{800, 1081}, {1920, 1080},  // taller only
       "TULIMBO_SCREEN=800x1081 makes a window larger than the 1920x1080 desktop: part of it is off the desktop\n"},
  };
  for (const auto& c : cases) {
    ::testing::internal::CaptureStderr();
    ReportWindowLargerThanDesktop(c.window, c.desktop);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), c.said) << c.window.cx << "x" << c.window.cy;
  }
}

}  // namespace
}  // namespace tlb
