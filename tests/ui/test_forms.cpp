// Forms: modal runs, deferred release, z-order and hit testing, painting requests.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ui/hooks.h"
#include "platform/ui/message_queue.h"
#include "platform/ui/stdctrls.h"
#include "platform/ui/timer.h"
#include "tests/support/headless_run.h"

namespace tlb {
namespace {

using testing::HeadlessRun;

struct FormsFixture : ::testing::Test {
  HeadlessRun run;
  std::vector<std::string> log;

  TForm* MakeForm(int w = 640, int h = 480) {
    auto* f = new TForm(Application);
    f->BorderStyle = bsNone;
    f->Position = poScreenCenter;
    f->SetBounds(0, 0, w, h);
    return f;
  }
};

TEST_F(FormsFixture, ModalCloseOnlySetsTheResultAndTheLoopClosesLater) {
  TForm* f = MakeForm();
  f->OnCloseQuery = [&](TObject*, bool&) { log.push_back("query"); };
  f->OnHide = [&](TObject*) { log.push_back("hide"); };
  auto* t = new TTimer(f);
  t->SetInterval(100);
  t->SetOnTimer([&](TObject*) {
    t->SetEnabled(false);
    f->Close();
    log.push_back("after close");
    // A wait that pumps inside the handler: the form must stay open meanwhile.
    int64_t until = run.backend.NowMs() + 300;
    PumpUntil([&] { return run.backend.NowMs() >= until; });
    log.push_back(f->Visible() ? "still shown" : "hidden");
  });
  TModalResult r = f->ShowModal();
  EXPECT_EQ(r, mrCancel);
  EXPECT_EQ(log, (std::vector<std::string>{"after close", "still shown", "query", "hide"}));
  EXPECT_FALSE(f->Visible());
}

TEST_F(FormsFixture, CloseQueryCanKeepAModalFormOpen) {
  TForm* f = MakeForm();
  int queries = 0;
  f->OnCloseQuery = [&](TObject*, bool& can) { can = ++queries >= 2; };
  run.backend.At(100, [&] { f->Close(); });
  run.backend.At(200, [&] { f->Close(); });
  f->ShowModal();
  EXPECT_EQ(queries, 2);
  EXPECT_EQ(run.backend.NowMs(), 200);
}

TEST_F(FormsFixture, TimersOfOtherFormsFireDuringAModalRun) {
  TForm* menu = MakeForm();
  menu->Show();
  int ticks = 0;
  auto* t = new TTimer(menu);
  t->SetInterval(100);
  t->SetOnTimer([&](TObject*) { ++ticks; });
  TForm* game = MakeForm();
  run.backend.At(1050, [&] { game->ModalResult = mrOk; });
  EXPECT_EQ(game->ShowModal(), mrOk);
  EXPECT_EQ(ticks, 10);
}

TEST_F(FormsFixture, ReleaseFreesTheFormWhenTheLoopNextRuns) {
  TForm* f = MakeForm();
  f->OnDestroy = [&](TObject*) { log.push_back("destroy"); };
  auto token = f->AliveToken();
  f->Release();
  log.push_back("released");
  EXPECT_FALSE(token.expired());
  run.RunFor(10);
  EXPECT_TRUE(token.expired());
  EXPECT_EQ(log, (std::vector<std::string>{"released", "destroy"}));
}

// A form whose OnDestroy handler reads its own fields, as a program's form does.
class TFORM_WithFields : public TForm {
 public:
  struct Field {
    bool whole = true;
    ~Field() { whole = false; }
  };
  TFORM_WithFields(TComponent* owner, std::vector<std::string>& log) : TForm(owner) {
    OnDestroy = [this, &log](TObject*) { log.push_back(field.whole ? "fields whole" : "fields gone"); };
  }
  Field field;
};

// OnDestroy runs while the whole form exists, however the form goes: released,
// freed, or destroyed with its owner. Only a form deleted directly runs it from
// the base destructor.
TEST_F(FormsFixture, OnDestroySeesTheWholeFormAndRunsOnce) {
  auto* released = new TFORM_WithFields(Application, log);
  released->Release();
  run.RunFor(10);
  auto* freed = new TFORM_WithFields(Application, log);
  freed->Free();
  auto* owner = new TForm(Application);
  new TFORM_WithFields(owner, log);
  owner->Free();
  EXPECT_EQ(log, (std::vector<std::string>{"fields whole", "fields whole", "fields whole"}));
}

TEST_F(FormsFixture, ReleaseInsideItsOwnHandlerIsSafe) {
  TForm* f = MakeForm();
  f->Show();
  auto* img = new TImage(f);
  img->SetParent(f);
  img->SetBounds(0, 0, 640, 480);
  img->OnClick = [&](TObject*) {
    f->Release();
    log.push_back("handler returned");
  };
  Point c{80 + 10, 60 + 10};
  run.backend.Click(10, c);
  run.RunFor(100);
  EXPECT_EQ(log, (std::vector<std::string>{"handler returned"}));
  EXPECT_EQ(Screen->FormCount(), 0);
}

TEST_F(FormsFixture, ScreenCenterPlacesTheFormOverTheBackdrop) {
  TForm* f = MakeForm();
  f->Show();
  EXPECT_EQ(f->Left(), (800 - 640) / 2);
  EXPECT_EQ(f->Top(), (600 - 480) / 2);
}

TEST_F(FormsFixture, WindowedControlsLieAboveGraphicControls) {
  TForm* f = MakeForm();
  f->Show();
  auto* panel = new TPanel(f);
  panel->SetParent(f);
  panel->SetBounds(10, 10, 50, 50);
  // Created later, but a graphic control: it lies below the panel.
  auto* shield = new TImage(f);
  shield->SetParent(f);
  shield->SetBounds(0, 0, 640, 480);
  Point inPanel = f->ClientToScreen({20, 20});
  Point outside = f->ClientToScreen({200, 200});
  EXPECT_EQ(FindDragTarget(inPanel, true), panel);
  EXPECT_EQ(FindDragTarget(outside, true), shield);
  shield->SetVisible(false);
  EXPECT_EQ(FindDragTarget(outside, true), f);
}

TEST_F(FormsFixture, LaterGraphicControlsCoverEarlierOnesAndDisabledOnesAreFoundOnlyIfAllowed) {
  TForm* f = MakeForm();
  f->Show();
  auto* a = new TImage(f);
  a->SetParent(f);
  a->SetBounds(0, 0, 100, 100);
  auto* b = new TImage(f);
  b->SetParent(f);
  b->SetBounds(50, 50, 100, 100);
  Point both = f->ClientToScreen({60, 60});
  EXPECT_EQ(FindDragTarget(both, true), b);
  b->SetEnabled(false);
  EXPECT_EQ(FindDragTarget(both, true), b);
  EXPECT_EQ(FindDragTarget(both, false), a);
}

TEST_F(FormsFixture, InvalidateErasesExactlyWhenTheControlIsNotOpaque) {
  TForm* f = MakeForm();
  auto* box = new TPaintBox(f);
  box->SetParent(f);
  box->ControlStyle &= ~unsigned(csOpaque);
  box->Invalidate();
  EXPECT_TRUE(box->LastInvalidateErased());
  box->ControlStyle |= csOpaque;
  box->Invalidate();
  EXPECT_FALSE(box->LastInvalidateErased());
}

TEST_F(FormsFixture, ClickNeedsPressAndReleaseOverTheControlAndDoubleClicksNeedTheStyle) {
  TForm* f = MakeForm();
  f->Show();
  auto* img = new TImage(f);
  img->SetParent(f);
  img->SetBounds(0, 0, 100, 100);
  int clicks = 0, doubles = 0;
  img->OnClick = [&](TObject*) { ++clicks; };
  img->OnDblClick = [&](TObject*) { ++doubles; };
  Point p = f->ClientToScreen({10, 10});
  run.backend.Click(10, p);
  run.backend.Click(200, p);  // within 500 ms: a double click
  run.backend.Press(2000, p);
  run.backend.MoveMouse(2010, f->ClientToScreen({300, 300}));
  run.backend.Release(2020, f->ClientToScreen({300, 300}));  // released elsewhere: no click
  run.RunUntil(3000);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(doubles, 1);
}

TEST_F(FormsFixture, KeyPreviewSeesKeysAndChars) {
  TForm* f = MakeForm();
  f->KeyPreview = true;
  f->Show();
  std::vector<int> keys;
  f->OnKeyDown = [&](TObject*, uint16_t& k, TShiftState) { keys.push_back(k); };
  f->OnKeyPress = [&](TObject*, char& c) { keys.push_back(-int(uint8_t(c))); };
  run.backend.PressEscape(10);
  run.backend.KeyDown(20, VK_F12);
  run.RunUntil(100);
  EXPECT_EQ(keys, (std::vector<int>{27, -27, 123}));
}

TEST_F(FormsFixture, AnExceptionInAHandlerShowsTheStopBoxAndTheProgramGoesOn) {
  TForm* f = MakeForm();
  int ticks = 0;
  auto* t = new TTimer(f);
  t->SetInterval(100);
  t->SetOnTimer([&](TObject*) {
    if (++ticks == 1) throw EInvalidGraphic("Bitmap image is not valid");
  });
  run.RunUntil(350);
  EXPECT_EQ(ticks, 3);
  ASSERT_EQ(run.backend.Dialogs().size(), 1u);
  EXPECT_EQ(run.backend.Dialogs()[0].kind, "exception");
  EXPECT_EQ(run.backend.Dialogs()[0].text, "Bitmap image is not valid");
}

TEST_F(FormsFixture, NoFrameShowsAFormBeforeItsFirstPaint) {
  TForm* back = MakeForm(800, 600);
  back->Show();
  TForm* front = MakeForm(100, 100);
  front->Show();
  EXPECT_EQ(run.backend.PresentCount(), 0);
  run.RunFor(10);
  // Both painted, the whole screen shown, nothing black left over from before.
  EXPECT_EQ(run.backend.PixelAt(5, 5), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(run.backend.PixelAt(400, 300), GetSysColor(COLOR_BTNFACE));
}

TEST_F(FormsFixture, ShownFormsAreComposedOntoTheScreen) {
  TForm* f = MakeForm(100, 100);
  f->SetColor(clRed);
  f->Show();
  run.RunFor(10);
  EXPECT_EQ(run.backend.PixelAt(f->Left() + 50, f->Top() + 50), COLORREF(0x0000FF));
  EXPECT_EQ(run.backend.PixelAt(0, 0), COLORREF(0));
  // Where a form no longer lies the screen is black again: moved half off its old
  // place, which it then covers only in part, and then hidden.
  const Point old{f->Left(), f->Top()};
  f->SetBounds(old.x + 50, old.y + 50, 100, 100);
  run.RunFor(10);
  EXPECT_EQ(run.backend.PixelAt(old.x + 10, old.y + 10), COLORREF(0));
  EXPECT_EQ(run.backend.PixelAt(old.x + 60, old.y + 60), COLORREF(0x0000FF));
  f->Hide();
  run.RunFor(10);
  EXPECT_EQ(run.backend.PixelAt(old.x + 60, old.y + 60), COLORREF(0));
}

}  // namespace
}  // namespace tlb

namespace tlb {
namespace {

std::vector<UINT>* seenByHook = nullptr;
HHOOK callWndProcHook = nullptr;
LRESULT RecordSent(int code, WPARAM w, LPARAM l) {
  if (code == HC_ACTION && seenByHook) seenByHook->push_back(reinterpret_cast<CWPSTRUCT*>(l)->message);
  return CallNextHookEx(callWndProcHook, code, w, l);
}
std::vector<HWND>* destroyed = nullptr;
HHOOK cbtHook = nullptr;
LRESULT RecordDestroyed(int code, WPARAM w, LPARAM l) {
  if (code == HCBT_DESTROYWND && destroyed) destroyed->push_back(reinterpret_cast<HWND>(w));
  return CallNextHookEx(cbtHook, code, w, l);
}

TEST(Hooks, SentMessagesAndWindowDestructionReachTheThreadsHooks) {
  testing::HeadlessRun run;
  std::vector<UINT> seen;
  std::vector<HWND> gone;
  seenByHook = &seen;
  destroyed = &gone;
  callWndProcHook = SetWindowsHookEx(WH_CALLWNDPROC, RecordSent, nullptr, GetCurrentThreadId());
  cbtHook = SetWindowsHookEx(WH_CBT, RecordDestroyed, nullptr, GetCurrentThreadId());
  auto* f = new TForm(Application);
  f->Show();
  f->SetBounds(10, 10, 200, 100);
  run.backend.SetActive(10, false);
  run.RunFor(50);
  HWND handle = f;
  delete f;
  EXPECT_NE(std::find(seen.begin(), seen.end(), WM_WINDOWPOSCHANGED), seen.end());
  EXPECT_NE(std::find(seen.begin(), seen.end(), WM_ACTIVATEAPP), seen.end());
  EXPECT_EQ(gone, (std::vector<HWND>{handle}));
  UnhookWindowsHookEx(callWndProcHook);
  UnhookWindowsHookEx(cbtHook);
  EXPECT_EQ(InstalledHookCount(WH_CALLWNDPROC), 0);
  seenByHook = nullptr;
  destroyed = nullptr;
}

}  // namespace
}  // namespace tlb
