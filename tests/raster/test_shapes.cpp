// Lines, polygons, rectangles and 3-D edges, pixel by pixel.
#include <gtest/gtest.h>

#include "platform/core/exceptions.h"
#include "platform/graphics/shapes.h"
#include "tests/raster/pictures.h"

using namespace tlb;
using namespace rastertest;

namespace {

const Legend kColors = {{'k', 0x000000}, {'r', 0x0000FF}, {'g', 0x008000}, {'w', 0xFFFFFF},
                        {'H', 0xFFFFFE}, {'S', 0x808080}};

std::vector<std::string> Blank(int w, int h, char c) { return std::vector<std::string>(size_t(h), std::string(size_t(w), c)); }

// Pen and brush of one colour, as the drop-down arrow is drawn.
void ArrowTool(HDC dc, COLORREF color, HPEN& pen, HBRUSH& brush) {
  pen = CreatePen(PS_SOLID, 1, color);
  brush = CreateSolidBrush(color);
  SelectObject(dc, pen);
  SelectObject(dc, brush);
}

void DropTools(HDC dc, HPEN pen, HBRUSH brush) {
  SelectObject(dc, GetStockObject(BLACK_PEN));
  SelectObject(dc, GetStockObject(WHITE_BRUSH));
  DeleteObject(pen);
  DeleteObject(brush);
}

}  // namespace

// The 5 x 3 down arrow: rows of 5, 3 and 1 pixels, the interior by the fill rule and the
// rest by the outline; the fill alone leaves out the right and bottom edges.
TEST(Polygons, DownArrowCoverage) {
  const Point arrow[] = {{2, 1}, {6, 1}, {4, 3}};
  {
    MemoryDC dc(MakeDib(Blank(9, 5, 'k'), kColors));
    HPEN pen;
    HBRUSH brush;
    ArrowTool(dc.dc(), 0x0000FF, pen, brush);
    ASSERT_TRUE(Polygon(dc.dc(), arrow, 3));
    DropTools(dc.dc(), pen, brush);
    EXPECT_EQ(Render(dc.dib(), kColors),
              (std::vector<std::string>{"kkkkkkkkk", "kkrrrrrkk", "kkkrrrkkk", "kkkkrkkkk", "kkkkkkkkk"}));
  }
  {
    MemoryDC dc(MakeDib(Blank(9, 5, 'k'), kColors));
    HBRUSH brush = CreateSolidBrush(0x0000FF);
    SelectObject(dc.dc(), brush);
    SelectObject(dc.dc(), GetStockObject(NULL_PEN));
    ASSERT_TRUE(Polygon(dc.dc(), arrow, 3));
    SelectObject(dc.dc(), GetStockObject(WHITE_BRUSH));
    DeleteObject(brush);
    EXPECT_EQ(Render(dc.dib(), kColors),
              (std::vector<std::string>{"kkkkkkkkk", "kkrrrrkkk", "kkkrrkkkk", "kkkkkkkkk", "kkkkkkkkk"}));
  }
}

// The disabled arrow: a highlight copy one pixel down and right under the shadow one.
TEST(Polygons, DisabledArrowPair) {
  MemoryDC dc(MakeDib(Blank(8, 4, 'k'), kColors));
  int cx = 3, y = 0;
  HPEN pen;
  HBRUSH brush;
  ArrowTool(dc.dc(), 0xFFFFFE, pen, brush);
  const Point light[] = {{cx - 1, y + 1}, {cx + 3, y + 1}, {cx + 1, y + 3}};
  Polygon(dc.dc(), light, 3);
  DropTools(dc.dc(), pen, brush);
  ArrowTool(dc.dc(), 0x808080, pen, brush);
  const Point shade[] = {{cx - 2, y}, {cx + 2, y}, {cx, y + 2}};
  Polygon(dc.dc(), shade, 3);
  DropTools(dc.dc(), pen, brush);
  EXPECT_EQ(Render(dc.dib(), kColors), (std::vector<std::string>{"kSSSSSkk", "kkSSSHHk", "kkkSHHkk", "kkkkHkkk"}));
}

TEST(Polygons, AlternateRuleAndDegenerateInput) {
  // A square of (0,0)-(4,4) with a null pen fills 4 x 4 pixels.
  MemoryDC dc(MakeDib(Blank(6, 5, 'k'), kColors));
  HBRUSH brush = CreateSolidBrush(0x0000FF);
  SelectObject(dc.dc(), brush);
  SelectObject(dc.dc(), GetStockObject(NULL_PEN));
  const Point square[] = {{0, 0}, {4, 0}, {4, 4}, {0, 4}};
  ASSERT_TRUE(Polygon(dc.dc(), square, 4));
  // A frame drawn as one polygon, outer then inner square: the hole stays empty.
  const Point frame[] = {{0, 0}, {6, 0}, {6, 5}, {0, 5}, {0, 0}, {2, 1}, {4, 1}, {4, 3}, {2, 3}, {2, 1}};
  dc.dib().fill(0);
  ASSERT_TRUE(Polygon(dc.dc(), frame, 10));
  EXPECT_EQ(Render(dc.dib(), kColors), (std::vector<std::string>{"rrrrrr", "rrkkrr", "rrkkrr", "rrrrrr", "rrrrrr"}));
  EXPECT_FALSE(Polygon(dc.dc(), square, 1));
  EXPECT_FALSE(Polygon(dc.dc(), nullptr, 3));
  const Point far[] = {{-2000000000, -2000000000}, {2000000000, -2000000000}, {0, 2000000000}};
  EXPECT_TRUE(Polygon(dc.dc(), far, 3)) << "huge coordinates stay inside the clip and finish";
  SelectObject(dc.dc(), GetStockObject(WHITE_BRUSH));
  DeleteObject(brush);
}

// The grown disabled mask: a white polyline (0,H) -> (W,H) -> (W,-1) sets the new bottom
// row and right column; the last point is not drawn.
TEST(Lines, PolylineOnTheGrownMask) {
  MemoryDC mask(MakeMono({"0100", "0010", "0000"}));
  HPEN white = CreatePen(PS_SOLID, 1, 0xFFFFFF);
  SelectObject(mask.dc(), white);
  const Point path[] = {{0, 2}, {3, 2}, {3, -1}};
  ASSERT_TRUE(Polyline(mask.dc(), path, 3));
  SelectObject(mask.dc(), GetStockObject(BLACK_PEN));
  DeleteObject(white);
  EXPECT_EQ(RenderMono(mask.dib()), (std::vector<std::string>{"0101", "0011", "1111"}));
}

TEST(Lines, LineToLeavesOutItsLastPixelAndMovesThePen) {
  MemoryDC dc(MakeDib(Blank(5, 5, 'k'), kColors));
  HPEN red = CreatePen(PS_SOLID, 1, 0x0000FF);
  SelectObject(dc.dc(), red);
  Point before{9, 9};
  MoveToEx(dc.dc(), 0, 0, &before);
  EXPECT_EQ(before, (Point{0, 0}));
  LineTo(dc.dc(), 3, 3);
  LineTo(dc.dc(), 3, 0);
  EXPECT_EQ(dc.dc()->penPos, (Point{3, 0}));
  SelectObject(dc.dc(), GetStockObject(BLACK_PEN));
  DeleteObject(red);
  EXPECT_EQ(Render(dc.dib(), kColors), (std::vector<std::string>{"rkkkk", "krkrk", "kkrrk", "kkkrk", "kkkkk"}));
}

TEST(Lines, AnyLengthFinishesAndDrawsOnlyInsideTheClip) {
  MemoryDC dc(MakeDib(Blank(5, 5, 'k'), kColors));
  HPEN red = CreatePen(PS_SOLID, 1, 0x0000FF);
  SelectObject(dc.dc(), red);
  MoveToEx(dc.dc(), -2000000000, 2, nullptr);
  LineTo(dc.dc(), 2000000000, 2);
  const Point far[] = {{2000000000, -2000000000}, {0, 2000000000}, {-2000000000, -2000000000}};
  Polyline(dc.dc(), far, 3);
  SelectObject(dc.dc(), GetStockObject(BLACK_PEN));
  DeleteObject(red);
  EXPECT_EQ(Render(dc.dib(), kColors)[2], "rrrrr");
  EXPECT_EQ(Render(dc.dib(), kColors)[4], "kkkkk");
}

// PS_DASH: 18 on, 6 off; the gaps take the background colour only in OPAQUE mode.
TEST(Lines, DashedPenGaps) {
  for (int mode : {TRANSPARENT, OPAQUE}) {
    MemoryDC dc(MakeDib(Blank(32, 1, 'k'), kColors));
    HPEN dash = CreatePen(PS_DASH, 1, 0x0000FF);
    SelectObject(dc.dc(), dash);
    SetBkMode(dc.dc(), mode);
    SetBkColor(dc.dc(), 0xFFFFFF);
    MoveToEx(dc.dc(), 0, 0, nullptr);
    LineTo(dc.dc(), 30, 0);
    SelectObject(dc.dc(), GetStockObject(BLACK_PEN));
    DeleteObject(dash);
    std::string gap(6, mode == OPAQUE ? 'w' : 'k');
    EXPECT_EQ(Render(dc.dib(), kColors)[0], std::string(18, 'r') + gap + std::string(6, 'r') + "kk") << mode;
  }
}

TEST(Rectangles, PenFrameBrushInsideAndNullPen) {
  MemoryDC dc(MakeDib(Blank(5, 4, 'g'), kColors));
  HBRUSH red = CreateSolidBrush(0x0000FF);
  SelectObject(dc.dc(), red);
  ASSERT_TRUE(Rectangle(dc.dc(), 0, 0, 5, 4));
  EXPECT_EQ(Render(dc.dib(), kColors), (std::vector<std::string>{"kkkkk", "krrrk", "krrrk", "kkkkk"}));
  dc.dib().fill(0x008000);
  SelectObject(dc.dc(), GetStockObject(NULL_PEN));
  ASSERT_TRUE(Rectangle(dc.dc(), 5, 4, 0, 0)) << "corners in any order";
  EXPECT_EQ(Render(dc.dib(), kColors), (std::vector<std::string>{"rrrrg", "rrrrg", "rrrrg", "ggggg"}));
  SelectObject(dc.dc(), GetStockObject(WHITE_BRUSH));
  SelectObject(dc.dc(), GetStockObject(BLACK_PEN));
  DeleteObject(red);
}

TEST(Rectangles, DashedFrameWithAHollowBrushAndAWidePen) {
  {
    MemoryDC dc(MakeDib(Blank(40, 3, 'g'), kColors));
    HPEN dash = CreatePen(PS_DASH, 1, 0x0000FF);
    SelectObject(dc.dc(), dash);
    SelectObject(dc.dc(), GetStockObject(NULL_BRUSH));
    SetBkMode(dc.dc(), TRANSPARENT);
    ASSERT_TRUE(Rectangle(dc.dc(), 0, 0, 40, 3));
    SelectObject(dc.dc(), GetStockObject(BLACK_PEN));
    DeleteObject(dash);
    std::vector<std::string> picture = Render(dc.dib(), kColors);
    EXPECT_EQ(picture[0], std::string(18, 'r') + std::string(6, 'g') + std::string(16, 'r'));
    EXPECT_EQ(picture[1][20], 'g') << "the hollow brush leaves the inside";
  }
  {
    MemoryDC dc(MakeDib(Blank(6, 6, 'g'), kColors));
    HPEN wide = CreatePen(PS_SOLID, 2, 0x000000);
    HBRUSH red = CreateSolidBrush(0x0000FF);
    SelectObject(dc.dc(), wide);
    SelectObject(dc.dc(), red);
    ASSERT_TRUE(Rectangle(dc.dc(), 0, 0, 6, 6));
    SelectObject(dc.dc(), GetStockObject(BLACK_PEN));
    SelectObject(dc.dc(), GetStockObject(WHITE_BRUSH));
    DeleteObject(wide);
    DeleteObject(red);
    EXPECT_EQ(Render(dc.dib(), kColors),
              (std::vector<std::string>{"kkkkkk", "kkkkkk", "kkrrkk", "kkrrkk", "kkkkkk", "kkkkkk"}));
  }
}

// DrawEdge on a 6 x 6 rectangle. L 3-D light, D dark shadow, H highlight, S shadow,
// F face, m the untouched background.
TEST(Edges, ColoursPerEdgeAndFlag) {
  const Legend legend = {{'L', 0xDFDFDF}, {'D', 0x000000}, {'H', 0xFFFFFF},
                         {'S', 0x808080}, {'F', 0xC0C0C0}, {'m', 0x123456}};
  struct Case {
    const char* what;
    unsigned edge, flags;
    std::vector<std::string> picture;
    Rect adjusted;
  } cases[] = {
      {"raised", EDGE_RAISED, BF_RECT | BF_ADJUST,
       {"LLLLLD", "LHHHSD", "LHmmSD", "LHmmSD", "LSSSSD", "DDDDDD"}, {2, 2, 4, 4}},
      {"sunken", EDGE_SUNKEN, BF_RECT,
       {"SSSSSH", "SDDDLH", "SDmmLH", "SDmmLH", "SLLLLH", "HHHHHH"}, {0, 0, 6, 6}},
      {"flat, hot", BDR_RAISEDINNER, BF_RECT | BF_ADJUST,
       {"HHHHHS", "HmmmmS", "HmmmmS", "HmmmmS", "HmmmmS", "SSSSSS"}, {1, 1, 5, 5}},
      {"flat, pressed", BDR_SUNKENOUTER, BF_RECT,
       {"SSSSSH", "SmmmmH", "SmmmmH", "SmmmmH", "SmmmmH", "HHHHHH"}, {0, 0, 6, 6}},
      {"raised, soft, middle", EDGE_RAISED, BF_RECT | BF_SOFT | BF_MIDDLE,
       {"HHHHHD", "HLLLSD", "HLFFSD", "HLFFSD", "HSSSSD", "DDDDDD"}, {0, 0, 6, 6}},
      {"sunken, soft, middle", EDGE_SUNKEN, BF_RECT | BF_SOFT | BF_MIDDLE,
       {"DDDDDH", "DSSSLH", "DSFFLH", "DSFFLH", "DLLLLH", "HHHHHH"}, {0, 0, 6, 6}},
      {"top and left only", EDGE_RAISED, BF_TOPLEFT | BF_ADJUST,
       {"LLLLLL", "LHHHHH", "LHmmmm", "LHmmmm", "LHmmmm", "LHmmmm"}, {2, 2, 6, 6}},
      {"bottom and right only", EDGE_RAISED, BF_BOTTOMRIGHT,
       {"mmmmSD", "mmmmSD", "mmmmSD", "mmmmSD", "SSSSSD", "DDDDDD"}, {0, 0, 6, 6}},
  };
  for (const Case& c : cases) {
    Dib surface(8, 8, 32);
    surface.fill(0x123456);
    HDC dc = CreateSurfaceDC(&surface, {1, 1}, {0, 0, 8, 8});
    Rect r{0, 0, 6, 6};
    ASSERT_TRUE(DrawEdge(dc, r, c.edge, c.flags)) << c.what;
    DeleteDC(dc);
    std::vector<std::string> picture = Render(surface, legend);
    std::vector<std::string> inner;
    for (int y = 1; y <= 6; ++y) inner.push_back(picture[size_t(y)].substr(1, 6));
    EXPECT_EQ(inner, c.picture) << c.what;
    EXPECT_EQ(picture[0], "mmmmmmmm") << c.what << ": nothing outside the rectangle";
    EXPECT_EQ(r, c.adjusted) << c.what;
  }
}

TEST(Edges, FollowTheSystemColoursAndRefuseWhatIsNotBuilt) {
  SetSysColorForTest(COLOR_BTNFACE, 0x00FF00);
  Dib surface(5, 5, 32);
  HDC dc = CreateSurfaceDC(&surface, {0, 0}, {0, 0, 5, 5});
  Rect r{0, 0, 5, 5};
  DrawEdge(dc, r, EDGE_RAISED, BF_RECT | BF_MIDDLE);
  EXPECT_EQ(surface.pixel(2, 2), 0x00FF00u);
  ResetSysColors();
  EXPECT_THROW(DrawEdge(dc, r, EDGE_RAISED, BF_RECT | BF_FLAT), EUnsupported);
  EXPECT_THROW(DrawEdge(dc, r, EDGE_RAISED, BF_RECT | BF_DIAGONAL), EUnsupported);
  DeleteDC(dc);
}
