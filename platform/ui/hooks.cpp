#include "platform/ui/hooks.h"

#include <algorithm>
#include <memory>
#include <vector>

namespace tlb {

struct HookRecord {
  int kind;
  HOOKPROC proc;
  bool removed = false;
};

namespace {

// Newest first. Records are kept until no walk is running, so that a hook may
// unhook itself (or another) while the chain is being called.
std::vector<std::unique_ptr<HookRecord>>& Chain() {
  static std::vector<std::unique_ptr<HookRecord>> chain;
  return chain;
}
int walking = 0;

void Sweep() {
  if (walking) return;
  auto& c = Chain();
  c.erase(std::remove_if(c.begin(), c.end(), [](const auto& h) { return h->removed; }), c.end());
}

HookRecord* NextLive(int kind, const HookRecord* after) {
  auto& c = Chain();
  bool passed = after == nullptr;
  for (auto& h : c) {
    if (!passed) {
      if (h.get() == after) passed = true;
      continue;
    }
    if (h->kind == kind && !h->removed) return h.get();
  }
  return nullptr;
}

LRESULT CallChain(int kind, int code, WPARAM wParam, LPARAM lParam) {
  HookRecord* first = NextLive(kind, nullptr);
  if (!first) return 0;
  ++walking;
  LRESULT r = first->proc(code, wParam, lParam);
  --walking;
  Sweep();
  return r;
}

}  // namespace

HHOOK SetWindowsHookEx(int kind, HOOKPROC proc, void* module, unsigned threadId) {
  if (!proc || (kind != WH_GETMESSAGE && kind != WH_CALLWNDPROC && kind != WH_CBT)) return nullptr;
  auto& c = Chain();
  c.insert(c.begin(), std::make_unique<HookRecord>(HookRecord{kind, proc}));
  return c.front().get();
}

bool UnhookWindowsHookEx(HHOOK hook) {
  for (auto& h : Chain())
    if (h.get() == hook && !h->removed) {
      h->removed = true;
      Sweep();
      return true;
    }
  return false;
}

LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam) {
  int kind = -1;
  for (auto& h : Chain())
    if (h.get() == hook) kind = h->kind;
  if (kind < 0) return 0;
  HookRecord* next = NextLive(kind, hook);
  if (!next) return 0;
  ++walking;
  LRESULT r = next->proc(code, wParam, lParam);
  --walking;
  return r;
}

unsigned GetCurrentThreadId() { return 1; }

int InstalledHookCount(int kind) {
  int n = 0;
  for (auto& h : Chain())
    if (h->kind == kind && !h->removed) ++n;
  return n;
}

void CallGetMessageHooks(MSG& msg, bool removed) {
  CallChain(WH_GETMESSAGE, HC_ACTION, removed ? 1 : 0, reinterpret_cast<LPARAM>(&msg));
}

void CallWndProcHooks(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  CWPSTRUCT cwp{lParam, wParam, message, hwnd};
  CallChain(WH_CALLWNDPROC, HC_ACTION, 0, reinterpret_cast<LPARAM>(&cwp));
}

void CallCbtHooks(int code, WPARAM wParam, LPARAM lParam) { CallChain(WH_CBT, code, wParam, lParam); }

}  // namespace tlb
