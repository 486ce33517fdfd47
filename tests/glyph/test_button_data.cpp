// The glyph button's data: defaults, property writers, groups, repaint requests,
// actions, and the state shared by all buttons.
#include <gtest/gtest.h>

#include "platform/core/exceptions.h"
#include "platform/ui/actions.h"
#include "platform/ui/form_reader.h"
#include "platform/ui/hooks.h"
#include "tests/glyph/button_fixture.h"

namespace tq {
namespace {

using namespace tlb;
using namespace tq::testing;

struct ButtonDataTest : ButtonFixture {
  int baseCallWnd = InstalledHookCount(WH_CALLWNDPROC);
  int baseGetMsg = InstalledHookCount(WH_GETMESSAGE);
};

TEST_F(ButtonDataTest, ANewButtonHasTheLibrarysDefaults) {
  TGlyphButton b(nullptr);
  EXPECT_EQ(b.Width(), 23);
  EXPECT_EQ(b.Height(), 22);
  EXPECT_EQ(b.Caption(), "");
  EXPECT_TRUE(b.Flat());
  EXPECT_TRUE(b.Opaque());
  EXPECT_EQ(b.Color(), clBtnFace);
  EXPECT_TRUE(b.ParentFont());
  EXPECT_EQ(b.ControlStyle, unsigned(csCaptureMouse | csOpaque | csDoubleClicks));
  EXPECT_EQ(b.Alignment(), taCenter);
  EXPECT_EQ(b.Spacing(), 4);
  EXPECT_EQ(b.Margin(), -1);
  EXPECT_EQ(b.Layout(), blGlyphLeft);
  EXPECT_TRUE(b.DropdownArrow());
  EXPECT_EQ(b.DropdownArrowWidth(), 9);
  EXPECT_EQ(b.RepeatDelay(), 400);
  EXPECT_EQ(b.RepeatInterval(), 100);
  EXPECT_TRUE(b.HighlightWhenDown());
  EXPECT_EQ(b.DisplayMode(), dmBoth);
  EXPECT_EQ(b.NumGlyphs(), 1);
  EXPECT_EQ(b.ImageIndex(), -1);
  EXPECT_EQ(b.VisualState(), vsUp);
  EXPECT_EQ(b.Version(), "Glyph buttons version 1.0");
  b.SetVersion("2.0");
  EXPECT_EQ(b.Version(), "Glyph buttons version 1.0");
}

TEST_F(ButtonDataTest, WritersClampOrIgnoreOutOfRangeValues) {
  TGlyphButton b(nullptr);
  struct Case {
    int value, stored;
  };
  for (Case c : {Case{0, 1}, Case{9, 5}, Case{3, 3}, Case{-4, 1}}) {
    b.SetNumGlyphs(c.value);
    EXPECT_EQ(b.NumGlyphs(), c.stored) << c.value;
  }
  b.SetMargin(-2);
  EXPECT_EQ(b.Margin(), -1);
  b.SetMargin(3);
  b.SetMargin(-2);
  EXPECT_EQ(b.Margin(), 3);
  b.SetMargin(-1);
  EXPECT_EQ(b.Margin(), -1);
  b.SetDropdownArrowWidth(3);
  EXPECT_EQ(b.DropdownArrowWidth(), 7);
}

TEST_F(ButtonDataTest, TheComboPartChangesTheWidthExceptWhileLoading) {
  TGlyphButton b(nullptr);
  b.SetDropdownCombo(true);
  EXPECT_EQ(b.Width(), 23 + 9 + 2);
  b.SetDropdownArrowWidth(3);  // 9 -> 7: two narrower
  EXPECT_EQ(b.Width(), 32);
  b.SetDropdownArrowWidth(9);
  b.SetWidth(5);
  b.SetDropdownCombo(false);
  EXPECT_EQ(b.Width(), 1);  // at least 1
  b.SetState(csLoading, true);
  b.SetDropdownCombo(true);
  b.SetDropdownArrowWidth(20);
  EXPECT_EQ(b.Width(), 1);
}

TEST_F(ButtonDataTest, DownNeedsAGroupAndAHeldDownMemberIsRaisedByAnother) {
  TGlyphButton* a = MakeButton("A", Rect::FromSize(0, 0, 30, 30));
  TGlyphButton* b = MakeButton("B", Rect::FromSize(40, 0, 30, 30));
  TGlyphButton* other = MakeButton("C", Rect::FromSize(80, 0, 30, 30));
  a->SetDown(true);
  EXPECT_FALSE(a->Down());  // GroupIndex 0
  for (TGlyphButton* x : {a, b}) x->SetGroupIndex(3);
  other->SetGroupIndex(4);
  other->SetDown(true);
  a->SetDown(true);
  EXPECT_TRUE(a->Down());
  EXPECT_EQ(a->VisualState(), vsExclusive);
  a->SetDown(false);  // no AllowAllUp: stays down
  EXPECT_TRUE(a->Down());
  b->SetDown(true);
  EXPECT_TRUE(b->Down());
  EXPECT_FALSE(a->Down());
  EXPECT_EQ(a->VisualState(), vsUp);
  EXPECT_TRUE(other->Down());  // another group
  // AllowAllUp is copied to the members of the group.
  b->SetAllowAllUp(true);
  EXPECT_TRUE(a->AllowAllUp());
  EXPECT_FALSE(other->AllowAllUp());
  b->SetDown(false);
  EXPECT_FALSE(b->Down());
  // A click toggles a group member.
  a->Click();
  EXPECT_TRUE(a->Down());
  a->Click();
  EXPECT_FALSE(a->Down());
}

TEST_F(ButtonDataTest, RepaintsEraseOnlyUnderATransparentButton) {
  TGlyphButton* b = MakeButton("A", Rect::FromSize(0, 0, 30, 30));
  b->RepaintButton(true);
  EXPECT_FALSE(b->LastInvalidateErased());
  b->SetOpaque(false);  // flat and not opaque: transparent
  EXPECT_EQ(b->ControlStyle & csOpaque, 0u);
  b->RepaintButton(true);
  EXPECT_TRUE(b->LastInvalidateErased());
  b->RepaintButton(false);
  EXPECT_FALSE(b->LastInvalidateErased());
  EXPECT_EQ(b->ControlStyle & csOpaque, 0u);  // put back after the one request
  b->SetFlat(false);  // raised: always opaque
  EXPECT_NE(b->ControlStyle & csOpaque, 0u);
  b->RepaintButton(true);
  EXPECT_FALSE(b->LastInvalidateErased());
}

TEST_F(ButtonDataTest, AssigningAGlyphRepaintsEvenWhenItIsTheSamePicture) {
  TGlyphButton* b = MakeButton("A", Rect::FromSize(0, 0, 30, 30));
  run.RunFor(1);
  ASSERT_FALSE(form->Dirty());
  TBitmap same(*b->Glyph());
  b->SetGlyph(&same);
  EXPECT_TRUE(form->Dirty());
  EXPECT_EQ(b->NumGlyphs(), 5);
  run.RunFor(1);
  b->SetCaption("Hra");
  EXPECT_TRUE(form->Dirty());
}

TEST_F(ButtonDataTest, LoadedBuildsTheFirstPictureAhead) {
  TGlyphButton* b = MakeButton("A", Rect::FromSize(0, 0, 30, 30));
  b->Loaded();
  EXPECT_NE(b->ButtonGlyph()->SlotIndex[1][vsUp], -1);
  b->SetEnabled(false);
  b->Loaded();
  EXPECT_NE(b->ButtonGlyph()->SlotIndex[0][vsDisabled], -1);
}

TEST_F(ButtonDataTest, TheButtonsShareOneHookRegistrationAndOneTimer) {
  EXPECT_EQ(LiveButtonCount, 0);
  EXPECT_EQ(MouseTrackTimer, nullptr);
  auto* a = new TGlyphButton(form);
  EXPECT_EQ(HookSlotCount(hsCallWndProc), 1);
  EXPECT_EQ(HookSlotCount(hsGetMessage), 1);
  EXPECT_EQ(HookSlotCount(hsCbt), 0);
  EXPECT_EQ(InstalledHookCount(WH_CALLWNDPROC), baseCallWnd + 1);
  EXPECT_EQ(InstalledHookCount(WH_GETMESSAGE), baseGetMsg + 1);
  ASSERT_NE(MouseTrackTimer, nullptr);
  EXPECT_EQ(MouseTrackTimer->Interval(), 125);
  EXPECT_FALSE(MouseTrackTimer->Enabled());
  TTimer* timer = MouseTrackTimer;
  auto* b = new TGlyphButton(form);
  EXPECT_EQ(LiveButtonCount, 2);
  EXPECT_EQ(MouseTrackTimer, timer);
  EXPECT_EQ(HookSlotCount(hsCallWndProc), 2);
  EXPECT_EQ(HookProcRefCount(ButtonHookCallback), 2);
  EXPECT_EQ(InstalledHookCount(WH_CALLWNDPROC), baseCallWnd + 1);
  delete a;
  EXPECT_NE(MouseTrackTimer, nullptr);
  EXPECT_EQ(HookSlotCount(hsGetMessage), 1);
  delete b;
  EXPECT_EQ(LiveButtonCount, 0);
  EXPECT_EQ(MouseTrackTimer, nullptr);
  EXPECT_EQ(HookSlotCount(hsCallWndProc), 0);
  EXPECT_EQ(HookSlotCount(hsGetMessage), 0);
  EXPECT_FALSE(HookProcListExists());
  EXPECT_EQ(InstalledHookCount(WH_CALLWNDPROC), baseCallWnd);
  EXPECT_EQ(InstalledHookCount(WH_GETMESSAGE), baseGetMsg);
}

TEST_F(ButtonDataTest, TheLastButtonFreesTheDitherPatternAndTheGlyphLists) {
  TGlyphButton* a = MakeButton("A", Rect::FromSize(0, 0, 30, 30));
  TGlyphButton* b = MakeButton("B", Rect::FromSize(40, 0, 30, 30));
  for (TGlyphButton* x : {a, b}) {
    x->SetGroupIndex(1);
    x->SetHighlightWhenDown(true);
  }
  a->SetDown(true);
  run.RunFor(1);  // paints the held-down face
  ASSERT_NE(DitherPattern, nullptr);
  ASSERT_NE(SharedGlyphCache, nullptr);
  EXPECT_EQ(SharedGlyphCache->ListCount(), 1);  // both buttons' 20 x 20 pictures share one list
  delete a;
  EXPECT_NE(DitherPattern, nullptr);
  delete b;
  EXPECT_EQ(DitherPattern, nullptr);
  EXPECT_EQ(SharedGlyphCache, nullptr);
}

TEST_F(ButtonDataTest, ButtonsOfThreeSizesUseThreeLists) {
  for (int i = 0; i < 27; ++i) {
    int size = 16 + 4 * (i % 3);
    auto* b = new TGlyphButton(form);
    b->SetParent(form);
    b->SetBounds(10 + 30 * (i % 9), 10 + 40 * (i / 9), 28, 28);
    TBitmap strip = Solid(5 * size, size, kRed);
    b->SetGlyph(&strip);
  }
  run.RunFor(1);
  ASSERT_NE(SharedGlyphCache, nullptr);
  EXPECT_EQ(SharedGlyphCache->ListCount(), 3);
}

TEST_F(ButtonDataTest, ADroppedMenuIsForgotten) {
  TGlyphButton* b = MakeButton("A", Rect::FromSize(0, 0, 30, 30));
  auto* menu = new TPopupMenu(form);
  b->SetDropdownMenu(menu);
  EXPECT_TRUE(b->HasDropdown());
  delete menu;
  EXPECT_EQ(b->DropdownMenu(), nullptr);
  EXPECT_FALSE(b->HasDropdown());
}

// ---- actions ----

TEST_F(ButtonDataTest, AnActionDrivesDownHelpContextAndImageIndexWhileLinked) {
  TGlyphButton* b = MakeButton("A", Rect::FromSize(0, 0, 30, 30));
  b->SetGroupIndex(1);
  b->SetAllowAllUp(true);
  auto* action = new TAction(form);
  action->SetCaption("Hraj");
  action->SetChecked(true);
  action->SetHelpContext(7);
  action->SetImageIndex(2);
  b->SetAction(action);
  EXPECT_EQ(b->Caption(), "Hraj");
  EXPECT_TRUE(b->Down());
  EXPECT_EQ(b->HelpContext(), 7);
  EXPECT_EQ(b->ImageIndex(), 2);
  EXPECT_FALSE(b->IsDownStored());
  EXPECT_FALSE(b->IsHelpContextStored());
  EXPECT_FALSE(b->IsImageIndexStored());
  action->SetChecked(false);
  EXPECT_FALSE(b->Down());
  action->SetHelpContext(8);
  EXPECT_EQ(b->HelpContext(), 8);
  // Changed on the button itself: no longer linked in that respect.
  b->SetImageIndex(5);
  EXPECT_TRUE(b->IsImageIndexStored());
  action->SetImageIndex(3);
  EXPECT_EQ(b->ImageIndex(), 5);
  // A click runs the action.
  int runs = 0;
  b->OnClick = nullptr;
  action->OnExecute = [&](TObject*) { ++runs; };
  b->Click();
  EXPECT_EQ(runs, 1);
  // The action going leaves the button without one.
  delete action;
  EXPECT_EQ(b->Action(), nullptr);
  b->Click();
  EXPECT_EQ(runs, 1);
}

TEST_F(ButtonDataTest, WithCheckDefaultsTheButtonsOwnValuesStay) {
  TGlyphButton* b = MakeButton("A", Rect::FromSize(0, 0, 30, 30));
  b->SetHelpContext(4);
  b->SetImageIndex(1);
  auto* action = new TAction(form);
  action->SetHelpContext(9);
  action->SetImageIndex(6);
  action->SetState(csLoading, true);  // an action still being read: defaults are checked
  b->SetAction(action);
  EXPECT_EQ(b->HelpContext(), 4);
  EXPECT_EQ(b->ImageIndex(), 1);
}

TEST_F(ButtonDataTest, TheButtonsLinkServesOnlyGlyphButtons) {
  TLabel label(nullptr);
  TGlyphButtonActionLink link;
  EXPECT_THROW(link.AssignClient(&label), EInvalidCast);
}

TEST_F(ButtonDataTest, AssignToGivesAnActionTheButtonsState) {
  TGlyphButton* b = MakeButton("A", Rect::FromSize(0, 0, 30, 30));
  b->SetGroupIndex(1);
  b->SetDown(true);
  b->SetCaption("Hra");
  TAction action(nullptr);
  b->AssignTo(&action);
  EXPECT_TRUE(action.Checked());
  EXPECT_EQ(action.Caption(), "Hra");
}

// ---- the form description ----

TEST_F(ButtonDataTest, AFormDescriptionSetsTheButtonsProperties) {
  RegisterGlyphClasses();
  HandlerTable handlers;
  handlers.Add("BtnClick", TNotifyEvent([this](TObject*) { log.push_back("click"); }));
  handlers.Add("BtnEnter", TNotifyEvent([this](TObject*) { log.push_back("enter"); }));
  handlers.Add("BtnExit", TNotifyEvent([this](TObject*) { log.push_back("exit"); }));
  auto* root = new TForm(Application);
  LoadFormDescriptionText(root, R"(object Form1: TForm
  object btn_konec: TGlyphButton
    Left = 10
    Top = 20
    Width = 125
    Height = 95
    Cursor = 7
    Caption = 'HELP'
    Color = clGreen
    DisplayMode = dmTextOnly
    Layout = blGlyphTop
    Spacing = 0
    Margin = 2
    WordWrap = True
    NoBorder = True
    NumGlyphs = 5
    ImageIndex = 1
    Visible = False
    Version = 'Glyph buttons version 1.0'
    OnClick = BtnClick
    OnMouseEnter = BtnEnter
    OnMouseExit = BtnExit
  end
end
)",
                          "test.dfm", handlers);
  auto* b = FindAs<TGlyphButton>(root, "btn_konec");
  EXPECT_EQ(b->BoundsRect(), Rect::FromSize(10, 20, 125, 95));
  EXPECT_EQ(b->Cursor(), 7);
  EXPECT_EQ(b->Caption(), "HELP");
  EXPECT_EQ(b->Color(), clGreen);
  EXPECT_EQ(b->DisplayMode(), dmTextOnly);
  EXPECT_EQ(b->Layout(), blGlyphTop);
  EXPECT_EQ(b->Spacing(), 0);
  EXPECT_EQ(b->Margin(), 2);
  EXPECT_TRUE(b->WordWrap());
  EXPECT_TRUE(b->NoBorder());
  EXPECT_EQ(b->NumGlyphs(), 5);
  EXPECT_EQ(b->ImageIndex(), 1);
  EXPECT_FALSE(b->Visible());
  b->OnClick(b);
  b->OnMouseEnter(b);
  b->OnMouseExit(b);
  EXPECT_EQ(log, (Log{"click", "enter", "exit"}));
}

}  // namespace
}  // namespace tq
