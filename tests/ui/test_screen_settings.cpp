// The screen's size (TULIMBO_SCREEN) and scale (TULIMBO_SCALE) as the
// environment gives them: what is understood, and a word on standard error for
// what is not.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/backend/headless/headless_backend.h"
#include "platform/backend/headless/screen_settings.h"

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
      {"3", 3, ""},
      {"05", 5, ""},
      {"0", 2, "TULIMBO_SCALE=\"0\" is not understood"},
      {"-1", 2, "TULIMBO_SCALE=\"-1\" is not understood"},
      {"1.5", 2, "TULIMBO_SCALE=\"1.5\" is not understood"},
      {"2x", 2, "TULIMBO_SCALE=\"2x\" is not understood"},
      {"two", 2, "TULIMBO_SCALE=\"two\" is not understood"},
      {" 2", 2, "TULIMBO_SCALE=\" 2\" is not understood"},
      // A screen under 320x200 is no use: 1920x1080 takes at most 5.
      {"6", 5, "TULIMBO_SCALE=6 is more than a 1920x1080 screen takes: using 5"},
      {"99999999999999999999", 5, "TULIMBO_SCALE=99999999999999999999 is more than"},
  };
  for (const auto& c : cases) {
    ::testing::internal::CaptureStderr();
    int scale = ScaleSetting(c.text, {1920, 1080}, 2);
    std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(scale, c.scale) << (c.text ? c.text : "(none)");
    SCOPED_TRACE(c.text ? c.text : "(none)");
    ExpectSaid(said, c.said, std::to_string(c.scale));
  }
  // The smallest screen takes no enlargement at all.
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(ScaleSetting("2", {320, 200}, 1), 1);
  EXPECT_EQ(::testing::internal::GetCapturedStderr(), "TULIMBO_SCALE=2 is more than a 320x200 screen takes: using 1\n");
}

}  // namespace
}  // namespace tlb
