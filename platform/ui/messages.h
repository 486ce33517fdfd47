#pragma once
// Window messages, as the queue carries them, with the Windows and class-library numbers.
#include <cstdint>

#include "platform/graphics/geometry.h"

namespace tlb {

class TWinControl;
using HWND = TWinControl*;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;
using UINT = unsigned;

struct MSG {
  HWND hwnd = nullptr;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  int64_t time = 0;
  Point pt;  // screen position of the pointer when the message was made
};

// A message as a window procedure sees it, with its result.
struct TMessage {
  UINT Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;
};

constexpr UINT WM_NULL = 0x0000;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_ERASEBKGND = 0x0014;
constexpr UINT WM_ACTIVATEAPP = 0x001C;
constexpr UINT WM_CANCELMODE = 0x001F;
constexpr UINT WM_SETCURSOR = 0x0020;
constexpr UINT WM_WINDOWPOSCHANGED = 0x0047;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_CHAR = 0x0102;
constexpr UINT WM_TIMER = 0x0113;
constexpr UINT WM_MOUSEFIRST = 0x0200;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
constexpr UINT WM_RBUTTONDOWN = 0x0204;
constexpr UINT WM_RBUTTONUP = 0x0205;
constexpr UINT WM_RBUTTONDBLCLK = 0x0206;
constexpr UINT WM_MBUTTONDOWN = 0x0207;
constexpr UINT WM_MBUTTONUP = 0x0208;
constexpr UINT WM_MBUTTONDBLCLK = 0x0209;
constexpr UINT WM_MOUSELAST = 0x0209;
constexpr UINT WM_USER = 0x0400;

// The class library's own messages.
constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_ACTIVATE = CM_BASE + 0;
constexpr UINT CM_DEACTIVATE = CM_BASE + 1;
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 3;
constexpr UINT CM_COLORCHANGED = CM_BASE + 4;
constexpr UINT CM_FONTCHANGED = CM_BASE + 5;
constexpr UINT CM_CURSORCHANGED = CM_BASE + 6;
constexpr UINT CM_PARENTFONTCHANGED = CM_BASE + 8;
constexpr UINT CM_PARENTCOLORCHANGED = CM_BASE + 9;
constexpr UINT CM_SHOWINGCHANGED = CM_BASE + 16;
constexpr UINT CM_MOUSEENTER = CM_BASE + 19;
constexpr UINT CM_MOUSELEAVE = CM_BASE + 20;
constexpr UINT CM_TEXTCHANGED = CM_BASE + 18;
constexpr UINT CM_DIALOGKEY = CM_BASE + 21;
constexpr UINT CM_DIALOGCHAR = CM_BASE + 22;
constexpr UINT CM_RELEASE = CM_BASE + 33;
constexpr UINT CM_VISIBLECHANGED = CM_BASE + 22 + 100;  // internal: a control was shown or hidden
constexpr UINT CM_SYSCOLORCHANGE = CM_BASE + 58;

// Key state bits in mouse messages' wParam.
constexpr WPARAM MK_LBUTTON = 0x0001;
constexpr WPARAM MK_RBUTTON = 0x0002;
constexpr WPARAM MK_SHIFT = 0x0004;
constexpr WPARAM MK_CONTROL = 0x0008;
constexpr WPARAM MK_MBUTTON = 0x0010;

// Virtual key codes the system uses.
constexpr int VK_BACK = 0x08, VK_TAB = 0x09, VK_RETURN = 0x0D, VK_SHIFT = 0x10, VK_CONTROL = 0x11,
              VK_MENU = 0x12, VK_ESCAPE = 0x1B, VK_SPACE = 0x20, VK_LEFT = 0x25, VK_UP = 0x26,
              VK_RIGHT = 0x27, VK_DOWN = 0x28, VK_F1 = 0x70, VK_F12 = 0x7B;

inline LPARAM MakeLParam(int lo, int hi) { return LPARAM(uint32_t(uint16_t(lo)) | (uint32_t(uint16_t(hi)) << 16)); }
inline int LoWordSigned(LPARAM v) { return int16_t(uint16_t(v)); }
inline int HiWordSigned(LPARAM v) { return int16_t(uint16_t(uint32_t(v) >> 16)); }
inline Point PointFromLParam(LPARAM v) { return {LoWordSigned(v), HiWordSigned(v)}; }

}  // namespace tlb
