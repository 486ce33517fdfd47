// The state pictures of a button glyph, pixel by pixel: which cell each state
// shows, the recoloured and the generated disabled pictures in both styles, and
// transparency with and without a mask strip, for strips of every pixel format
// (4-bit and device strips take the blit path, 8-bit and deeper the DIB path).
#include <gtest/gtest.h>

#include "platform/core/exceptions.h"
#include "platform/graphics/imagelist_wrapper.h"
#include "tests/glyph/glyph_fixtures.h"
#include "tests/support/headless_run.h"

namespace tq {
namespace {

using namespace tlb;
using namespace tq::testing;
using tlb::testing::HeadlessRun;

// The 3-D colours during these tests, distinct from every fixture colour.
constexpr COLORREF kFace = 0x30A0A0, kHighlight = 0xA0FFFF, kShadow = 0x402020;

// A five-cell strip of 20 x 20 cells. Cell k has its own background colour (its
// bottom-left pixel) and its own ink square. Cell 1, the disabled cell, holds
// white, grey, red, the strip's transparent colour (teal, cell 0's background)
// and its own background olive.
const COLORREF kCellBackground[5] = {kTeal, kOlive, kNavy, kPurple, kMaroon};
const COLORREF kCellInk[5] = {kRed, 0, kLime, kBlue, kYellow};

COLORREF StripPixel(int x, int y) {
  int k = x / 20, cx = x % 20;
  if (k == 1) {
    if (y >= 2 && y < 6 && cx >= 2 && cx < 6) return kWhite;
    if (y >= 2 && y < 6 && cx >= 8 && cx < 12) return kGray;
    if (y >= 2 && y < 6 && cx >= 14 && cx < 18) return kRed;
    if (y >= 12 && y < 16 && cx >= 2 && cx < 10) return kTeal;
    return kOlive;
  }
  if (cx >= 5 && cx < 15 && y >= 5 && y < 15) return kCellInk[k];
  return kCellBackground[k];
}

// A one-cell glyph for the generated disabled picture: teal background (its
// bottom-left pixel), and white, silver, black, red and grey blocks.
COLORREF OneCellPixel(int x, int y) {
  if (y < 4 || y >= 16) return kTeal;
  if (x < 4) return kWhite;
  if (x < 8) return kSilver;
  if (x < 12) return kBlack;
  if (x < 16) return kRed;
  return kGray;
}

// The mask strip: the left three columns of every cell are transparent.
COLORREF MaskPixel(int x, int) { return x % 20 < 3 ? kWhite : kBlack; }

// What an emboss of a 20 x 20 cell looks like in a 21 x 21 picture: shadow where
// `marked`, a highlight copy one pixel down and right, the rest transparent.
COLORREF Embossed(int x, int y, const std::function<bool(int, int)>& marked) {
  if (x < 20 && y < 20 && marked(x, y)) return kShadow;
  if (x >= 1 && y >= 1 && x <= 20 && y <= 20 && marked(x - 1, y - 1)) return kHighlight;
  return kSentinel;
}

struct StateImageTest : ::testing::Test {
  HeadlessRun run;
  StateImageTest() {
    SetSysColorForTest(COLOR_BTNFACE, kFace);
    SetSysColorForTest(COLOR_BTNHIGHLIGHT, kHighlight);
    SetSysColorForTest(COLOR_BTNSHADOW, kShadow);
  }
  ~StateImageTest() override {
    ResetSysColors();
    // Every list was given back with the last glyph.
    EXPECT_EQ(SharedGlyphCache, nullptr);
  }
};

const TPixelFormat kFormats[] = {pfDevice, pf4bit, pf8bit, pf24bit, pf32bit};

std::string FormatName(TPixelFormat f) {
  switch (f) {
    case pfDevice: return "device";
    case pf1bit: return "1 bit";
    case pf4bit: return "4 bit";
    case pf8bit: return "8 bit";
    case pf15bit: return "15 bit";
    case pf16bit: return "16 bit";
    case pf24bit: return "24 bit";
    case pf32bit: return "32 bit";
    default: return "custom";
  }
}

TEST_F(StateImageTest, AFiveCellStripShowsOneCellPerStateWithItsOwnCornerTransparent) {
  for (TPixelFormat format : kFormats) {
    SCOPED_TRACE(FormatName(format));
    TButtonGlyph glyph;
    TBitmap strip = Painted(100, 20, StripPixel, format);
    glyph.AssignGlyph(&strip);
    ASSERT_EQ(glyph.GlyphCount, 5);
    EXPECT_EQ(glyph.TransparentColor, TColor(kTeal | PaletteRelativeFlag));
    for (uint8_t state : {vsUp, vsDown, vsExclusive, vsHot}) {
      SCOPED_TRACE(int(state));
      Dib got = ReadState(glyph, state, 21, 21);
      EXPECT_EQ(Differences(got, [&](int x, int y) {
                  if (x >= 20 || y >= 20) return kSentinel;
                  COLORREF c = StripPixel(state * 20 + x, y);
                  return c == kCellBackground[state] ? kSentinel : c;
                }),
                "");
      EXPECT_EQ(glyph.StateLists[1]->Width(), 20);
    }
  }
}

TEST_F(StateImageTest, TheDisabledCellIsRecolouredAndUsesTheStripsTransparentColour) {
  for (TPixelFormat format : kFormats) {
    SCOPED_TRACE(FormatName(format));
    TButtonGlyph glyph;
    TBitmap strip = Painted(100, 20, StripPixel, format);
    glyph.AssignGlyph(&strip);
    Dib got = ReadState(glyph, vsDisabled, 22, 22);
    ASSERT_NE(glyph.StateLists[0], nullptr);
    EXPECT_EQ(glyph.StateLists[0]->Width(), 21);
    EXPECT_EQ(glyph.StateLists[0]->Height(), 21);
    // White and grey take the 3-D colours, red stays; teal (cell 0's corner) is
    // transparent while the cell's own olive corner is not; the added row and
    // column are transparent.
    EXPECT_EQ(Differences(got, [](int x, int y) {
                if (x >= 20 || y >= 20) return kSentinel;
                COLORREF c = StripPixel(20 + x, y);
                return c == kWhite ? kHighlight : c == kGray ? kShadow : c == kTeal ? kSentinel : c;
              }),
              "");
  }
}

TEST_F(StateImageTest, AMaskStripGivesTheTransparencyOfEveryPicture) {
  for (TPixelFormat format : kFormats) {
    SCOPED_TRACE(FormatName(format));
    TButtonGlyph glyph;
    TBitmap strip = Painted(100, 20, StripPixel, format);
    TBitmap mask = Painted(100, 20, MaskPixel);
    mask.SetMonochrome(true);
    glyph.AssignGlyph(&strip);
    glyph.AssignGlyphMask(&mask);
    for (uint8_t state : {vsUp, vsHot}) {
      // The cell's own background shows: only the mask decides.
      Dib got = ReadState(glyph, state, 20, 20);
      EXPECT_EQ(Differences(got, [&](int x, int y) { return x < 3 ? kSentinel : StripPixel(state * 20 + x, y); }),
                "");
    }
    Dib disabled = ReadState(glyph, vsDisabled, 21, 21);
    EXPECT_EQ(Differences(disabled, [](int x, int y) {
                if (x >= 20 || y >= 20 || x < 3) return kSentinel;
                COLORREF c = StripPixel(20 + x, y);
                return c == kWhite ? kHighlight : c == kGray ? kShadow : c;
              }),
              "");
  }
}

TEST_F(StateImageTest, StripsOfFewerCellsShowCellZeroForTheStatesTheyLack) {
  struct Case {
    int width;
    uint8_t cells;
    uint8_t downCell;
  };
  for (Case c : {Case{60, 3, 2}, Case{40, 2, 0}}) {
    SCOPED_TRACE(c.width);
    TButtonGlyph glyph;
    TBitmap strip = Painted(c.width, 20, StripPixel);
    glyph.AssignGlyph(&strip);
    ASSERT_EQ(glyph.GlyphCount, c.cells);
    Dib down = ReadState(glyph, vsDown, 20, 20);
    EXPECT_EQ(down.pixel(10, 10), c.downCell == 2 ? kLime : kRed);
    TStateImageRef up = glyph.BuildStateImage(vsUp);
    // Held down and hot have no cell: they share the up picture's slot.
    for (uint8_t state : {vsExclusive, vsHot}) {
      TStateImageRef ref = glyph.BuildStateImage(state);
      EXPECT_EQ(ref.ListIndex, up.ListIndex);
      EXPECT_EQ(ref.Slot, up.Slot);
    }
    // Cell 1 exists in both: the disabled picture is recoloured from it.
    Dib disabled = ReadState(glyph, vsDisabled, 21, 21);
    EXPECT_EQ(disabled.pixel(3, 3), kHighlight);
    EXPECT_EQ(disabled.pixel(9, 3), kShadow);
    EXPECT_EQ(disabled.pixel(15, 3), kRed);
  }
}

TEST_F(StateImageTest, BitmapsThatAreNotFiveOrFewerSquareCellsCountAsOnePicture) {
  for (int width : {20, 45, 120}) {
    SCOPED_TRACE(width);
    TButtonGlyph glyph;
    TBitmap strip = Painted(width, 20, [](int x, int y) { return OneCellPixel(x % 20, y); });
    glyph.AssignGlyph(&strip);
    EXPECT_EQ(glyph.GlyphCount, 1);
    glyph.BuildStateImage(vsDisabled);
    ASSERT_NE(glyph.StateLists[0], nullptr);
    EXPECT_EQ(glyph.StateLists[0]->Width(), width + 1);  // generated from the whole bitmap
    EXPECT_EQ(glyph.StateLists[0]->Height(), 21);
    EXPECT_EQ(glyph.BuildStateImage(vsHot).Slot, glyph.BuildStateImage(vsUp).Slot);
  }
}

TEST_F(StateImageTest, TheGeneratedDisabledPictureEmbossesWhatIsNotPlain) {
  for (TPixelFormat format : kFormats) {
    SCOPED_TRACE(FormatName(format));
    TButtonGlyph glyph;
    TBitmap cell = Painted(20, 20, OneCellPixel, format);
    glyph.AssignGlyph(&cell);
    // New style: transparent, white and light grey pixels stay plain.
    auto notPlain = [](int x, int y) {
      COLORREF c = OneCellPixel(x, y);
      return c != kTeal && c != kWhite && c != kSilver;
    };
    Dib got = ReadState(glyph, vsDisabled, 21, 21);
    EXPECT_EQ(Differences(got, [&](int x, int y) { return Embossed(x, y, notPlain); }), "");
    EXPECT_EQ(got.pixel(12, 5), kShadow);  // a red pixel
    EXPECT_EQ(got.pixel(20, 16), kHighlight);  // below and right of the last grey column
    // Old style: only black pixels are drawn so.
    glyph.OldDisabledStyle = true;
    glyph.DropStateImages();
    Dib old = ReadState(glyph, vsDisabled, 21, 21);
    EXPECT_EQ(Differences(old, [](int x, int y) {
                return Embossed(x, y, [](int x, int y) { return OneCellPixel(x, y) == kBlack; });
              }),
              "");
  }
}

TEST_F(StateImageTest, TheGeneratedDisabledPictureLeavesMaskedPixelsPlain) {
  for (TPixelFormat format : {pfDevice, pf4bit, pf24bit}) {
    SCOPED_TRACE(FormatName(format));
    TButtonGlyph glyph;
    TBitmap cell = Painted(20, 20, OneCellPixel, format);
    TBitmap mask = Painted(20, 20, [](int x, int y) { return y >= 8 && y < 12 ? kWhite : kBlack; });
    mask.SetMonochrome(true);
    glyph.AssignGlyph(&cell);
    glyph.AssignGlyphMask(&mask);
    auto masked = [](int, int y) { return y >= 8 && y < 12; };
    Dib got = ReadState(glyph, vsDisabled, 21, 21);
    // With a mask the teal background is no longer transparent by colour: it is embossed too.
    EXPECT_EQ(Differences(got, [&](int x, int y) {
                return Embossed(x, y, [&](int x, int y) {
                  COLORREF c = OneCellPixel(x, y);
                  return !masked(x, y) && c != kWhite && c != kSilver;
                });
              }),
              "");
    glyph.OldDisabledStyle = true;
    glyph.DropStateImages();
    Dib old = ReadState(glyph, vsDisabled, 21, 21);
    EXPECT_EQ(Differences(old, [&](int x, int y) {
                return Embossed(x, y, [&](int x, int y) { return !masked(x, y) && OneCellPixel(x, y) == kBlack; });
              }),
              "");
  }
}

TEST_F(StateImageTest, EveryPixelFormatOfTheStripBuildsTheSameUpPicture) {
  for (TPixelFormat format : {pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfDevice}) {
    SCOPED_TRACE(FormatName(format));
    TButtonGlyph glyph;
    // Black and white survive every depth.
    TBitmap strip = Painted(40, 20, [](int x, int y) { return (x % 20) < 10 && y < 10 ? kWhite : kBlack; }, format);
    glyph.AssignGlyph(&strip);
    Dib up = ReadState(glyph, vsUp, 20, 20);
    EXPECT_EQ(Differences(up, [](int x, int y) { return x < 10 && y < 10 ? kWhite : kSentinel; }), "");
    EXPECT_NO_THROW(glyph.BuildStateImage(vsDisabled));
  }
}

TEST_F(StateImageTest, AnEmptyGlyphBuildsNothingAndDrawsNothing) {
  TButtonGlyph glyph;
  for (uint8_t state : {vsUp, vsDisabled, vsDown, vsExclusive, vsHot}) {
    EXPECT_EQ(glyph.BuildStateImage(state).Slot, -1);
    Dib got = ReadState(glyph, state, 4, 4);
    EXPECT_EQ(Differences(got, [](int, int) { return kSentinel; }), "");
  }
  EXPECT_EQ(glyph.StateLists[0], nullptr);
  EXPECT_EQ(glyph.StateLists[1], nullptr);
}

TEST_F(StateImageTest, AStripNarrowerThanItsCellCountIsAnInvalidImageSize) {
  TButtonGlyph glyph;
  TBitmap strip = Solid(3, 20, kRed);
  glyph.AssignGlyph(&strip);
  glyph.SetGlyphCount(5);  // cells 0 pixels wide
  try {
    glyph.BuildStateImage(vsUp);
    FAIL() << "no exception";
  } catch (const EInvalidOperation& e) {
    EXPECT_EQ(e.Message, "Invalid image size");
  }
  EXPECT_EQ(glyph.SlotIndex[1][vsUp], -1);
  // The disabled picture (one pixel wider) can be made, and shows nothing.
  TStateImageRef disabled{};
  EXPECT_NO_THROW(disabled = glyph.BuildStateImage(vsDisabled));
  Dib got = ReadState(glyph, vsDisabled, 2, 21);
  EXPECT_EQ(Differences(got, [](int, int) { return kSentinel; }), "");
}

TEST_F(StateImageTest, ChangingTheGlyphInPlaceDropsThePictures) {
  TButtonGlyph glyph;
  int changes = 0;
  glyph.OnChange = [&](TObject*) { ++changes; };
  TBitmap strip = Painted(100, 20, StripPixel);
  glyph.AssignGlyph(&strip);
  glyph.BuildStateImage(vsUp);
  glyph.BuildStateImage(vsDisabled);
  ASSERT_NE(glyph.SlotIndex[1][vsUp], -1);
  changes = 0;
  glyph.GlyphBitmap()->Canvas().SetPixel(10, 10, kFuchsia);
  EXPECT_EQ(glyph.SlotIndex[1][vsUp], -1);
  EXPECT_EQ(glyph.SlotIndex[0][vsDisabled], -1);
  EXPECT_EQ(glyph.StateLists[0], nullptr);
  EXPECT_EQ(glyph.StateLists[1], nullptr);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(ReadState(glyph, vsUp, 20, 20).pixel(10, 10), kFuchsia);
}

TEST_F(StateImageTest, PicturesAreSharedAndSlotsRecycledAcrossGlyphs) {
  TBitmap strip = Painted(100, 20, StripPixel);
  {
    TButtonGlyph a, b;
    a.AssignGlyph(&strip);
    b.AssignGlyph(&strip);
    a.BuildStateImage(vsUp);
    b.BuildStateImage(vsUp);
    a.BuildStateImage(vsDisabled);
    EXPECT_EQ(a.StateLists[1], b.StateLists[1]);
    EXPECT_EQ(SharedGlyphCache->ListCount(), 2);  // 20 x 20 and 21 x 21
    EXPECT_EQ(a.StateLists[1]->LiveCount(), 2);
    // Rebuilding after a drop reuses the slot that was given back.
    int slot = a.SlotIndex[1][vsUp];
    a.DropStateImages();
    EXPECT_EQ(SharedGlyphCache->ListCount(), 1);
    a.BuildStateImage(vsUp);
    EXPECT_EQ(a.SlotIndex[1][vsUp], slot);
    EXPECT_EQ(a.StateLists[1]->Count(), 2);
  }
}

TEST_F(StateImageTest, AGlyphThatHoldsAListWithoutAPictureNeverSeesItFreed) {
  TBitmap strip = Painted(100, 20, StripPixel);
  TButtonGlyph a, b;
  a.AssignGlyph(&strip);
  b.AssignGlyph(&strip);
  a.BuildStateImage(vsUp);
  // b has taken the list for its next picture and put none in yet (as a failed build leaves it).
  b.StateLists[1] = SharedGlyphCache->ListForSize(20, 20);
  a.DropStateImages();  // a gives back its last picture of that size
  ASSERT_EQ(SharedGlyphCache->ListCount(), 1);
  EXPECT_EQ(b.StateLists[1]->Width(), 20);  // still alive
  b.BuildStateImage(vsUp);
  EXPECT_EQ(ReadState(b, vsUp, 20, 20).pixel(10, 10), kRed);
}

TEST_F(StateImageTest, AnImageListReplacesTheStripsWithOnePicture) {
  TForm* form = new TForm(Application);
  auto* button = new TGlyphButton(form);
  TImageList images(20, 20);
  TBitmap picture = Painted(20, 20, OneCellPixel);
  TBitmap mask = Painted(20, 20, [](int x, int) { return x >= 18 ? kWhite : kBlack; });
  mask.SetMonochrome(true);
  images.Add(picture.Handle(), mask.Handle());
  TBitmap strip = Painted(100, 20, StripPixel);
  button->SetGlyph(&strip);
  button->SetImages(&images);
  EXPECT_EQ(button->NumGlyphs(), 1);
  button->SetNumGlyphs(5);
  EXPECT_EQ(button->NumGlyphs(), 1);  // whatever is asked
  TButtonGlyph& glyph = *button->ButtonGlyph();
  EXPECT_EQ(glyph.BuildStateImage(vsUp).Slot, -1);  // ImageIndex -1 shows nothing
  button->SetImageIndex(1);                         // beyond the list
  EXPECT_EQ(glyph.BuildStateImage(vsUp).Slot, -1);
  button->SetImageIndex(0);
  Dib up = ReadState(glyph, vsUp, 20, 20);
  EXPECT_EQ(Differences(up, [](int x, int y) { return x >= 18 ? kSentinel : OneCellPixel(x, y); }), "");
  for (uint8_t state : {vsDown, vsExclusive, vsHot}) EXPECT_EQ(glyph.BuildStateImage(state).Slot, glyph.SlotIndex[1][vsUp]);
  // Generated from the list's picture: the list's transparent pixels stay plain.
  Dib disabled = ReadState(glyph, vsDisabled, 21, 21);
  EXPECT_EQ(Differences(disabled, [](int x, int y) {
              return Embossed(x, y, [](int x, int y) {
                COLORREF c = OneCellPixel(x, y);
                return x < 18 && c != kWhite && c != kSilver;
              });
            }),
            "");
  // A change of the list drops the pictures.
  images.Change();
  EXPECT_EQ(glyph.SlotIndex[1][vsUp], -1);
  delete form;
}

TEST_F(StateImageTest, AFreedImageListIsForgottenNotUsed) {
  TForm* form = new TForm(Application);
  auto* button = new TGlyphButton(form);
  auto images = std::make_unique<TImageList>(8, 8);
  TBitmap picture = Solid(8, 8, kRed);
  images->Add(picture.Handle(), nullptr);
  button->SetImages(images.get());
  button->SetImageIndex(0);
  EXPECT_NE(button->ButtonGlyph()->BuildStateImage(vsUp).Slot, -1);
  images.reset();
  EXPECT_EQ(button->Images(), nullptr);
  TBitmap strip = Painted(100, 20, StripPixel);
  button->SetGlyph(&strip);
  EXPECT_EQ(button->NumGlyphs(), 5);
  EXPECT_EQ(ReadState(*button->ButtonGlyph(), vsHot, 20, 20).pixel(10, 10), kYellow);
  delete form;
}

}  // namespace
}  // namespace tq
