#pragma once
// Thread-local window hooks: WH_CALLWNDPROC sees every sent message before the
// window does, WH_GETMESSAGE every message retrieved or peeked, WH_CBT the
// destruction of windows. Hooks run newest first; each passes on with CallNextHookEx.
#include "platform/ui/messages.h"

namespace tlb {

constexpr int WH_GETMESSAGE = 3;
constexpr int WH_CALLWNDPROC = 4;
constexpr int WH_CBT = 5;
constexpr int HC_ACTION = 0;
constexpr int HCBT_DESTROYWND = 4;

struct CWPSTRUCT {
  LPARAM lParam;
  WPARAM wParam;
  UINT message;
  HWND hwnd;
};

struct HookRecord;
using HHOOK = HookRecord*;
using HOOKPROC = LRESULT (*)(int code, WPARAM wParam, LPARAM lParam);

HHOOK SetWindowsHookEx(int kind, HOOKPROC proc, void* module, unsigned threadId);
bool UnhookWindowsHookEx(HHOOK hook);
LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam);
unsigned GetCurrentThreadId();
// How many hooks of a kind are installed (for tests).
int InstalledHookCount(int kind);

// Called by the queue and by SendMessage.
void CallGetMessageHooks(MSG& msg, bool removed);
void CallWndProcHooks(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void CallCbtHooks(int code, WPARAM wParam, LPARAM lParam);

}  // namespace tlb
