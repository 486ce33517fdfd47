// The popup menu's modal run: where it opens, how it closes, what it leaves in the queue.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/message_queue.h"
#include "platform/ui/popup_menu.h"
#include "platform/ui/timer.h"
#include "tests/support/headless_run.h"

namespace tlb {
namespace {

using testing::HeadlessRun;

Point Centre(const Rect& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

struct PopupMenuTest : ::testing::Test {
  HeadlessRun run;
  TForm* form = nullptr;
  TPopupMenu* menu = nullptr;
  std::vector<std::string> log;

  PopupMenuTest() {
    form = new TForm(Application);
    form->BorderStyle = bsNone;
    form->SetBounds(0, 0, 640, 480);
    form->Show();
    menu = new TPopupMenu(form);
    menu->Add("Jedna", [this](TObject*) { log.push_back(menu->IsOpen() ? "one while open" : "one"); });
    menu->Add("-");
    menu->Add("Dva", [this](TObject*) { log.push_back("two"); });
    menu->Add("Tri", [this](TObject*) { log.push_back("three"); })->Enabled = false;
  }
};

TEST_F(PopupMenuTest, AlignmentPlacesTheMenuAroundX) {
  for (TPopupAlignment alignment : {paLeft, paRight, paCenter}) {
    menu->Alignment = alignment;
    run.backend.Click(run.backend.NowMs() + 10, {5, 470});  // outside: closes the menu
    menu->Popup(300, 100);
    Rect b = menu->MenuBounds();
    EXPECT_EQ(b.top, 100);
    int expectedLeft = alignment == paLeft ? 300 : alignment == paRight ? 300 - b.width() : 300 - b.width() / 2;
    EXPECT_EQ(b.left, expectedLeft) << "alignment " << alignment;
    EXPECT_FALSE(menu->IsOpen());
    run.RunFor(1);  // the click that closed it goes to the form
  }
}

TEST_F(PopupMenuTest, APressOutsideClosesTheMenuAndStaysInTheQueue) {
  run.backend.Click(10, {5, 470});
  menu->Popup(300, 100);
  EXPECT_EQ(run.backend.NowMs(), 10);
  EXPECT_TRUE(log.empty());
  MSG msg;
  ASSERT_TRUE(PeekMessage(msg, nullptr, WM_LBUTTONDOWN, WM_MBUTTONDBLCLK, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_LBUTTONDOWN);
  EXPECT_EQ(msg.hwnd, form);
  EXPECT_EQ(PointFromLParam(msg.lParam), (Point{5, 470}));
  ASSERT_TRUE(PeekMessage(msg, nullptr, WM_LBUTTONDOWN, WM_MBUTTONDBLCLK, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_LBUTTONUP);
}

TEST_F(PopupMenuTest, AClickOnAnItemRunsItAfterTheMenuHasClosed) {
  run.backend.At(5, [&] {
    Point p = Centre(menu->ItemBounds(2));
    run.backend.Click(10, p);
  });
  menu->Popup(300, 100);
  EXPECT_EQ(log, (std::vector<std::string>{"two"}));
  MSG msg;
  EXPECT_FALSE(PeekMessage(msg, nullptr, WM_LBUTTONDOWN, WM_MBUTTONDBLCLK, PM_NOREMOVE));
}

TEST_F(PopupMenuTest, DisabledItemsAndSeparatorsChooseNothing) {
  run.backend.At(5, [&] {
    run.backend.Click(10, Centre(menu->ItemBounds(3)));  // disabled
    Rect sep = menu->ItemBounds(1);
    run.backend.Click(20, Centre(sep));
    run.backend.PressEscape(30);
  });
  menu->Popup(300, 100);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(run.backend.NowMs(), 30);
}

TEST_F(PopupMenuTest, WithTheLeftTrackButtonTheRightButtonChoosesNothing) {
  menu->TrackButton = tbLeftButton;
  run.backend.At(5, [&] {
    run.backend.Click(10, Centre(menu->ItemBounds(0)), MouseButton::Right);
    run.backend.Click(20, Centre(menu->ItemBounds(2)));
  });
  menu->Popup(300, 100);
  EXPECT_EQ(log, (std::vector<std::string>{"two"}));
  EXPECT_EQ(run.backend.NowMs(), 20);

  menu->TrackButton = tbRightButton;
  run.backend.At(25, [&] { run.backend.Click(30, Centre(menu->ItemBounds(0)), MouseButton::Right); });
  menu->Popup(300, 100);
  EXPECT_EQ(log, (std::vector<std::string>{"two", "one"}));
}

TEST_F(PopupMenuTest, TheKeyboardMovesOverEnabledItemsAndChooses) {
  run.backend.KeyDown(10, VK_DOWN);    // Jedna
  run.backend.KeyDown(11, VK_DOWN);    // Dva (the separator is skipped)
  run.backend.KeyDown(12, VK_DOWN);    // Jedna again (Tri is disabled)
  run.backend.KeyDown(13, VK_UP);      // Dva
  run.backend.KeyDown(14, VK_RETURN);
  menu->Popup(300, 100);
  EXPECT_EQ(log, (std::vector<std::string>{"two"}));
}

TEST_F(PopupMenuTest, TimersRunAndAQuitRequestClosesTheMenu) {
  int ticks = 0;
  auto* timer = new TTimer(form);
  timer->SetInterval(100);
  timer->SetOnTimer([&](TObject*) {
    if (++ticks == 3) PostQuitMessage(4);
  });
  menu->Popup(300, 100);
  EXPECT_EQ(ticks, 3);
  EXPECT_EQ(run.backend.NowMs(), 300);
  EXPECT_FALSE(menu->IsOpen());
  EXPECT_TRUE(MessageQueue::Instance().QuitPosted());
  EXPECT_EQ(MessageQueue::Instance().ExitCode(), 4);
}

TEST_F(PopupMenuTest, TheMenuOpensUpwardsAndStaysOnTheScreenNearItsEdges) {
  run.backend.Click(10, {5, 5});
  menu->Popup(790, 590);
  Rect b = menu->MenuBounds();
  EXPECT_EQ(b.right, 800);
  EXPECT_EQ(b.bottom, 590);
}

TEST_F(PopupMenuTest, PopupComponentIsForgottenWhenItGoes) {
  auto* other = new TTimer(form);
  menu->SetPopupComponent(other);
  EXPECT_EQ(menu->PopupComponent(), other);
  delete other;
  EXPECT_EQ(menu->PopupComponent(), nullptr);
}

TEST_F(PopupMenuTest, OnPopupRunsFirstAndAMenuWithoutVisibleItemsDoesNotOpen) {
  for (int i = 0; i < menu->Count(); ++i) menu->Items(i)->Visible = false;
  menu->OnPopup = [&](TObject*) { log.push_back("popup"); };
  menu->Popup(10, 10);
  EXPECT_EQ(log, (std::vector<std::string>{"popup"}));
  EXPECT_EQ(run.backend.NowMs(), 0);
}

}  // namespace
}  // namespace tlb
