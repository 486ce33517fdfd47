// The platform's dialogs: real modal windows, timers firing while they are open,
// typed input, and the record the headless backend keeps.
#include <gtest/gtest.h>

#include "platform/core/cp1250.h"
#include "platform/ui/dialogs.h"
#include "platform/ui/stdctrls.h"
#include "platform/ui/timer.h"
#include "tests/support/headless_run.h"

namespace tlb {
namespace {

using testing::HeadlessRun;

TEST(Dialogs, TheErrorBoxIsAModalWindowAndTimersFireWhileItIsOpen) {
  HeadlessRun run;
  auto* owner = new TForm(Application);
  int ticks = 0;
  auto* t = new TTimer(owner);
  t->SetInterval(100);
  t->SetOnTimer([&](TObject*) { ++ticks; });
  DialogAnswer later;
  later.afterMs = 550;
  run.backend.AnswerDialog(later);
  COLORREF captionPixel = 0;
  run.backend.At(300, [&] {
    // The dialog is centred on the 800x600 screen with a navy caption bar.
    TCustomForm* box = Screen->ActiveForm();
    ASSERT_NE(box, nullptr);
    captionPixel = run.backend.PixelAt(box->Left() + 40, box->Top() + 10);
    tlb::testing::SaveTestScreenshot(run.backend, "error_box.png");
  });
  ShowErrorDialog(Cz("Nenalezen zvuk: C:\\zvuky\\nic.wav"));
  EXPECT_EQ(run.backend.NowMs(), 550);
  EXPECT_EQ(ticks, 5);
  EXPECT_EQ(captionPixel, GetSysColor(COLOR_ACTIVECAPTION));
  ASSERT_EQ(run.backend.Dialogs().size(), 1u);
  EXPECT_EQ(run.backend.Dialogs()[0].caption, "Error");
  EXPECT_EQ(Screen->FormCount(), 0);
}

TEST(Dialogs, TheInputBoxTakesTypedTextAndEnter) {
  HeadlessRun run;
  DialogAnswer wait;
  wait.afterMs = 10000;  // the script leaves it to the keyboard
  run.backend.AnswerDialog(wait);
  for (char c : std::string("/cd")) run.backend.Char(100, uint8_t(c));
  run.backend.Char(110, 8);  // Backspace
  run.backend.Char(120, 'x');
  run.backend.KeyDown(200, VK_RETURN);
  EXPECT_EQ(InputBox("Caption", "Prompt", "/old"), "/old/cx");
  EXPECT_EQ(run.backend.NowMs(), 200);
}

TEST(Dialogs, CancelOrEscapeReturnsTheDefaultText) {
  HeadlessRun run;
  DialogAnswer wait;
  wait.afterMs = 10000;
  run.backend.AnswerDialog(wait);
  run.backend.Char(100, 'z');
  run.backend.KeyDown(200, VK_ESCAPE);
  EXPECT_EQ(InputBox("Caption", "Prompt", "/old"), "/old");
  DialogAnswer cancel;
  cancel.button = IDCANCEL;
  cancel.text = "ignored";
  run.backend.AnswerDialog(cancel);
  EXPECT_EQ(InputBox("Caption", "Prompt", "/old"), "/old");
}

// The message box's OK button has the focus: Space and Enter both close it.
// In the input box the field has the focus, so Space is typed.
TEST(Dialogs, SpaceClicksTheFocusedOkButtonAndIsTypedIntoAField) {
  for (int key : {VK_SPACE, VK_RETURN}) {
    HeadlessRun run;
    DialogAnswer wait;
    wait.afterMs = 10000;
    run.backend.AnswerDialog(wait);
    run.backend.KeyDown(200, key);
    ShowErrorDialog("Nenalezen zvuk");
    EXPECT_EQ(run.backend.NowMs(), 200) << "key " << key;
    EXPECT_EQ(Screen->FormCount(), 0) << "key " << key;
  }
  HeadlessRun run;
  DialogAnswer wait;
  wait.afterMs = 10000;
  run.backend.AnswerDialog(wait);
  run.backend.KeyDown(100, VK_SPACE);
  run.backend.Char(100, ' ');
  run.backend.Char(110, 'x');
  run.backend.KeyDown(200, VK_RETURN);
  EXPECT_EQ(InputBox("Caption", "Prompt", "a"), "a x");
}

// A focused button clicks once when Space is let go, however long it is held.
TEST(Dialogs, AFocusedButtonClicksOnceWhenSpaceIsReleased) {
  HeadlessRun run;
  auto* form = new TForm(Application);
  auto* button = new TButton(form);
  button->SetParent(form);
  int clicks = 0;
  button->OnClick = [&](TObject*) { ++clicks; };
  form->Show();
  form->SetActiveControl(button);
  TMessage down{WM_KEYDOWN, VK_SPACE, 0, 0};
  for (int repeat = 0; repeat < 3; ++repeat) form->WndProc(down);
  EXPECT_EQ(clicks, 0);
  TMessage up{WM_KEYUP, VK_SPACE, 0, 0};
  form->WndProc(up);
  form->WndProc(up);
  EXPECT_EQ(clicks, 1);

  button->SetEnabled(false);
  form->WndProc(down);
  form->WndProc(up);
  EXPECT_EQ(clicks, 1) << "a disabled button takes no key";
  delete button;
  EXPECT_EQ(form->ActiveControl(), nullptr);
  form->WndProc(down);  // nothing left to offer the key to
}

TEST(Dialogs, ShowMessageUsesTheApplicationTitle) {
  HeadlessRun run;
  Application->Title = Cz("TQ II - Hry");
  ShowMessage("Nepovedlo se inicializovat nadstavbu. Malo pameti.");
  ASSERT_EQ(run.backend.Dialogs().size(), 1u);
  EXPECT_EQ(run.backend.Dialogs()[0].kind, "message");
  EXPECT_EQ(run.backend.Dialogs()[0].caption, Cz("TQ II - Hry"));
}

}  // namespace
}  // namespace tlb
