// Image lists: adding, masking, replacing and drawing, and the class library's wrapper.
#include <gtest/gtest.h>

#include "platform/core/exceptions.h"
#include "platform/graphics/imagelist_wrapper.h"
#include "platform/graphics/raster.h"
#include "tests/raster/pictures.h"

using namespace tlb;
using namespace rastertest;

namespace {

const Legend kColors = {{'r', 0x0000FF}, {'g', 0x00FF00}, {'b', 0xFF0000}, {'y', 0x00FFFF}, {'w', 0xFFFFFF},
                        {'k', 0x000000}, {'s', 0xC0C0C0}, {'m', 0x123456}, {'n', 0x800000}, {'d', 0x808080}};

// Draws with `draw` onto a w x h picture of the marker colour and gives the result back.
template <class F>
std::vector<std::string> DrawnOnMarker(int w, int h, F draw) {
  Dib surface(w, h, 32);
  surface.fill(0x123456);
  HDC dc = CreateSurfaceDC(&surface, {0, 0}, {0, 0, w, h});
  draw(dc);
  DeleteDC(dc);
  return Render(surface, kColors);
}

using Rows = std::vector<std::string>;

// Two 3 x 2 images side by side, with a mask strip (1 = transparent).
struct StripList : ::testing::Test {
  void SetUp() override {
    list = ImageList_Create(3, 2, ILC_MASK | ILC_COLOR32, 4, 4);
    HBITMAP image = CreateDIBitmap(MakeDib({"rgbyyy", "wrkyyy"}, kColors));
    HBITMAP mask = CreateDIBitmap(MakeMono({"010000", "001111"}));
    first = ImageList_Add(list, image, mask);
    DeleteObject(image);  // the list keeps copies
    DeleteObject(mask);
  }
  void TearDown() override { ImageList_Destroy(list); }
  HIMAGELIST list = nullptr;
  int first = -1;
};

}  // namespace

TEST_F(StripList, AddSplitsTheStripIntoImages) {
  EXPECT_EQ(first, 0);
  EXPECT_EQ(ImageList_GetImageCount(list), 2);
  int cx = 0, cy = 0;
  ASSERT_TRUE(ImageList_GetIconSize(list, &cx, &cy));
  EXPECT_EQ(cx, 3);
  EXPECT_EQ(cy, 2);
  HBITMAP narrow = CreateDIBitmap(MakeDib({"rr", "rr"}, kColors));
  EXPECT_EQ(ImageList_Add(list, narrow, nullptr), -1) << "narrower than one image";
  DeleteObject(narrow);
  EXPECT_EQ(ImageList_Add(list, nullptr, nullptr), 2) << "an empty image";
  EXPECT_EQ(DrawnOnMarker(3, 2, [&](HDC dc) { ImageList_Draw(list, 2, dc, 0, 0, ILD_NORMAL); }), (Rows{"mmm", "mmm"}));
  EXPECT_EQ(DrawnOnMarker(3, 2, [&](HDC dc) { ImageList_Draw(list, 2, dc, 0, 0, ILD_IMAGE); }), (Rows{"kkk", "kkk"}));
  IMAGEINFO info;
  ASSERT_TRUE(ImageList_GetImageInfo(list, 1, &info));
  EXPECT_EQ(info.hbmImage->dib.pixel(0, 0), 0x00FFFFu);
  EXPECT_EQ(info.rcImage, (Rect{0, 0, 3, 2}));
  EXPECT_FALSE(DeleteObject(info.hbmImage)) << "the list's own bitmaps are not the caller's to free";
}

TEST_F(StripList, DrawStyles) {
  struct Case {
    const char* what;
    int index;
    COLORREF listBackground, background;
    unsigned style;
    Rows expected;
  } cases[] = {
      {"transparent", 0, CLR_NONE, CLR_DEFAULT, ILD_TRANSPARENT, {"rmb", "wrm"}},
      {"normal over no background is transparent", 0, CLR_NONE, CLR_DEFAULT, ILD_NORMAL, {"rmb", "wrm"}},
      {"normal over the list's background", 0, 0x800000, CLR_DEFAULT, ILD_NORMAL, {"rnb", "wrn"}},
      {"normal, background given", 0, CLR_NONE, 0x800000, ILD_NORMAL, {"rnb", "wrn"}},
      {"normal, CLR_NONE given", 0, 0x800000, CLR_NONE, ILD_NORMAL, {"rmb", "wrm"}},
      {"transparent beats a background", 0, 0x800000, 0x800000, ILD_TRANSPARENT, {"rmb", "wrm"}},
      {"mask", 0, CLR_NONE, CLR_DEFAULT, ILD_MASK, {"kwk", "kkw"}},
      {"mask, transparent: only the black", 0, CLR_NONE, CLR_DEFAULT, ILD_MASK | ILD_TRANSPARENT, {"kmk", "kkm"}},
      {"image", 0, CLR_NONE, CLR_DEFAULT, ILD_IMAGE, {"rgb", "wrk"}},
      {"second image", 1, CLR_NONE, CLR_DEFAULT, ILD_NORMAL, {"yyy", "mmm"}},
  };
  for (const Case& c : cases) {
    ImageList_SetBkColor(list, c.listBackground);
    Rows drawn = DrawnOnMarker(3, 2, [&](HDC dc) {
      EXPECT_TRUE(ImageList_DrawEx(list, c.index, dc, 0, 0, 0, 0, c.background, CLR_NONE, c.style));
    });
    EXPECT_EQ(drawn, c.expected) << c.what;
  }
}

TEST_F(StripList, DrawPlacesClipsAndRefuses) {
  EXPECT_EQ(DrawnOnMarker(5, 3, [&](HDC dc) { ImageList_Draw(list, 0, dc, 2, 1, ILD_IMAGE); }),
            (Rows{"mmmmm", "mmrgb", "mmwrk"}));
  EXPECT_EQ(DrawnOnMarker(3, 2, [&](HDC dc) { ImageList_DrawEx(list, 0, dc, 0, 0, 2, 1, CLR_NONE, CLR_NONE, ILD_IMAGE); }),
            (Rows{"rgm", "mmm"}))
      << "only the top-left 2 x 1";
  EXPECT_EQ(DrawnOnMarker(3, 2, [&](HDC dc) { ImageList_Draw(list, 0, dc, -1, -1, ILD_IMAGE); }),
            (Rows{"rkm", "mmm"}));
  EXPECT_EQ(DrawnOnMarker(2, 1, [&](HDC dc) {
              EXPECT_FALSE(ImageList_Draw(list, 2, dc, 0, 0, ILD_NORMAL));
              EXPECT_FALSE(ImageList_Draw(list, -1, dc, 0, 0, ILD_NORMAL));
              EXPECT_THROW(ImageList_Draw(list, 0, dc, 0, 0, 0x4 /* blend */), EUnsupported);
            }),
            (Rows{"mm"}));
}

TEST_F(StripList, ReplaceAndRemove) {
  // A colour mask: its white pixels are transparent.
  HBITMAP image = CreateDIBitmap(MakeDib({"bbbb", "bbbb"}, kColors));
  HBITMAP mask = CreateDIBitmap(MakeDib({"wkk", "kkw"}, kColors));
  EXPECT_TRUE(ImageList_Replace(list, 1, image, mask));
  EXPECT_EQ(DrawnOnMarker(3, 2, [&](HDC dc) { ImageList_Draw(list, 1, dc, 0, 0, ILD_TRANSPARENT); }),
            (Rows{"mbb", "bbm"}));
  EXPECT_FALSE(ImageList_Replace(list, 2, image, mask));
  EXPECT_FALSE(ImageList_Replace(list, -1, image, mask));
  EXPECT_FALSE(ImageList_Replace(list, 0, nullptr, mask));
  EXPECT_TRUE(ImageList_Replace(list, 0, image, nullptr));
  EXPECT_EQ(DrawnOnMarker(3, 2, [&](HDC dc) { ImageList_Draw(list, 0, dc, 0, 0, ILD_TRANSPARENT); }),
            (Rows{"bbb", "bbb"}))
      << "without a mask the new image is opaque";
  DeleteObject(image);
  DeleteObject(mask);

  EXPECT_TRUE(ImageList_Remove(list, 0));
  EXPECT_EQ(ImageList_GetImageCount(list), 1);
  EXPECT_EQ(DrawnOnMarker(3, 2, [&](HDC dc) { ImageList_Draw(list, 0, dc, 0, 0, ILD_TRANSPARENT); }),
            (Rows{"mbb", "bbm"}));
  EXPECT_FALSE(ImageList_Remove(list, 1));
  EXPECT_TRUE(ImageList_SetImageCount(list, 3));
  EXPECT_EQ(ImageList_GetImageCount(list), 3);
  EXPECT_TRUE(ImageList_Remove(list, -1));
  EXPECT_EQ(ImageList_GetImageCount(list), 0);
}

// AddMasked: the mask colour becomes transparent and black in the stored image.
TEST(ImageListMasked, AddMaskedMakesTheColourTransparentAndBlack) {
  HIMAGELIST list = ImageList_Create(3, 2, ILC_MASK, 1, 1);
  HBITMAP image = CreateDIBitmap(MakeDib({"rsr", "ssy"}, kColors, 8));
  EXPECT_EQ(ImageList_AddMasked(list, image, 0xC0C0C0), 0);
  EXPECT_EQ(DrawnOnMarker(3, 2, [&](HDC dc) { ImageList_Draw(list, 0, dc, 0, 0, ILD_IMAGE); }), (Rows{"rkr", "kky"}));
  EXPECT_EQ(DrawnOnMarker(3, 2, [&](HDC dc) { ImageList_Draw(list, 0, dc, 0, 0, ILD_MASK); }), (Rows{"kwk", "wwk"}));
  EXPECT_EQ(DrawnOnMarker(3, 2, [&](HDC dc) { ImageList_Draw(list, 0, dc, 0, 0, ILD_TRANSPARENT); }),
            (Rows{"rmr", "mmy"}));
  EXPECT_EQ(ImageList_AddMasked(list, image, CLR_NONE), 1);
  EXPECT_EQ(DrawnOnMarker(3, 2, [&](HDC dc) { ImageList_Draw(list, 1, dc, 0, 0, ILD_TRANSPARENT); }),
            (Rows{"rsr", "ssy"}));
  EXPECT_EQ(ImageList_AddMasked(list, nullptr, 0), -1);
  DeleteObject(image);
  ImageList_Destroy(list);
}

// The replacement of a slot by a masked picture: add it masked, draw it normally into a
// white bitmap and as a mask into a monochrome one, replace the slot with those two, and
// remove the temporary image.
TEST(ImageListMasked, ReplaceASlotThroughATemporaryMaskedImage) {
  HIMAGELIST list = ImageList_Create(3, 2, ILC_MASK, 1, 1);
  int slot = ImageList_Add(list, nullptr, nullptr);
  HBITMAP picture = CreateDIBitmap(MakeDib({"rsg", "sbs"}, kColors));
  int temp = ImageList_AddMasked(list, picture, 0xC0C0C0);
  ASSERT_EQ(temp, 1);
  HBITMAP colour = CreateCompatibleBitmap(nullptr, 3, 2);
  colour->dib.fill(0xFFFFFF);
  HBITMAP mono = CreateBitmap(3, 2, 1, 1, nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, colour);
  ImageList_Draw(list, temp, dc, 0, 0, ILD_NORMAL);
  SelectObject(dc, mono);
  ImageList_Draw(list, temp, dc, 0, 0, ILD_MASK);
  SelectObject(dc, old);
  DeleteDC(dc);
  EXPECT_EQ(Render(colour->dib, kColors), (Rows{"rwg", "wbw"}));
  EXPECT_EQ(RenderMono(mono->dib), (Rows{"010", "101"}));
  EXPECT_TRUE(ImageList_Replace(list, slot, colour, mono));
  EXPECT_TRUE(ImageList_Remove(list, temp));
  EXPECT_EQ(ImageList_GetImageCount(list), 1);
  EXPECT_EQ(DrawnOnMarker(3, 2, [&](HDC target) {
              ImageList_DrawEx(list, slot, target, 0, 0, 0, 0, CLR_NONE, CLR_NONE, ILD_TRANSPARENT);
            }),
            (Rows{"rmg", "mbm"}));
  DeleteObject(colour);
  DeleteObject(mono);
  DeleteObject(picture);
  ImageList_Destroy(list);
}

TEST(ImageListHandles, UnmaskedListsAndDeadHandles) {
  HIMAGELIST plain = ImageList_Create(2, 1, ILC_COLOR32, 1, 1);
  HBITMAP image = CreateDIBitmap(MakeDib({"rg"}, kColors));
  HBITMAP mask = CreateDIBitmap(MakeMono({"11"}));
  ImageList_Add(plain, image, mask);
  EXPECT_EQ(DrawnOnMarker(2, 1, [&](HDC dc) { ImageList_Draw(plain, 0, dc, 0, 0, ILD_TRANSPARENT); }), (Rows{"rg"}))
      << "a list without masks draws opaque";
  EXPECT_EQ(DrawnOnMarker(2, 1, [&](HDC dc) { ImageList_Draw(plain, 0, dc, 0, 0, ILD_MASK); }), (Rows{"kk"}));
  EXPECT_TRUE(ImageList_Destroy(plain));
  EXPECT_FALSE(ImageList_Destroy(plain));
  EXPECT_EQ(ImageList_Add(plain, image, mask), -1);
  EXPECT_EQ(ImageList_GetImageCount(plain), 0);
  EXPECT_EQ(ImageList_Create(0, 5, ILC_MASK, 1, 1), nullptr);
  EXPECT_EQ(ImageList_Create(5, 40000, ILC_MASK, 1, 1), nullptr);
  DeleteObject(image);
  DeleteObject(mask);
}

TEST(ImageListWrapper, SizeLimits) {
  struct Case {
    int w, h;
    bool valid;
  } cases[] = {{0, 20, false}, {20, 0, false}, {-3, 5, false}, {20, 32769, false},
               {1, 1, true},   {20, 32768, true}, {40000, 20, true}};
  for (const Case& c : cases) {
    if (c.valid) {
      EXPECT_NO_THROW(TImageList(c.w, c.h)) << c.w << "x" << c.h;
      continue;
    }
    try {
      TImageList list(c.w, c.h);
      ADD_FAILURE() << c.w << "x" << c.h << " was accepted";
    } catch (const EInvalidOperation& e) {
      EXPECT_EQ(e.Message, "Invalid image size");
    }
  }
  TImageList list(16, 15);
  EXPECT_THROW(list.SetWidth(0), EInvalidOperation);
  EXPECT_THROW(list.SetHeight(32769), EInvalidOperation);
  EXPECT_EQ(list.Width(), 16);
  EXPECT_EQ(list.Height(), 15);
  EXPECT_TRUE(list.Masked());
}

TEST(ImageListWrapper, HandleCountAndErrors) {
  TImageList list(3, 2);
  EXPECT_FALSE(list.HandleAllocated());
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Add(nullptr, nullptr), 0);
  EXPECT_TRUE(list.HandleAllocated());
  EXPECT_EQ(list.Count(), 1);
  EXPECT_EQ(list.AddMasked(nullptr, clDefault), -1);
  HBITMAP image = CreateDIBitmap(MakeDib({"rss", "gsr"}, kColors));
  try {
    list.Replace(5, image, nullptr);
    ADD_FAILURE() << "a bad slot was replaced";
  } catch (const EInvalidOperation& e) {
    EXPECT_EQ(e.Message, "Unable to Replace Image");
  }
  EXPECT_THROW(list.Replace(0, nullptr, nullptr), EInvalidOperation);
  EXPECT_THROW(list.Delete(1), EInvalidOperation);
  EXPECT_THROW(list.Delete(-1), EInvalidOperation);
  // clDefault: the bottom-left pixel (green) is the transparent colour.
  EXPECT_EQ(list.AddMasked(image, clDefault), 1);
  EXPECT_EQ(DrawnOnMarker(3, 2, [&](HDC dc) { list.Draw(dc, 0, 0, 1); }), (Rows{"rss", "msr"}));
  // A system colour is its current value: clBtnFace is silver.
  EXPECT_EQ(list.AddMasked(image, clBtnFace), 2);
  EXPECT_EQ(DrawnOnMarker(3, 2, [&](HDC dc) { list.Draw(dc, 0, 0, 2); }), (Rows{"rmm", "gmr"}));
  list.Delete(0);
  EXPECT_EQ(list.Count(), 2);
  list.SetWidth(4);
  EXPECT_EQ(list.Count(), 0) << "a new size empties the list";
  DeleteObject(image);
}

TEST(ImageListWrapper, DisabledDrawingIsEmbossed) {
  TImageList list(3, 2);
  HBITMAP image = CreateDIBitmap(MakeDib({"rgb", "wrk"}, kColors));
  HBITMAP mask = CreateDIBitmap(MakeMono({"010", "001"}));
  list.Add(image, mask);
  EXPECT_EQ(DrawnOnMarker(5, 4, [&](HDC dc) { list.Draw(dc, 0, 0, 0, false); }),
            (Rows{"dmdmm", "ddmwm", "mwwmm", "mmmmm"}));
  DeleteObject(image);
  DeleteObject(mask);
}

TEST(ImageListWrapper, ChangeNotification) {
  int listChanges = 0, linkChanges = 0;
  auto list = std::make_unique<TImageList>(3, 2);
  list->OnChange = [&] { ++listChanges; };
  TChangeLink link;
  link.OnChange = [&] { ++linkChanges; };
  list->RegisterChanges(&link);
  EXPECT_EQ(link.Sender(), list.get());
  HBITMAP image = CreateDIBitmap(MakeDib({"rgb", "wrk"}, kColors));
  list->Add(image, nullptr);
  list->AddMasked(image, 0x0000FF);
  list->Replace(0, image, nullptr);
  list->Delete(1);
  list->Clear();
  EXPECT_EQ(listChanges, 5);
  EXPECT_EQ(linkChanges, 5);
  list->UnRegisterChanges(&link);
  EXPECT_EQ(link.Sender(), nullptr);
  list->Add(image, nullptr);
  EXPECT_EQ(linkChanges, 5);
  EXPECT_EQ(listChanges, 6);
  {
    TChangeLink shortLived;
    list->RegisterChanges(&shortLived);
  }  // unregisters itself
  list->Add(image, nullptr);
  list->RegisterChanges(&link);
  list.reset();
  EXPECT_EQ(link.Sender(), nullptr) << "a freed list lets its links go";
  DeleteObject(image);
}
