// The registry of window-hook procedures: counts, installs and removals of the
// three thread hooks, and the delivery of the four events.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/ui/hooks.h"
#include "platform/ui/message_queue.h"
#include "shared/GlyphCmn.h"
#include "tests/support/headless_run.h"

namespace tq {
namespace {

using namespace tlb;
using tlb::testing::HeadlessRun;

struct Heard {
  THookEvent event;
  HWND wnd;
  WPARAM wParam;
  LPARAM lParam;
  std::string who;
};
std::vector<Heard> heard;

void ProcA(THookEvent e, HWND w, WPARAM wp, LPARAM lp) { heard.push_back({e, w, wp, lp, "A"}); }
void ProcB(THookEvent e, HWND w, WPARAM wp, LPARAM lp) { heard.push_back({e, w, wp, lp, "B"}); }
void Thrower(THookEvent e, HWND w, WPARAM wp, LPARAM lp) {
  heard.push_back({e, w, wp, lp, "thrower"});
  throw std::runtime_error("a procedure that fails");
}
void SelfRemover(THookEvent e, HWND w, WPARAM wp, LPARAM lp) {
  heard.push_back({e, w, wp, lp, "remover"});
  UnregisterHookProc(SelfRemover);
  UnregisterHookProc(ProcA);
}

// A plain hook installed beside the registry's, to see that the chain goes on.
int chainedCalls = 0;
LRESULT ChainedHook(int code, WPARAM wParam, LPARAM lParam) {
  ++chainedCalls;
  return 0;
}

constexpr THookEvents kButtonEvents = HookEvents({heActivateApp, heMouseMoved});

struct HookRegistryTest : ::testing::Test {
  HeadlessRun run;
  int baseCallWnd = InstalledHookCount(WH_CALLWNDPROC);
  int baseGetMsg = InstalledHookCount(WH_GETMESSAGE);
  int baseCbt = InstalledHookCount(WH_CBT);
  HookRegistryTest() {
    heard.clear();
    chainedCalls = 0;
  }
  ~HookRegistryTest() override {
    // Every case leaves the registry as it found it.
    EXPECT_FALSE(HookProcListExists());
    EXPECT_EQ(InstalledHookCount(WH_CALLWNDPROC), baseCallWnd);
    EXPECT_EQ(InstalledHookCount(WH_GETMESSAGE), baseGetMsg);
    EXPECT_EQ(InstalledHookCount(WH_CBT), baseCbt);
  }
  void ExpectCounts(int callWnd, int cbt, int getMsg) {
    EXPECT_EQ(HookSlotCount(hsCallWndProc), callWnd);
    EXPECT_EQ(HookSlotCount(hsCbt), cbt);
    EXPECT_EQ(HookSlotCount(hsGetMessage), getMsg);
    EXPECT_EQ(HookSlotInstalled(hsCallWndProc), callWnd > 0);
    EXPECT_EQ(HookSlotInstalled(hsCbt), cbt > 0);
    EXPECT_EQ(HookSlotInstalled(hsGetMessage), getMsg > 0);
    EXPECT_EQ(InstalledHookCount(WH_CALLWNDPROC), baseCallWnd + (callWnd > 0));
    EXPECT_EQ(InstalledHookCount(WH_CBT), baseCbt + (cbt > 0));
    EXPECT_EQ(InstalledHookCount(WH_GETMESSAGE), baseGetMsg + (getMsg > 0));
  }
  TForm* ShownForm() {
    auto* f = new TForm(Application);
    f->BorderStyle = bsNone;
    f->SetBounds(0, 0, 200, 100);
    f->Show();
    return f;
  }
};

TEST_F(HookRegistryTest, HooksLiveExactlyWhileRegistrationsNeedThem) {
  ExpectCounts(0, 0, 0);
  RegisterHookProc(ProcA, kButtonEvents, false);
  ExpectCounts(1, 0, 1);
  EXPECT_EQ(HookProcRefCount(ProcA), 1);
  // A second registration of the same procedure holds a second count on each hook.
  RegisterHookProc(ProcA, kButtonEvents, false);
  ExpectCounts(2, 0, 2);
  EXPECT_EQ(HookProcRefCount(ProcA), 2);
  UnregisterHookProc(ProcA);
  ExpectCounts(1, 0, 1);
  EXPECT_TRUE(HookProcListExists());
  UnregisterHookProc(ProcA);
  ExpectCounts(0, 0, 0);
  EXPECT_EQ(HookProcRefCount(ProcA), 0);
  EXPECT_FALSE(HookProcListExists());
}

TEST_F(HookRegistryTest, EachEventNeedsItsOwnHook) {
  RegisterHookProc(ProcA, HookEvents({heWindowPosChanged}), false);
  ExpectCounts(1, 0, 0);
  RegisterHookProc(ProcB, HookEvents({heBeforeDestroy}), false);
  ExpectCounts(1, 1, 0);
  UnregisterHookProc(ProcA);
  ExpectCounts(0, 1, 0);
  UnregisterHookProc(ProcB);
  ExpectCounts(0, 0, 0);
}

TEST_F(HookRegistryTest, OnlyCountCreatesTheEntryWithoutHooks) {
  RegisterHookProc(ProcA, kButtonEvents, true);
  ExpectCounts(0, 0, 0);
  EXPECT_EQ(HookProcRefCount(ProcA), 1);
  UnregisterHookProc(ProcA);
  ExpectCounts(0, 0, 0);
}

TEST_F(HookRegistryTest, ACountedOnlyRegistrationNeverTakesAwayAnotherOnesHooks) {
  RegisterHookProc(ProcA, kButtonEvents, false);
  RegisterHookProc(ProcB, kButtonEvents, true);
  UnregisterHookProc(ProcB);
  ExpectCounts(1, 0, 1);
  UnregisterHookProc(ProcA);
  ExpectCounts(0, 0, 0);
}

TEST_F(HookRegistryTest, ARepeatedRegistrationWithOtherEventsGivesBackWhatItTook) {
  RegisterHookProc(ProcA, HookEvents({heMouseMoved}), false);
  RegisterHookProc(ProcA, HookEvents({heActivateApp}), false);
  ExpectCounts(1, 0, 1);
  UnregisterHookProc(ProcA);
  UnregisterHookProc(ProcA);
  ExpectCounts(0, 0, 0);
}

TEST_F(HookRegistryTest, UnregisteringAnUnknownProcedureChangesNothing) {
  UnregisterHookProc(ProcB);
  RegisterHookProc(ProcA, kButtonEvents, false);
  UnregisterHookProc(ProcB);
  ExpectCounts(1, 0, 1);
  EXPECT_EQ(HookProcRefCount(ProcA), 1);
  UnregisterHookProc(ProcA);
}

TEST_F(HookRegistryTest, EventsReachOnlyTheProceduresRegisteredForThem) {
  TForm* form = ShownForm();
  RegisterHookProc(ProcA, kButtonEvents, false);
  RegisterHookProc(ProcB, HookEvents({heWindowPosChanged, heBeforeDestroy}), false);

  SendMessage(form, WM_WINDOWPOSCHANGED, 7, 8);
  SendMessage(form, WM_ACTIVATEAPP, 0, 9);
  CallCbtHooks(HCBT_DESTROYWND, reinterpret_cast<WPARAM>(form), 0);
  CallCbtHooks(3, reinterpret_cast<WPARAM>(form), 0);  // another CBT code: nothing
  SendMessage(form, WM_USER, 0, 0);                    // any other message: nothing
  ASSERT_EQ(heard.size(), 3u);
  EXPECT_EQ(heard[0].who, "B");
  EXPECT_EQ(heard[0].event, heWindowPosChanged);
  EXPECT_EQ(heard[0].wParam, 7u);
  EXPECT_EQ(heard[0].lParam, 8);
  EXPECT_EQ(heard[1].who, "A");
  EXPECT_EQ(heard[1].event, heActivateApp);
  EXPECT_EQ(heard[1].wnd, form);
  EXPECT_EQ(heard[1].wParam, 0u);
  EXPECT_EQ(heard[1].lParam, 9);
  EXPECT_EQ(heard[2].who, "B");
  EXPECT_EQ(heard[2].event, heBeforeDestroy);
  EXPECT_EQ(heard[2].wnd, form);

  UnregisterHookProc(ProcA);
  UnregisterHookProc(ProcB);
}

TEST_F(HookRegistryTest, AMouseMoveReportsWhenItIsOnlyPeeked) {
  TForm* form = ShownForm();
  RegisterHookProc(ProcA, kButtonEvents, false);
  run.backend.MoveMouse(0, {50, 40});
  MSG msg;
  ASSERT_TRUE(PeekMessage(msg, nullptr, 0, 0, PM_NOREMOVE));
  ASSERT_EQ(heard.size(), 1u);
  EXPECT_EQ(heard[0].event, heMouseMoved);
  EXPECT_EQ(heard[0].wnd, form);
  EXPECT_EQ(PointFromLParam(heard[0].lParam), (Point{50, 40}));
  ASSERT_TRUE(PeekMessage(msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(heard.size(), 2u);
  UnregisterHookProc(ProcA);
}

TEST_F(HookRegistryTest, AFailingProcedureStopsNeitherTheOthersNorTheChain) {
  TForm* form = ShownForm();
  HHOOK older = SetWindowsHookEx(WH_CALLWNDPROC, ChainedHook, nullptr, GetCurrentThreadId());
  RegisterHookProc(Thrower, kButtonEvents, false);
  RegisterHookProc(ProcA, kButtonEvents, false);
  EXPECT_NO_THROW(SendMessage(form, WM_ACTIVATEAPP, 1, 0));
  ASSERT_EQ(heard.size(), 2u);
  EXPECT_EQ(heard[0].who, "thrower");
  EXPECT_EQ(heard[1].who, "A");
  EXPECT_EQ(chainedCalls, 1);
  UnregisterHookProc(Thrower);
  UnregisterHookProc(ProcA);
  UnhookWindowsHookEx(older);
}

TEST_F(HookRegistryTest, AProcedureMayUnregisterItselfAndOthersWhileTheEventIsDelivered) {
  TForm* form = ShownForm();
  RegisterHookProc(SelfRemover, kButtonEvents, false);
  RegisterHookProc(ProcA, kButtonEvents, false);
  SendMessage(form, WM_ACTIVATEAPP, 0, 0);
  ASSERT_EQ(heard.size(), 1u);
  EXPECT_EQ(heard[0].who, "remover");
  ExpectCounts(0, 0, 0);
}

TEST_F(HookRegistryTest, TheProgramEndRemovesEveryHookWhateverItsCount) {
  RegisterHookProc(ProcA, kButtonEvents, false);
  RegisterHookProc(ProcA, kButtonEvents, false);
  ShutdownHookRegistry();
  EXPECT_FALSE(HookSlotInstalled(hsCallWndProc));
  EXPECT_FALSE(HookSlotInstalled(hsGetMessage));
  EXPECT_FALSE(HookProcListExists());
  // The counts of the next run start from nothing again.
  RegisterHookProc(ProcA, kButtonEvents, false);
  UnregisterHookProc(ProcA);
  ShutdownHookRegistry();
}

TEST_F(HookRegistryTest, TheApplicationIsActiveWhileOneOfItsWindowsIsActive) {
  EXPECT_FALSE(AppIsActive());  // no window shown yet
  ShownForm();
  EXPECT_TRUE(AppIsActive());
  run.backend.SetActive(10, false);
  run.RunUntil(20);
  EXPECT_FALSE(AppIsActive());
  run.backend.SetActive(30, true);
  run.RunUntil(40);
  EXPECT_TRUE(AppIsActive());
}

}  // namespace
}  // namespace tq
