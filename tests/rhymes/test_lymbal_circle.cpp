// The counting-out circle as the child sees it on the screen: the arrow, at each of
// its eight positions, paints over no face, plain or counted out, and its own
// picture shows whole in the room the faces leave.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "tests/rhymes/lymbal_fixture.h"

namespace tq {
namespace {

using namespace tlb;
using tq::testing::LymbalRun;

using LymbalCircle = LymbalRun;

Rect ScreenRect(TControl* c) {
  Point o = c->ClientToScreen({0, 0});
  return {o.x, o.y, o.x + c->Width(), o.y + c->Height()};
}

// The pixels of `area` that differ between two screens.
int Differences(const Dib& a, const Dib& b, const Rect& area) {
  int n = 0;
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x) n += a.pixel(x, y) != b.pixel(x, y);
  return n;
}

TEST_F(LymbalCircle, TheArrowAtEachFacePaintsOverNoFaceAndShowsWhole) {
  Start();
  SkipIntroduction();
  const COLORREF formGreen = 0x008000;
  for (int k = 1; k <= 8; ++k) {
    SCOPED_TRACE("arrow at face " + std::to_string(k));
    form().ResetFaces();
    form().TurnArrow(uint8_t(k), false);
    // The face pointed at shows counted out, as after a rhyme.
    form().ksicht[k]->Picture().Assign(&Store("swp_ksicht" + std::to_string(k) + "a")->Picture());
    form().sipka->SetVisible(true);
    run().RunFor(50);
    const Dib withArrow = run().backend.ScreenPixels();
    tlb::testing::SaveTestScreenshot(run().backend, "rhymes_arrow" + std::to_string(k) + ".png");
    form().sipka->SetVisible(false);
    run().RunFor(50);
    const Dib without = run().backend.ScreenPixels();
    form().sipka->SetVisible(true);

    for (int f = 1; f <= 8; ++f)
      EXPECT_EQ(Differences(withArrow, without, ScreenRect(form().ksicht[f])), 0) << "face " << f << " is painted over";

    // Every pixel the arrow's picture draws (all that is not the form's green) is on
    // the screen where the centred picture puts it.
    auto* picture = dynamic_cast<TBitmap*>(Store("swp_sipka" + std::to_string(k))->Picture().Graphic());
    ASSERT_TRUE(picture && !picture->Empty());
    const Dib& arrow = picture->Pixels();
    Rect box = ScreenRect(form().sipka);
    int left = box.left + (box.right - box.left - arrow.width()) / 2;
    int top = box.top + (box.bottom - box.top - arrow.height()) / 2;
    int drawn = 0, hidden = 0;
    for (int y = 0; y < arrow.height(); ++y)
      for (int x = 0; x < arrow.width(); ++x) {
        COLORREF c = arrow.pixel(x, y);
        if (c == formGreen) continue;
        ++drawn;
        hidden += withArrow.pixel(left + x, top + y) != c;
      }
    EXPECT_GT(drawn, 2000);
    EXPECT_EQ(hidden, 0) << "of " << drawn << " arrow pixels";
  }
}

}  // namespace
}  // namespace tq
