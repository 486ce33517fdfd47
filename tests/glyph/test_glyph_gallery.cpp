// A gallery of glyph buttons in each of their states, written to a PNG to look at:
// one row per kind of button, one column per state (up, hot, down, held down, disabled).
//
//   TULIMBO_GALLERY=/tmp/glyph_gallery.png build-glyph/bin/test_glyph --gtest_filter='*Gallery*'
// Without TULIMBO_GALLERY the picture goes to the test's temporary folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "platform/formats/png_writer.h"
#include "platform/graphics/dib_blit.h"
#include "tests/glyph/button_fixture.h"

namespace tq {
namespace {

using namespace tlb;
using namespace tq::testing;

struct GalleryTest : ButtonFixture {
  static constexpr int kCell = 90, kRow = 60;
  Dib gallery{5 * kCell + 10, 6 * kRow + 10, 32};

  void Capture(TGlyphButton* b, int row, int column) {
    form->InvalidateArea({0, 0, form->Width(), form->Height()});
    form->PaintNow();
    Rect r = b->BoundsRect();
    // The button with a few pixels of its parent around it.
    Rect around{r.left - 4, r.top - 4, r.right + 4, r.bottom + 4};
    CopyDib(gallery, 5 + column * kCell, 5 + row * kRow, form->Surface(), around, {0, 0, gallery.width(), gallery.height()});
  }

  // Puts the button through its states, capturing each.
  void Row(TGlyphButton* b, int row) {
    Point inside = b->ClientToScreen({b->Width() / 2, b->Height() / 2});
    int64_t t = run.backend.NowMs();
    Capture(b, row, 0);
    run.backend.MoveMouse(t + 10, inside);
    run.RunUntil(t + 20);
    Capture(b, row, 1);
    run.backend.Press(t + 30, inside);
    run.RunUntil(t + 40);
    Capture(b, row, 2);
    b->OnClick = nullptr;
    run.backend.Release(t + 50, inside);
    run.backend.MoveMouse(t + 55, {inside.x + 1, inside.y});  // tracked again after the click
    run.backend.MoveMouse(t + 60, {600, 450});
    run.RunUntil(t + 70);
    b->SetGroupIndex(100 + row);
    b->SetDown(true);
    Capture(b, row, 3);
    b->SetAllowAllUp(true);
    b->SetDown(false);
    b->SetGroupIndex(0);
    b->SetEnabled(false);
    Capture(b, row, 4);
    b->SetEnabled(true);
  }
};

TEST_F(GalleryTest, EveryStateOfAFewButtons) {
  gallery.fill(0xFFFFFF);
  TBitmap oneCell = Painted(24, 24, [](int x, int y) {
    int dx = x - 12, dy = y - 12;
    if (dx * dx + dy * dy < 60) return kRed;
    if (dx * dx + dy * dy < 100) return kBlack;
    return kWhite;
  });
  // 1: as the forms have them. 2: flat with a border. 3: raised with a caption and
  // a generated disabled picture. 4: a caption only. 5: a combo button. 6: old-style disabled.
  TGlyphButton* forms = MakeButton("forms", Rect::FromSize(20, 20, 60, 40));
  TGlyphButton* flat = MakeButton("flat", Rect::FromSize(20, 80, 60, 40));
  flat->SetNoBorder(false);
  flat->SetColor(clBtnFace);
  TGlyphButton* raised = MakeButton("raised", Rect::FromSize(20, 140, 80, 40));
  raised->SetGlyph(&oneCell);
  raised->SetFlat(false);
  raised->SetNoBorder(false);
  raised->SetDisplayMode(dmBoth);
  raised->SetCaption("&Hra");
  TGlyphButton* text = MakeButton("text", Rect::FromSize(20, 200, 80, 40));
  text->SetDisplayMode(dmTextOnly);
  text->SetNoBorder(false);
  text->SetCaption("Ikona pro 1. p\xEDsni\xE8ku");
  text->SetWordWrap(true);
  text->Font().SetColor(clYellow);
  TGlyphButton* combo = MakeButton("combo", Rect::FromSize(20, 260, 60, 40));
  combo->SetNoBorder(false);
  combo->SetDropdownAlways(true);
  combo->SetDropdownCombo(true);
  combo->SetWidth(70);
  combo->SetFlat(false);
  TGlyphButton* old = MakeButton("old", Rect::FromSize(20, 320, 60, 40));
  old->SetGlyph(&oneCell);
  old->SetOldDisabledStyle(true);
  old->SetNoBorder(false);
  int row = 0;
  for (TGlyphButton* b : {forms, flat, raised, text, combo, old}) {
    b->OnDropdown = [](TObject*, bool&, bool&) {};
    Row(b, row++);
  }
  const char* env = std::getenv("TULIMBO_GALLERY");
  std::string path = env && *env ? env : (std::filesystem::path(::testing::TempDir()) / "glyph_gallery.png").string();
  WritePng(gallery, path);
  std::printf("glyph gallery: %s\n", path.c_str());
  EXPECT_TRUE(std::filesystem::exists(path));
  // A sanity check on the picture: the forms' button is green around its red up cell.
  EXPECT_EQ(gallery.pixel(5 + 4 + 2, 5 + 4 + 2), kGreen);
  EXPECT_EQ(gallery.pixel(5 + 4 + 30, 5 + 4 + 20), kRed);
}

}  // namespace
}  // namespace tq
