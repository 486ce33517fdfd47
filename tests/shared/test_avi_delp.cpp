// The animation tile's hover events with scripted mouse moves: an enter on
// every move, one exit at the next idle time, the capture case, hidden and
// destroyed tiles, and its fixed control style and defaults.
#include "shared/AVI_delp.h"

#include <gtest/gtest.h>

#include "platform/ui/form_reader.h"
#include "tests/support/headless_run.h"
#include "tests/support/media_fixtures.h"

namespace tq {
namespace {

using namespace tlb;
using tlb::testing::HeadlessRun;

struct Event {
  std::string what;
  int64_t at;
  bool operator==(const Event&) const = default;
};
std::ostream& operator<<(std::ostream& os, const Event& e) { return os << e.what << "@" << e.at; }

struct AviTileFixture : ::testing::Test {
  HeadlessRun run;
  TForm* form = new TForm(Application);
  TAVI_orvo1* a = MakeTile("A", 10, 10);
  TAVI_orvo1* b = MakeTile("B", 200, 10);
  std::vector<Event> log;

  AviTileFixture() {
    form->SetBounds(0, 0, 640, 480);
    form->Show();
  }
  TAVI_orvo1* MakeTile(const std::string& name, int x, int y) {
    auto* t = new TAVI_orvo1(form);
    t->SetParent(form);
    t->SetBounds(x, y, 140, 140);
    t->OnMouseEnter = [this, name](TObject*) { log.push_back({name + "+", run.backend.NowMs()}); };
    t->OnMouseExit = [this, name](TObject*) { log.push_back({name + "-", run.backend.NowMs()}); };
    t->OnClick = [this, name](TObject*) { log.push_back({name + " click", run.backend.NowMs()}); };
    return t;
  }
  int Count(const std::string& what) const {
    return int(std::count_if(log.begin(), log.end(), [&](const Event& e) { return e.what == what; }));
  }
};

TEST_F(AviTileFixture, ConstructorFixesStyleSizeAndTimer) {
  auto* t = new TAVI_orvo1(form);
  EXPECT_EQ(t->ControlStyle, TControlStyle(csCaptureMouse | csClickEvents | csOpaque));
  EXPECT_EQ(t->Width(), 100);
  EXPECT_EQ(t->Height(), 100);
  ASSERT_NE(t->HoverTimer(), nullptr);
  EXPECT_EQ(t->HoverTimer()->Owner(), nullptr);
  EXPECT_FALSE(t->HoverTimer()->Enabled());
  EXPECT_EQ(t->HoverTimer()->Interval(), 125);
  EXPECT_TRUE(t->AutoSize());
  EXPECT_TRUE(t->Center());
  EXPECT_TRUE(t->Transparent());
  EXPECT_FALSE(t->Timers());
  EXPECT_EQ(t->StartFrame(), 1);
  EXPECT_EQ(t->StopFrame(), 0);
  EXPECT_EQ(t->Repetitions(), 0);
}

TEST_F(AviTileFixture, EveryMoveOverTheTileFiresEnterAndStillnessFiresNothing) {
  run.backend.MoveMouse(100, {50, 50});
  run.backend.MoveMouse(110, {60, 50});
  run.backend.MoveMouse(120, {70, 55});
  run.RunUntil(1000);
  EXPECT_EQ(log, (std::vector<Event>{{"A+", 100}, {"A+", 110}, {"A+", 120}}));
  // The poll keeps running while the pointer rests on the tile.
  EXPECT_TRUE(a->HoverTimer()->Enabled());
}

TEST_F(AviTileFixture, LeavingFiresExitOnceAtIdleAndThePollStopsSilently) {
  run.backend.MoveMouse(100, {50, 50});
  run.backend.MoveMouse(200, {400, 300});
  run.backend.MoveMouse(210, {410, 300});
  run.RunUntil(220);
  EXPECT_EQ(log, (std::vector<Event>{{"A+", 100}, {"A-", 200}}));
  EXPECT_TRUE(a->HoverTimer()->Enabled());
  // Armed at 100, the poll ticks at 225, finds the pointer elsewhere and stops.
  run.RunUntil(225);
  EXPECT_FALSE(a->HoverTimer()->Enabled());
  EXPECT_FALSE(a->HoverTimer()->OnTimer());
  run.RunUntil(2000);
  EXPECT_EQ(log.size(), 2u);
}

TEST_F(AviTileFixture, GoingStraightFromOneTileToAnotherGivesBothEventsExitOnce) {
  run.backend.MoveMouse(100, {100, 50});
  run.backend.MoveMouse(200, {250, 50});
  run.backend.MoveMouse(210, {260, 50});
  run.RunUntil(500);
  EXPECT_EQ(Count("A+"), 1);
  EXPECT_EQ(Count("A-"), 1);
  EXPECT_EQ(Count("B+"), 2);
  EXPECT_EQ(Count("B-"), 0);
  // B's first enter comes with the move at 200; A's exit at that idle time.
  EXPECT_EQ(log[1].at, 200);
  EXPECT_EQ(log[2].at, 200);
}

TEST_F(AviTileFixture, AHiddenTileGetsNoMovesAndItsPollStopsAtTheNextTick) {
  run.backend.MoveMouse(100, {50, 50});
  run.RunUntil(150);
  a->Hide();
  run.backend.MoveMouse(160, {55, 55});
  run.RunUntil(225);
  EXPECT_EQ(Count("A+"), 1);
  EXPECT_FALSE(a->HoverTimer()->Enabled());
}

TEST_F(AviTileFixture, DraggingOffWithTheButtonHeldFiresExitOnEachMove) {
  run.backend.Press(100, {50, 50});
  run.backend.MoveMouse(150, {300, 300});
  run.backend.MoveMouse(160, {320, 300});
  run.backend.MoveMouse(170, {340, 300});
  run.RunUntil(180);
  // Three moves reach the capturing tile over the form, each an exit; the idle
  // check after the first adds the leave.
  EXPECT_EQ(Count("A-"), 4);
  EXPECT_EQ(Count("A+"), 1);
  run.backend.Release(200, {340, 300});
  run.RunUntil(300);
  EXPECT_EQ(Count("A click"), 0) << "released outside";
  EXPECT_EQ(Count("B+"), 0);
}

TEST_F(AviTileFixture, AFastSecondClickIsASecondClick) {
  run.backend.Click(100, {50, 50});
  run.backend.Click(150, {50, 50});
  run.RunUntil(300);
  EXPECT_EQ(Count("A click"), 2);
}

TEST_F(AviTileFixture, DestroyingOneTileLeavesTheOthersHoverWorking) {
  run.backend.MoveMouse(100, {50, 50});
  run.RunUntil(150);
  delete a;
  a = nullptr;
  run.backend.MoveMouse(200, {250, 50});
  run.backend.MoveMouse(300, {500, 300});
  run.RunUntil(600);
  EXPECT_EQ(log, (std::vector<Event>{{"A+", 100}, {"B+", 200}, {"B-", 300}}));
  EXPECT_FALSE(b->HoverTimer()->Enabled());
}

TEST_F(AviTileFixture, FormDescriptionsBindTheHoverEvents) {
  RegisterAviDelpClasses();
  HandlerTable handlers;
  int enters = 0;
  handlers.Add("TileEnter", TNotifyEvent([&](TObject*) { ++enters; }));
  handlers.Add("TileExit", TNotifyEvent([](TObject*) {}));
  handlers.Add("TileOpen", TNotifyEvent([](TObject*) {}));
  TForm* root = new TForm(Application);
  LoadFormDescriptionText(root,
                          "object Menu: TForm\n"
                          "  Left = 0\n"
                          "  Top = 0\n"
                          "  Width = 640\n"
                          "  Height = 480\n"
                          "  object AVI_obr1: TAVI_orvo1\n"
                          "    Left = 54\n"
                          "    Top = 40\n"
                          "    Width = 140\n"
                          "    Height = 140\n"
                          "    Cursor = 7\n"
                          "    Active = False\n"
                          "    AutoSize = False\n"
                          "    Center = False\n"
                          "    Color = clGreen\n"
                          "    ParentColor = False\n"
                          "    Repetitions = 1\n"
                          "    StopFrame = 12\n"
                          "    Transparent = False\n"
                          "    OnOpen = TileOpen\n"
                          "    OnMouseEnter = TileEnter\n"
                          "    OnMouseExit = TileExit\n"
                          "  end\n"
                          "end\n",
                          "menu.dfm", handlers);
  auto* tile = FindAs<TAVI_orvo1>(root, "AVI_obr1");
  EXPECT_EQ(tile->Repetitions(), 1);
  EXPECT_EQ(tile->StopFrame(), 12);
  EXPECT_FALSE(tile->Transparent());
  root->Show();
  run.backend.MoveMouse(100, {100, 100});
  run.RunUntil(200);
  EXPECT_EQ(enters, 1);
}

}  // namespace
}  // namespace tq
