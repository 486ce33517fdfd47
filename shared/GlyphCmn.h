#pragma once
// The registry of window-hook procedures: plain procedures that want to hear of
// events no single control receives through its own messages (the application
// being activated or deactivated, a window having moved, a window about to be
// destroyed, a mouse move anywhere in the thread).
//
// The three thread hooks that deliver them (WH_CALLWNDPROC, WH_CBT, WH_GETMESSAGE)
// are installed only while some registration needs them, and each is removed when
// the last registration that needs it goes. Every registration, first or repeated,
// holds one count on each hook its events need.
#include <cstdint>
#include <initializer_list>

#include "platform/ui/messages.h"

namespace tq {

enum THookEvent : uint8_t { heActivateApp = 0, heWindowPosChanged = 1, heBeforeDestroy = 2, heMouseMoved = 3 };

// A set of events: bit n stands for event n.
using THookEvents = uint8_t;
constexpr THookEvents HookEvents(std::initializer_list<THookEvent> events) {
  THookEvents set = 0;
  for (THookEvent e : events) set = THookEvents(set | (1u << e));
  return set;
}

// What the values mean depends on the event:
//   heActivateApp, heWindowPosChanged: the window, and the message's wParam and lParam
//     (for heActivateApp, wParam 0 means the application is being deactivated);
//   heBeforeDestroy: the window about to be destroyed, 0, 0;
//   heMouseMoved: the message's window, wParam and lParam.
using THookProc = void (*)(THookEvent Event, tlb::HWND Wnd, tlb::WPARAM WParam, tlb::LPARAM LParam);

// Registers `Proc` for `Events` (a repeated registration only counts up; the events
// of the first one stay). Unless `OnlyCount`, acquires the hooks those events need.
void RegisterHookProc(THookProc Proc, THookEvents Events, bool OnlyCount);
// Takes back one registration of `Proc` and releases the hooks its events needed.
void UnregisterHookProc(THookProc Proc);
// True while one of this thread's windows is the active window.
bool AppIsActive();

// ---- inspection, for tests ----
// The hook slots, in their fixed order.
enum THookSlot : int { hsCallWndProc = 0, hsCbt = 1, hsGetMessage = 2 };
int HookSlotCount(THookSlot slot);
bool HookSlotInstalled(THookSlot slot);
// The registration count of `Proc`, 0 when it has no entry.
int HookProcRefCount(THookProc Proc);
bool HookProcListExists();
// What the program's end does: removes every hook still installed, whatever its
// count, and discards the registrations.
void ShutdownHookRegistry();

}  // namespace tq
