#include "shared/GlyphCmn.h"

#include <memory>
#include <vector>

#include "platform/ui/forms.h"
#include "platform/ui/hooks.h"

namespace tq {

using namespace tlb;

namespace {

struct THookProcEntry {
  THookProc Proc;
  int32_t RefCount;
  THookEvents Events;  // those of the first registration: the events delivered
  // What each registration acquired, latest last (nothing for one made with
  // OnlyCount). An unregistration gives back exactly what one registration took,
  // so registrations with other events, or counted only, never release hooks that
  // other registrations hold.
  std::vector<uint8_t> Held;
};

// Absent while nothing is registered.
std::unique_ptr<std::vector<THookProcEntry>> HookProcList;

LRESULT CallWndProcHook(int code, WPARAM wParam, LPARAM lParam);
LRESULT CbtHook(int code, WPARAM wParam, LPARAM lParam);
LRESULT GetMessageHook(int code, WPARAM wParam, LPARAM lParam);

struct HookSlot {
  int kind;
  HOOKPROC proc;
  HHOOK handle = nullptr;
  int32_t count = 0;
};

// One handle and one count per slot for the whole process.
HookSlot Slots[3] = {
    {WH_CALLWNDPROC, CallWndProcHook},
    {WH_CBT, CbtHook},
    {WH_GETMESSAGE, GetMessageHook},
};

using TSlotSet = uint8_t;
constexpr TSlotSet kAllSlots = 0x07;

// heActivateApp and heWindowPosChanged come through WH_CALLWNDPROC, heBeforeDestroy
// through WH_CBT and heMouseMoved through WH_GETMESSAGE.
constexpr int kSlotOfEvent[4] = {hsCallWndProc, hsCallWndProc, hsCbt, hsGetMessage};

TSlotSet HookSetForEvents(THookEvents events) {
  TSlotSet slots = 0;
  for (int e = 0; e < 4; ++e)
    if (events & (1u << e)) slots = TSlotSet(slots | (1u << kSlotOfEvent[e]));
  return slots;
}

// The program's end removes the hooks still installed. The finaliser is made after
// the first hook is installed, so it is torn down before the platform's hook chain.
struct Finaliser {
  ~Finaliser() { ShutdownHookRegistry(); }
};

void AcquireHooks(TSlotSet slots) {
  for (int i = 0; i < 3; ++i) {
    if (!(slots & (1u << i))) continue;
    HookSlot& s = Slots[i];
    ++s.count;
    // A hook that fails to install leaves the handle at 0; the next acquire tries again.
    if (!s.handle) {
      s.handle = SetWindowsHookEx(s.kind, s.proc, nullptr, GetCurrentThreadId());
      if (s.handle) static Finaliser finaliser;
    }
  }
}

void ReleaseHooks(TSlotSet slots, bool force) {
  for (int i = 0; i < 3; ++i) {
    if (!(slots & (1u << i))) continue;
    HookSlot& s = Slots[i];
    if (s.count > 0) --s.count;
    if ((force || s.count == 0) && s.handle) {
      UnhookWindowsHookEx(s.handle);
      s.handle = nullptr;
    }
  }
}

// Calls every entry registered for `event`, in list order. The number of entries is
// taken when the hook fires; an entry that went meanwhile (a procedure may unregister
// itself or others) is skipped. Exceptions from a procedure are swallowed, so the
// other procedures and the message itself go on.
void Deliver(THookEvent event, HWND wnd, WPARAM wParam, LPARAM lParam) {
  size_t count = HookProcList->size();
  for (size_t i = 0; i < count; ++i) {
    if (!HookProcList || i >= HookProcList->size()) break;
    THookProc proc = (*HookProcList)[i].Proc;
    if (!((*HookProcList)[i].Events & (1u << event))) continue;
    try {
      proc(event, wnd, wParam, lParam);
    } catch (...) {
    }
  }
}

LRESULT CallWndProcHook(int code, WPARAM wParam, LPARAM lParam) {
  if (HookProcList && code == HC_ACTION) {
    const auto* cwp = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (cwp->message == WM_ACTIVATEAPP) Deliver(heActivateApp, cwp->hwnd, cwp->wParam, cwp->lParam);
    else if (cwp->message == WM_WINDOWPOSCHANGED) Deliver(heWindowPosChanged, cwp->hwnd, cwp->wParam, cwp->lParam);
  }
  return CallNextHookEx(Slots[hsCallWndProc].handle, code, wParam, lParam);
}

LRESULT CbtHook(int code, WPARAM wParam, LPARAM lParam) {
  if (HookProcList && code == HCBT_DESTROYWND) Deliver(heBeforeDestroy, reinterpret_cast<HWND>(wParam), 0, 0);
  return CallNextHookEx(Slots[hsCbt].handle, code, wParam, lParam);
}

LRESULT GetMessageHook(int code, WPARAM wParam, LPARAM lParam) {
  // A message only looked at reports as well as one taken from the queue.
  if (HookProcList && code == HC_ACTION) {
    const auto* msg = reinterpret_cast<const MSG*>(lParam);
    if (msg->message == WM_MOUSEMOVE) Deliver(heMouseMoved, msg->hwnd, msg->wParam, msg->lParam);
  }
  return CallNextHookEx(Slots[hsGetMessage].handle, code, wParam, lParam);
}

THookProcEntry* FindEntry(THookProc proc) {
  if (!HookProcList) return nullptr;
  for (THookProcEntry& e : *HookProcList)
    if (e.Proc == proc) return &e;
  return nullptr;
}

}  // namespace

void RegisterHookProc(THookProc Proc, THookEvents Events, bool OnlyCount) {
  if (!HookProcList) HookProcList = std::make_unique<std::vector<THookProcEntry>>();
  THookProcEntry* e = FindEntry(Proc);
  if (e) ++e->RefCount;
  else e = &HookProcList->emplace_back(THookProcEntry{Proc, 1, Events, {}});
  // The events of this call, not those stored with the entry.
  TSlotSet slots = OnlyCount ? 0 : HookSetForEvents(Events);
  e->Held.push_back(slots);
  AcquireHooks(slots);
}

void UnregisterHookProc(THookProc Proc) {
  if (!HookProcList) return;
  for (auto it = HookProcList->begin(); it != HookProcList->end(); ++it) {
    if (it->Proc != Proc) continue;
    TSlotSet slots = 0;
    if (!it->Held.empty()) {
      slots = it->Held.back();
      it->Held.pop_back();
    }
    if (--it->RefCount <= 0) HookProcList->erase(it);
    ReleaseHooks(slots, false);
    break;
  }
  if (HookProcList->empty()) HookProcList.reset();
}

bool AppIsActive() { return GetActiveWindow() != nullptr; }

int HookSlotCount(THookSlot slot) { return Slots[slot].count; }
bool HookSlotInstalled(THookSlot slot) { return Slots[slot].handle != nullptr; }

int HookProcRefCount(THookProc Proc) {
  const THookProcEntry* e = FindEntry(Proc);
  return e ? e->RefCount : 0;
}

bool HookProcListExists() { return HookProcList != nullptr; }

void ShutdownHookRegistry() {
  ReleaseHooks(kAllSlots, true);
  HookProcList.reset();
}

}  // namespace tq
