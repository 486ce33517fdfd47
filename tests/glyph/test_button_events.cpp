// The glyph button's events, in the order the forms rely on.
#include <gtest/gtest.h>

#include "platform/ui/message_queue.h"
#include "platform/ui/popup_menu.h"
#include "tests/glyph/button_fixture.h"

namespace tq {
namespace {

using namespace tlb;
using namespace tq::testing;

struct ButtonEventTest : ButtonFixture {
  TGlyphButton* a = MakeButton("A", Rect::FromSize(100, 100, 40, 30));
  TGlyphButton* b = MakeButton("B", Rect::FromSize(140, 100, 40, 30));
};

TEST_F(ButtonEventTest, AMouseClickGivesDownUpExitClickEnterWithTheFacePressedDuringTheClick) {
  std::vector<uint8_t> states;
  run.backend.MoveMouse(10, Inside(a));
  run.backend.Press(20, Inside(a));
  run.backend.At(25, [&] { states.push_back(a->VisualState()); });
  run.backend.Release(30, Inside(a));
  run.RunUntil(40);
  EXPECT_EQ(log, (Log{"enter A", "down A", "up A", "exit A", "click A pressed", "enter A"}));
  EXPECT_EQ(states, (std::vector<uint8_t>{vsDown}));
  EXPECT_EQ(a->VisualState(), vsHot);
  // Hot again, but not tracked until the next move over it.
  EXPECT_EQ(MouseOverButton, nullptr);
  run.backend.MoveMouse(50, Inside(a, 6, 6));
  run.RunUntil(60);
  EXPECT_EQ(MouseOverButton, a);
  EXPECT_EQ(log.size(), 6u);  // no second OnMouseEnter
}

// After a click the button is hot again but untracked. A move the button receives
// takes up the tracking, and leaving then raises the face; when the first move after
// the click is already elsewhere, nothing is tracked and the face stays hot until the
// pointer comes back over it and leaves again.
TEST_F(ButtonEventTest, AfterAClickTheFaceGoesUpOnLeavingOnlyOnceAMoveOverTheButtonTookUpTheTracking) {
  struct Case {
    const char* how;
    std::vector<int> leaveYs;  // client rows of A the pointer moves through after the click, 10 ms apart
    uint8_t after;
    Log exits;
  };
  const std::vector<Case> cases = {
      {"slowly, a pixel at a time", {4, 3, 2, 1, 0, -1, -2}, vsUp, {"exit A", "exit A"}},
      {"with the first move off", {-30}, vsHot, {"exit A"}},
  };
  int64_t t = 0;
  for (const Case& c : cases) {
    log.clear();
    run.backend.MoveMouse(t + 10, Inside(a));
    run.backend.Click(t + 20, Inside(a));
    for (size_t i = 0; i < c.leaveYs.size(); ++i)
      run.backend.MoveMouse(t + 30 + 10 * int64_t(i), Inside(a, 5, c.leaveYs[i]));
    run.RunUntil(t + 500);
    EXPECT_EQ(a->VisualState(), c.after) << c.how;
    Log exits;
    for (const auto& e : log)
      if (e.rfind("exit", 0) == 0) exits.push_back(e);
    EXPECT_EQ(exits, c.exits) << c.how;
    // Back over the button and off again: the face goes up in either case.
    run.backend.MoveMouse(t + 600, Inside(a));
    run.backend.MoveMouse(t + 610, {300, 300});
    run.RunUntil(t + 700);
    EXPECT_EQ(a->VisualState(), vsUp) << c.how;
    EXPECT_EQ(MouseOverButton, nullptr) << c.how;
    t += 1000;
  }
}

TEST_F(ButtonEventTest, DraggingOffRaisesTheFaceAndTheReleaseOutsideDoesNotClick) {
  std::vector<uint8_t> states;
  run.backend.MoveMouse(10, Inside(a));
  run.backend.Press(20, Inside(a));
  run.backend.MoveMouse(30, {300, 300});
  run.backend.At(35, [&] { states.push_back(a->VisualState()); });
  run.backend.MoveMouse(40, Inside(a));
  run.backend.At(45, [&] { states.push_back(a->VisualState()); });
  run.backend.MoveMouse(50, {300, 300});
  // The hover timer and the hook keep their hands off a pressed button.
  run.backend.Release(400, {300, 300});
  run.RunUntil(500);
  EXPECT_EQ(log, (Log{"enter A", "down A", "up A", "exit A"}));
  EXPECT_EQ(states, (std::vector<uint8_t>{vsUp, vsDown}));
  EXPECT_EQ(a->VisualState(), vsUp);
  EXPECT_FALSE(a->MouseCapture());
}

TEST_F(ButtonEventTest, AKeyboardClickWithThePointerElsewhereGivesClickThenExit) {
  a->SetDefault(true);
  b->SetCancel(true);
  run.backend.KeyDown(10, VK_RETURN);
  run.backend.PressEscape(20);
  run.RunUntil(30);
  EXPECT_EQ(log, (Log{"click A pressed", "exit A", "click B pressed", "exit B"}));
  EXPECT_EQ(a->VisualState(), vsUp);
}

TEST_F(ButtonEventTest, DialogKeysNeedTheirFlagNoShiftAndAFocusableParent) {
  a->SetDefault(true);
  EXPECT_EQ(a->Perform(CM_DIALOGKEY, VK_ESCAPE), 0);  // not Cancel
  EXPECT_EQ(a->Perform(CM_DIALOGKEY, VK_RETURN, 0x20000000), 0);  // with Alt
  a->SetVisible(false);
  EXPECT_EQ(a->Perform(CM_DIALOGKEY, VK_RETURN), 0);
  a->SetVisible(true);
  EXPECT_TRUE(log.empty());
  EXPECT_EQ(a->Perform(CM_DIALOGKEY, VK_RETURN), 1);
  EXPECT_EQ(log.front(), "click A pressed");
}

TEST_F(ButtonEventTest, ACaptionsAcceleratorClicksUnlessOnlyTheGlyphIsShown) {
  a->SetCaption("&Hra");
  run.backend.Char(10, 'h');
  run.RunUntil(20);
  EXPECT_TRUE(log.empty());  // dmGlyphOnly: the accelerator is ignored
  a->SetDisplayMode(dmTextOnly);
  run.backend.Char(30, 'H');
  run.RunUntil(40);
  EXPECT_EQ(log, (Log{"click A pressed", "exit A"}));
  log.clear();
  a->SetDisplayMode(dmBoth);
  EXPECT_EQ(a->Perform(CM_DIALOGCHAR, 'r'), 0);  // not the marked character
  auto* hidden = new TPanel(form);
  hidden->SetParent(form);
  hidden->SetVisible(false);
  a->SetParent(hidden);
  EXPECT_EQ(a->Perform(CM_DIALOGCHAR, 'h'), 0);  // the parent cannot take the focus
  EXPECT_TRUE(log.empty());
}

TEST_F(ButtonEventTest, ARightPressMakesTheButtonHotWithoutPressingItAndTheReleaseLeaves) {
  std::vector<uint8_t> states;
  run.backend.MoveMouse(10, Inside(a));
  run.backend.Press(20, Inside(a), MouseButton::Right);
  run.backend.At(25, [&] { states.push_back(a->VisualState()); });
  run.backend.Release(30, Inside(a), MouseButton::Right);
  run.RunUntil(40);
  EXPECT_EQ(log, (Log{"enter A", "down A right", "exit A", "up A right"}));
  EXPECT_EQ(states, (std::vector<uint8_t>{vsHot}));
  EXPECT_EQ(a->VisualState(), vsUp);
}

TEST_F(ButtonEventTest, RepeatingClicksOnThePressThenAfterTheDelayThenEveryInterval) {
  a->SetRepeating(true);
  std::vector<int64_t> clicks;
  a->OnClick = [&](TObject*) { clicks.push_back(run.backend.NowMs()); };
  run.backend.Press(100, Inside(a));
  run.backend.MoveMouse(650, {300, 300});  // leaving pauses
  run.backend.MoveMouse(750, Inside(a));   // returning resumes with a full period
  run.backend.Release(1000, Inside(a));    // the release adds no click
  run.RunUntil(1500);
  EXPECT_EQ(clicks, (std::vector<int64_t>{100, 500, 600, 850, 950}));
  EXPECT_EQ(a->AutoRepeatTimer(), nullptr);
  // Repeat clicks neither press the face nor toggle anything; the release leaves.
  EXPECT_EQ(a->VisualState(), vsUp);
}

TEST_F(ButtonEventTest, MovingStraightToAnotherButtonLeavesTheFirstBeforeEnteringTheSecond) {
  run.backend.MoveMouse(10, Inside(a));
  run.backend.MoveMouse(20, Inside(b));
  run.RunUntil(30);
  EXPECT_EQ(log, (Log{"enter A", "exit A", "enter B"}));
  EXPECT_EQ(MouseOverButton, b);
  EXPECT_EQ(a->VisualState(), vsUp);
  EXPECT_EQ(b->VisualState(), vsHot);
}

TEST_F(ButtonEventTest, LeavingTowardsAnotherProgramEndsTheHoverAtTheNextTimerTick) {
  run.backend.MoveMouse(10, Inside(a));
  run.backend.MoveMouse(100, {700, 500});  // outside every window of the program
  int64_t exitAt = -1;
  a->OnMouseExit = [&](TObject*) { exitAt = run.backend.NowMs(); };
  run.RunUntil(400);
  EXPECT_EQ(exitAt, 135);  // the 125 ms timer started with the hover at 10
  EXPECT_FALSE(MouseTrackTimer->Enabled());
  EXPECT_EQ(MouseOverButton, nullptr);
}

TEST_F(ButtonEventTest, LeavingTowardsAnotherWindowOfTheProgramEndsTheHoverOnTheFirstMoveThere) {
  auto* other = new TForm(Application);
  other->BorderStyle = bsNone;
  other->SetBounds(660, 0, 100, 100);
  other->Show();
  int64_t exitAt = -1;
  a->OnMouseExit = [&](TObject*) { exitAt = run.backend.NowMs(); };
  run.backend.MoveMouse(10, Inside(a));
  run.backend.MoveMouse(100, {700, 50});
  run.RunUntil(400);
  EXPECT_EQ(exitAt, 100);
}

TEST_F(ButtonEventTest, SwitchingToAnotherApplicationEndsTheHoverUnlessTheBorderShowsWhenInactive) {
  run.backend.MoveMouse(10, Inside(a));
  run.backend.SetActive(50, false);
  run.backend.MoveMouse(60, Inside(b));  // inactive: B does not become hot
  run.RunUntil(100);
  EXPECT_EQ(log, (Log{"enter A", "exit A"}));
  EXPECT_EQ(b->VisualState(), vsUp);

  b->SetShowBorderWhenInactive(true);
  run.backend.MoveMouse(110, Inside(b, 6, 6));
  run.backend.SetActive(150, true);
  run.backend.SetActive(200, false);
  run.RunUntil(300);
  EXPECT_EQ(log, (Log{"enter A", "exit A", "enter B"}));
  EXPECT_EQ(b->VisualState(), vsHot);
}

TEST_F(ButtonEventTest, DisablingAHotButtonShowsTheDisabledFaceWithoutAnExit) {
  run.backend.MoveMouse(10, Inside(a));
  run.backend.At(50, [&] { a->SetEnabled(false); });
  run.RunUntil(400);
  EXPECT_EQ(log, (Log{"enter A"}));
  EXPECT_EQ(a->VisualState(), vsDisabled);
  EXPECT_FALSE(a->MouseOver());
  EXPECT_EQ(MouseOverButton, nullptr);
  a->SetEnabled(true);
  EXPECT_EQ(a->VisualState(), vsUp);
}

TEST_F(ButtonEventTest, DisablingAPressedButtonEndsTheCaptureAndTheRepeat) {
  a->SetRepeating(true);
  int clicks = 0;
  a->OnClick = [&](TObject*) { ++clicks; };
  run.backend.Press(10, Inside(a));
  run.backend.At(50, [&] { a->SetEnabled(false); });
  run.backend.Release(1000, Inside(a));
  run.RunUntil(1100);
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(a->Tracking());
  EXPECT_FALSE(a->MouseCapture());
  EXPECT_EQ(a->AutoRepeatTimer(), nullptr);
}

TEST_F(ButtonEventTest, AClickSetsTheFormsModalResultToTheButtons) {
  form->ModalResult = mrAbort;
  a->Perform(CM_DIALOGKEY, VK_RETURN);  // not Default: nothing
  EXPECT_EQ(form->ModalResult, mrAbort);
  a->Click();
  EXPECT_EQ(form->ModalResult, mrNone);
  b->SetModalResult(mrOk);
  b->Click();
  EXPECT_EQ(form->ModalResult, mrOk);
}

TEST_F(ButtonEventTest, ADoubleClickIsTwoClicksUnlessTheButtonIsHeldDown) {
  int doubles = 0;
  a->OnDblClick = [&](TObject*) { ++doubles; };
  run.backend.Click(10, Inside(a));
  run.backend.Click(100, Inside(a));
  run.RunUntil(200);
  EXPECT_EQ(std::count(log.begin(), log.end(), "click A pressed"), 2);
  EXPECT_EQ(doubles, 0);
  // A group member held down by the first click reports the second press as a double click.
  a->SetGroupIndex(1);
  a->SetAllowAllUp(true);
  run.backend.Click(1000, Inside(a));
  run.backend.Press(1100, Inside(a));
  run.backend.At(1150, [&] { EXPECT_TRUE(a->Down()); });
  run.backend.Release(1200, Inside(a));  // raises it again (AllowAllUp)
  run.RunUntil(1300);
  EXPECT_EQ(doubles, 1);
  EXPECT_FALSE(a->Down());
}

TEST_F(ButtonEventTest, AButtonFreedByItsOwnClickSkipsTheFinalSteps) {
  auto token = a->AliveToken();
  a->OnClick = [&](TObject*) { delete a; };
  run.backend.Click(10, Inside(a));
  run.RunUntil(50);
  EXPECT_TRUE(token.expired());
  EXPECT_EQ(MouseOverButton, nullptr);
}

TEST_F(ButtonEventTest, AnExceptionFromOnClickLeavesTheButtonRestoredAndGoesToTheLoop) {
  a->OnClick = [&](TObject*) { throw EInvalidOperation("boom"); };
  run.backend.MoveMouse(10, Inside(a));
  run.backend.Click(20, Inside(a));
  run.RunUntil(50);
  EXPECT_FALSE(a->IsInClick());
  EXPECT_EQ(a->VisualState(), vsHot);
  ASSERT_EQ(run.backend.Dialogs().size(), 1u);
  EXPECT_EQ(run.backend.Dialogs()[0].text, "boom");
}

// ---- dropdowns ----

struct DropdownTest : ButtonEventTest {
  TPopupMenu* menu = new TPopupMenu(form);
  DropdownTest() {
    menu->Add("Jedna", [this](TObject*) { log.push_back("item one"); });
    a->OnDropdown = [this](TObject*, bool& show, bool&) { log.push_back(show ? "dropdown" : "dropdown no menu"); };
    b->OnMouseEnter = nullptr;
    b->OnMouseExit = nullptr;
  }
};

TEST_F(DropdownTest, TheMenuOpensOnThePressBelowTheButtonAndAnItemRunsAfterItCloses) {
  a->SetDropdownMenu(menu);
  EXPECT_TRUE(a->HasDropdown());
  menu->Alignment = paRight;
  menu->TrackButton = tbRightButton;
  Rect menuBounds;
  bool pressedWhileOpen = false;
  run.backend.MoveMouse(10, Inside(a));
  run.backend.Press(20, Inside(a));
  run.backend.At(25, [&] {
    menuBounds = menu->MenuBounds();
    pressedWhileOpen = a->VisualState() == vsDown && a->IsInClick();
    run.backend.Release(30, Inside(a));  // the release of the opening press: eaten by the menu
    Rect item = menu->ItemBounds(0);
    run.backend.Click(40, {item.left + 5, item.top + 3});
  });
  run.RunUntil(100);
  EXPECT_EQ(menuBounds.left, 100);
  EXPECT_EQ(menuBounds.top, 130);  // at the button's bottom-left corner
  EXPECT_TRUE(pressedWhileOpen);
  // The plain dropdown's OnClick fires before its menu opens; the item after it closes.
  // After the menu the pointer is over the item, not the button: the recheck leaves.
  EXPECT_EQ(log, (Log{"enter A", "down A", "exit A", "click A pressed", "dropdown", "item one", "exit A"}));
  // The menu's own settings come back.
  EXPECT_EQ(menu->Alignment, paRight);
  EXPECT_EQ(menu->TrackButton, tbRightButton);
  EXPECT_EQ(menu->PopupComponent(), a);
  EXPECT_EQ(a->VisualState(), vsUp);
}

TEST_F(DropdownTest, AClickOnTheButtonClosesTheMenuWithoutReachingItAndOtherClicksArriveAfterwards) {
  a->SetDropdownMenu(menu);
  int bClicks = 0;
  b->OnClick = [&](TObject*) { ++bClicks; };
  run.backend.Press(20, Inside(a));
  run.backend.At(25, [&] {
    // While the menu is open: a click on A closes it; a click on B is queued behind it.
    run.backend.Click(40, Inside(a));
    run.backend.Click(40, Inside(b));
  });
  run.backend.Release(60, Inside(a));
  run.RunUntil(100);
  EXPECT_EQ(bClicks, 1);
  EXPECT_EQ(std::count(log.begin(), log.end(), "down A"), 1);  // the closing press was removed
  EXPECT_EQ(std::count(log.begin(), log.end(), "up A"), 2);    // the releases were kept
  EXPECT_EQ(std::count(log.begin(), log.end(), "dropdown"), 1);
}

TEST_F(DropdownTest, WithoutAMenuOnDropdownStillRunsAndItDecidesWhetherClicksAreRemoved) {
  a->SetDropdownAlways(true);
  EXPECT_TRUE(a->HasDropdown());
  run.backend.Click(10, Inside(a));
  run.backend.Click(10, Inside(a));  // queued behind the first: a double click over A, removed
  run.RunUntil(100);
  EXPECT_EQ(std::count(log.begin(), log.end(), "dropdown no menu"), 1);

  log.clear();
  a->OnDropdown = [&](TObject*, bool&, bool& removeClicks) {
    log.push_back("dropdown keep");
    removeClicks = false;
  };
  run.backend.Click(1000, Inside(a));
  run.backend.Click(1000, Inside(a));
  run.RunUntil(1100);
  EXPECT_EQ(std::count(log.begin(), log.end(), "dropdown keep"), 2);
}

TEST_F(DropdownTest, AQuitRequestMetWhileRemovingClicksIsPostedAgain) {
  a->SetDropdownAlways(true);
  a->OnDropdown = [&](TObject*, bool&, bool&) { PostQuitMessage(3); };
  a->Click();
  EXPECT_TRUE(MessageQueue::Instance().QuitPosted());
  EXPECT_EQ(MessageQueue::Instance().ExitCode(), 3);
}

TEST_F(DropdownTest, AComboButtonOpensItsMenuOnlyFromTheArrowPart) {
  a->SetDropdownMenu(menu);
  a->SetDropdownCombo(true);
  EXPECT_EQ(a->Width(), 40 + 9 + 2);
  b->SetLeft(300);
  int clicks = 0;
  a->OnClick = [&](TObject*) { ++clicks; };
  // The main part clicks like a plain button.
  run.backend.Click(10, Inside(a, 10, 10));
  run.RunUntil(20);
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(std::find(log.begin(), log.end(), "dropdown") == log.end());
  // The arrow part opens the menu without OnClick.
  run.backend.Press(30, Inside(a, 45, 10));
  run.backend.At(35, [&] { run.backend.Click(40, {600, 400}); });
  run.backend.Release(50, Inside(a, 45, 10));
  run.RunUntil(100);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(std::count(log.begin(), log.end(), "dropdown"), 1);
}

}  // namespace
}  // namespace tq
