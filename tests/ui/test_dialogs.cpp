// The platform's dialogs: real modal windows, timers firing while they are open,
// typed input, and the record the headless backend keeps.
#include <gtest/gtest.h>

#include "platform/core/cp1250.h"
#include "platform/ui/dialogs.h"
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
    if (const char* out = std::getenv("TULIMBO_TEST_SCREENSHOTS")) run.backend.SaveScreenshot(std::string(out) + "/error_box.png");
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
