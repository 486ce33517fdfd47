#pragma once
// The one interface between the platform and the machine: a screen, input, a
// clock, a cursor and audio. Two implementations exist: the SDL backend for the
// real program and the headless backend for tests. Nothing else touches the OS
// display, input devices or wall clock.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/graphics/dib.h"
#include "platform/graphics/geometry.h"

namespace tlb {

struct CursorImage;
class AudioDevice;

// Nothing: an event that only wakes the loop (a scripted action ran).
enum class InputKind { MouseMove, MouseDown, MouseUp, KeyDown, KeyUp, Char, Activate, Deactivate, Quit, Nothing };
enum class MouseButton { Left, Right, Middle };

struct InputEvent {
  InputKind kind = InputKind::MouseMove;
  Point pos;  // screen coordinates, for mouse events
  MouseButton button = MouseButton::Left;
  int key = 0;         // virtual key code for KeyDown/KeyUp
  uint8_t chr = 0;     // code page 1250 character for Char
  unsigned shift = 0;  // MK_SHIFT / MK_CONTROL style modifier bits
};

// What a modal dialog answers in a headless run.
struct DialogAnswer {
  int button = 1;  // IDOK 1, IDCANCEL 2
  std::optional<std::string> text;  // the input box's text; none = keep the default
  int64_t afterMs = 0;  // virtual time the dialog stays open before it is answered
};

struct DialogRecord {
  std::string kind;     // "error", "message", "input", "exception"
  std::string caption;  // code page 1250
  std::string text;     // code page 1250
  int64_t atMs = 0;
};

class Backend {
 public:
  virtual ~Backend() = default;

  // The screen size in pixels.
  virtual Size ScreenSize() const = 0;
  // Shows the composed screen; `dirty` is the part that changed. The screen
  // stays in place (and whole) between calls, so the backend may show it again
  // from there, until ScreenGone.
  virtual void Present(const Dib& screen, const Rect& dirty) = 0;
  // The screen last given to Present is about to go.
  virtual void ScreenGone() {}

  // Milliseconds on the one clock of the program.
  virtual int64_t NowMs() const = 0;
  // The time of day in milliseconds since midnight, on the same clock (the runtime's random seed).
  virtual int64_t MillisecondsSinceMidnight() const { return NowMs() % 86400000; }
  // Takes the next input event, if one is due.
  virtual bool PollInput(InputEvent& event) = 0;
  // Waits until input arrives or the clock reaches `untilMs` (-1: no limit is known).
  // The headless backend moves its virtual clock instead of sleeping.
  virtual void WaitUntil(int64_t untilMs) = 0;
  // The pointer position in screen coordinates.
  virtual Point CursorPos() const = 0;
  virtual void SetCursor(const CursorImage* image, int index) = 0;
  virtual void SetTitle(const std::string& utf8) = 0;
  // The program's icon for the window; nullptr keeps the one it has.
  virtual void SetIcon(const CursorImage* icon) {}
  // Whether the program's window has the input focus.
  virtual bool IsActive() const = 0;

  // The audio output; nullptr when no device can be opened.
  virtual AudioDevice* Audio() = 0;

  // Modal dialogs: the headless backend answers them from a script; the real one returns nothing.
  virtual std::optional<DialogAnswer> ScriptedDialog(const DialogRecord& record) { return std::nullopt; }
};

// The backend of this program run. Set once at start-up by the program's main or the test harness.
Backend& CurrentBackend();
void SetBackend(Backend* backend);
bool HasBackend();

}  // namespace tlb
