#include "platform/backend/headless/headless_backend.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/backend/screen_settings.h"
#include "platform/core/exceptions.h"
#include "platform/formats/png_writer.h"
#include "platform/graphics/dib_blit.h"
#include "platform/media/audio_device.h"

namespace tlb {

HeadlessBackend::HeadlessBackend() : HeadlessBackend(ScreenSizeSetting(std::getenv("TULIMBO_SCREEN"), {800, 600})) {}

HeadlessBackend::HeadlessBackend(Size screen) : size_(screen), screen_(screen.cx, screen.cy, 32) {
  ownAudio_ = CreateHeadlessAudioDevice(*this);
  audio_ = ownAudio_.get();
}

HeadlessBackend::~HeadlessBackend() = default;

void HeadlessBackend::Present(const Dib& screen, const Rect& dirty) {
  ++presents_;
  if (screen_.width() != screen.width() || screen_.height() != screen.height())
    screen_ = Dib(screen.width(), screen.height(), 32);
  CopyDib(screen_, dirty.left, dirty.top, screen, dirty, dirty);
}

void HeadlessBackend::Add(int64_t at, InputEvent e, std::function<void()> action) {
  Scripted s{std::max(at, int64_t(0)), order_++, e, std::move(action)};
  auto it = std::upper_bound(script_.begin(), script_.end(), s, [](const Scripted& a, const Scripted& b) {
    return a.at < b.at || (a.at == b.at && a.order < b.order);
  });
  script_.insert(it, std::move(s));
}

void HeadlessBackend::MoveMouse(int64_t atMs, Point p) {
  InputEvent e;
  e.kind = InputKind::MouseMove;
  e.pos = p;
  Add(atMs, e);
}

void HeadlessBackend::Press(int64_t atMs, Point p, MouseButton button) {
  MoveMouse(atMs, p);
  InputEvent e;
  e.kind = InputKind::MouseDown;
  e.pos = p;
  e.button = button;
  Add(atMs, e);
}

void HeadlessBackend::Release(int64_t atMs, Point p, MouseButton button) {
  InputEvent e;
  e.kind = InputKind::MouseUp;
  e.pos = p;
  e.button = button;
  Add(atMs, e);
}

void HeadlessBackend::Click(int64_t atMs, Point p, MouseButton button) {
  Press(atMs, p, button);
  Release(atMs, p, button);
}

void HeadlessBackend::KeyDown(int64_t atMs, int key) {
  InputEvent e;
  e.kind = InputKind::KeyDown;
  e.key = key;
  Add(atMs, e);
  InputEvent up = e;
  up.kind = InputKind::KeyUp;
  Add(atMs, up);
}

void HeadlessBackend::Char(int64_t atMs, uint8_t chr) {
  InputEvent e;
  e.kind = InputKind::Char;
  e.chr = chr;
  Add(atMs, e);
}

void HeadlessBackend::PressEscape(int64_t atMs) {
  InputEvent down;
  down.kind = InputKind::KeyDown;
  down.key = 27;
  Add(atMs, down);
  Char(atMs, 27);
  InputEvent up = down;
  up.kind = InputKind::KeyUp;
  Add(atMs, up);
}

void HeadlessBackend::SetActive(int64_t atMs, bool active) {
  InputEvent e;
  e.kind = active ? InputKind::Activate : InputKind::Deactivate;
  Add(atMs, e, [this, active] { active_ = active; });
}

void HeadlessBackend::At(int64_t atMs, std::function<void()> action) {
  InputEvent none;
  none.kind = InputKind::Nothing;  // wakes the loop after the action ran
  Add(atMs, none, std::move(action));
}

bool HeadlessBackend::PollInput(InputEvent& event) {
  while (!script_.empty() && script_.front().at <= now_) {
    Scripted s = std::move(script_.front());
    script_.pop_front();
    idleSince_ = -1;
    if (s.action) s.action();
    if (s.event.kind == InputKind::MouseMove || s.event.kind == InputKind::MouseDown ||
        s.event.kind == InputKind::MouseUp)
      cursor_ = s.event.pos;
    event = s.event;
    return true;
  }
  return false;
}

void HeadlessBackend::WaitUntil(int64_t untilMs) {
  int64_t next = untilMs;
  if (!script_.empty() && (next < 0 || script_.front().at < next)) next = script_.front().at;
  if (next < 0) {
    // Nothing is scheduled at all: let time pass in small steps, and give up on a stuck program.
    if (idleSince_ < 0) idleSince_ = now_;
    if (now_ - idleSince_ > stuckLimitMs) throw EInvalidOperation("headless run is idle with nothing scheduled");
    next = now_ + kIdleStepMs;
  } else {
    idleSince_ = -1;
  }
  if (next > now_) now_ = next;
}

std::optional<DialogAnswer> HeadlessBackend::ScriptedDialog(const DialogRecord& record) {
  DialogRecord r = record;
  r.atMs = now_;
  dialogs_.push_back(r);
  if (answers_.empty()) return DialogAnswer{};
  DialogAnswer a = answers_.front();
  answers_.pop_front();
  return a;
}

std::vector<std::string> HeadlessBackend::DialogTexts() const {
  std::vector<std::string> out;
  for (const auto& d : dialogs_) out.push_back(d.text);
  return out;
}

void HeadlessBackend::SaveScreenshot(const std::string& pngPath) const { WritePng(screen_, pngPath); }

}  // namespace tlb
