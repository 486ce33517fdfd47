// Actions and their links to controls.
#include <gtest/gtest.h>

#include "platform/ui/actions.h"
#include "platform/ui/stdctrls.h"
#include "platform/ui/timer.h"
#include "tests/support/headless_run.h"

namespace tlb {
namespace {

using testing::HeadlessRun;

struct ActionsTest : ::testing::Test {
  HeadlessRun run;
  TForm* form = new TForm(Application);
  TAction* action = new TAction(form);
  TLabel* label = new TLabel(form);
};

TEST_F(ActionsTest, AControlLinkFollowsTheActionWhileTheControlShowsItsValues) {
  auto link = NewActionLink(nullptr, label);
  link->SetAction(action);
  EXPECT_EQ(action->ClientCount(), 1);
  EXPECT_TRUE(link->IsCaptionLinked());  // both empty
  action->SetCaption("Hraj");
  EXPECT_EQ(label->Caption(), "Hraj");
  action->SetEnabled(false);
  EXPECT_FALSE(label->Enabled());
  action->SetVisible(false);
  EXPECT_FALSE(label->Visible());
  action->SetHint("napoveda");
  EXPECT_EQ(label->Hint, "napoveda");
  // A caption changed on the control itself is no longer linked.
  label->SetCaption("vlastni");
  EXPECT_FALSE(link->IsCaptionLinked());
  action->SetCaption("Znovu");
  EXPECT_EQ(label->Caption(), "vlastni");
}

TEST_F(ActionsTest, ALinkToSomethingThatIsNotAControlIsAnInvalidCast) {
  TTimer timer(nullptr);
  EXPECT_THROW(NewActionLink(nullptr, &timer), EInvalidCast);
}

TEST_F(ActionsTest, ExecuteRunsTheHandlerOfAnEnabledAction) {
  int runs = 0;
  auto link = NewActionLink(nullptr, label);
  EXPECT_FALSE(link->Execute());  // no action yet
  link->SetAction(action);
  EXPECT_FALSE(link->Execute());  // no handler
  action->OnExecute = [&](TObject* sender) {
    EXPECT_EQ(sender, action);
    ++runs;
  };
  EXPECT_TRUE(link->Execute());
  action->SetEnabled(false);
  EXPECT_FALSE(link->Execute());
  EXPECT_EQ(runs, 1);
}

TEST_F(ActionsTest, PropertyChangesGoThroughTheSettersAndAWholeChangeToEveryLink) {
  int propertyChanges = 0, linkChanges = 0;
  auto link = NewActionLink(nullptr, label);
  link->SetAction(action);
  action->OnChange = [&](TObject*) { ++propertyChanges; };
  link->OnChange = [&](TObject* sender) {
    EXPECT_EQ(sender, action);
    ++linkChanges;
  };
  action->SetChecked(true);
  action->SetImageIndex(3);
  action->SetHelpContext(12);
  action->SetHelpContext(12);  // no change, no notification
  EXPECT_EQ(propertyChanges, 3);
  EXPECT_EQ(linkChanges, 0);
  action->Change();
  EXPECT_EQ(linkChanges, 1);
}

TEST_F(ActionsTest, ALinkForgetsAnActionThatGoes) {
  auto link = NewActionLink(nullptr, label);
  link->SetAction(action);
  delete action;
  EXPECT_EQ(link->Action(), nullptr);
  EXPECT_FALSE(link->Execute());
}

TEST_F(ActionsTest, AppliedToAControlWithCheckDefaultsOnlyDefaultsAreReplaced) {
  action->SetCaption("Akce");
  action->SetHint("tip");
  action->SetEnabled(false);
  label->SetCaption("Vlastni");
  ApplyActionToControl(*label, action, true);
  EXPECT_EQ(label->Caption(), "Vlastni");
  EXPECT_EQ(label->Hint, "tip");
  EXPECT_FALSE(label->Enabled());
  ApplyActionToControl(*label, action, false);
  EXPECT_EQ(label->Caption(), "Akce");
}

}  // namespace
}  // namespace tlb
