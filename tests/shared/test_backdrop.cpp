// The backdrop form and the tiled picture control.
#include <gtest/gtest.h>

#include "platform/ui/stdctrls.h"
#include "resources/resources.h"
#include "shared/TileImage.h"
#include "shared/pozadi.h"
#include "tests/support/headless_run.h"

namespace tq {
namespace {

using namespace tlb;
using tlb::testing::HeadlessRun;

// A 3x2 tile whose pixel (x, y) has red 10x+1, green 10y+1: every pixel says where in the tile it is.
void FillTile(TBitmap& b) {
  b.SetPixelFormat(pf24bit);
  b.SetSize(3, 2);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) b.Pixels().setPixel(x, y, RGB(uint8_t(10 * x + 1), uint8_t(10 * y + 1), 0));
}

struct TileFixture : ::testing::Test {
  HeadlessRun run{{320, 200}};
  TForm* form = nullptr;
  TTileImage* tile = nullptr;
  TileFixture() {
    form = new TForm(Application);
    form->BorderStyle = bsNone;
    form->SetColor(clBlack);
    form->SetBounds(0, 0, 320, 200);
    tile = new TTileImage(form);
    tile->SetParent(form);
    form->Show();
  }
  void Paint() { form->PaintNow(); }
};

TEST_F(TileFixture, TilesRowByRowAndCutsTheLastColumnAndRow) {
  tile->SetBounds(0, 0, 8, 5);  // not multiples of 3x2
  TBitmap b;
  FillTile(b);
  tile->Picture().Bitmap()->Assign(b);
  tile->SetTileImage(true);
  Paint();
  EXPECT_EQ(tile->LastPaintDraws(), 3 * 3);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 8; ++x)
      EXPECT_EQ(run.backend.PixelAt(x, y), RGB(uint8_t(10 * (x % 3) + 1), uint8_t(10 * (y % 2) + 1), 0)) << x << "," << y;
  // Nothing beyond the control.
  EXPECT_EQ(run.backend.PixelAt(8, 0), COLORREF(0));
  EXPECT_EQ(run.backend.PixelAt(0, 5), COLORREF(0));
}

TEST_F(TileFixture, WithoutTilingThePictureIsDrawnOnceAtTheTopLeft) {
  tile->SetBounds(0, 0, 8, 5);
  TBitmap b;
  FillTile(b);
  tile->Picture().Bitmap()->Assign(b);
  Paint();
  EXPECT_EQ(tile->LastPaintDraws(), 1);
  EXPECT_EQ(run.backend.PixelAt(2, 1), RGB(21, 11, 0));
  EXPECT_EQ(run.backend.PixelAt(3, 0), COLORREF(0));
}

TEST_F(TileFixture, AnEmptyPictureDrawsNothing) {
  tile->SetBounds(0, 0, 8, 5);
  tile->SetTileImage(true);
  Paint();
  EXPECT_EQ(tile->LastPaintDraws(), 0);
  EXPECT_EQ(run.backend.PixelAt(1, 1), COLORREF(0));
}

TEST_F(TileFixture, AZeroSizedPictureNeverLoops) {
  tile->SetTileImage(true);
  tile->Picture().Bitmap()->SetSize(0, 7);
  Paint();
  EXPECT_EQ(tile->LastPaintDraws(), 0);
}

TEST_F(TileFixture, SettingTileImageToItsValueDoesNotRepaint) {
  Paint();
  ASSERT_FALSE(form->Dirty());
  tile->SetTileImage(false);
  EXPECT_FALSE(form->Dirty());
  tile->SetTileImage(true);
  EXPECT_TRUE(form->Dirty());
}

TEST_F(TileFixture, AssigningAPictureRepaintsOnce) {
  tile->SetBounds(0, 0, 8, 5);
  Paint();
  int before = run.backend.PresentCount();
  TPicture p;
  FillTile(*p.Bitmap());
  tile->SetPicture(&p);
  run.RunFor(20);
  EXPECT_EQ(run.backend.PresentCount() - before, 1);
}

TEST(Backdrop, CoversTheScreenDisabledWithTheHourglass) {
  for (Size screen : {Size{800, 600}, Size{641, 481}, Size{1024, 768}}) {
    HeadlessRun run(screen);
    RegisterCommonResources();
    ShowBackdrop();
    run.RunFor(10);
    ASSERT_NE(FORMPozadi, nullptr);
    EXPECT_EQ(FORMPozadi->BoundsRect(), (Rect{0, 0, screen.cx, screen.cy}));
    EXPECT_FALSE(FORMPozadi->Enabled());
    EXPECT_EQ(Screen->Cursor(), crHourGlass);
    EXPECT_EQ(run.backend.Title(), "Tulimbo II");
    const TBitmap* tile = dynamic_cast<TBitmap*>(FORMPozadi->TileImage1->Picture().Graphic());
    ASSERT_NE(tile, nullptr);
    EXPECT_EQ(tile->Width(), 60);
    EXPECT_EQ(tile->Height(), 69);
    EXPECT_EQ(tile->PixelFormat(), pf8bit);
    // The texture repeats every 60x69 pixels right up to the bottom-right corner.
    for (Point p : {Point{0, 0}, Point{59, 68}, Point{screen.cx - 1, screen.cy - 1}})
      EXPECT_EQ(run.backend.PixelAt(p.x, p.y), tile->Pixels().pixel(p.x % 60, p.y % 69));
    // A click on it reaches nothing.
    int clicks = 0;
    FORMPozadi->TileImage1->OnClick = [&](TObject*) { ++clicks; };
    run.backend.Click(run.backend.NowMs() + 10, {5, 5});
    run.RunFor(50);
    EXPECT_EQ(clicks, 0);
  }
}

TEST(Backdrop, TheApplicationFreesAnUnreleasedBackdrop) {
  {
    HeadlessRun run;
    RegisterCommonResources();
    ShowBackdrop();
  }
  EXPECT_EQ(FORMPozadi, nullptr);
}

}  // namespace
}  // namespace tq
