#include "platform/media/animate.h"

#include <algorithm>
#include <cmath>

#include "platform/core/cp1250.h"
#include "platform/core/exceptions.h"
#include "platform/core/paths.h"
#include "platform/graphics/dib_blit.h"
#include "platform/ui/timer.h"

namespace tlb {

namespace {
constexpr const char* kCannotOpen = "Cannot open AVI";
}

TAnimate::TAnimate(TComponent* AOwner) : TWinControl(AOwner) {
  width_ = 100;
  height_ = 80;
  ControlStyle = csCaptureMouse | csClickEvents | csOpaque | csDoubleClicks;
}

TAnimate::~TAnimate() {
  delete timer_;
  timer_ = nullptr;
}

void TAnimate::SetFileName(const std::string& name) {
  if (AnsiSameText(name, fileName_)) return;
  fileName_ = name;
  CloseClip();
  if (!fileName_.empty()) OpenClip();
}

void TAnimate::OpenClip() {
  std::unique_ptr<AviClip> clip;
  Dib first;
  try {
    clip = std::make_unique<AviClip>(AviClip::Parse(ReadWholeFile(fileName_)));
    if (clip->frameCount() < 1 || clip->width() < 1 || clip->height() < 1) throw EAnimateError(kCannotOpen);
    // A clip whose first frame does not decode is refused now, not at its first paint.
    first = clip->frame(0);
  } catch (const Exception&) {
    throw EAnimateError(kCannotOpen);
  }
  clip_ = std::move(clip);
  backgroundKey_ = first.pixel(0, 0);
  startFrame_ = 1;
  stopFrame_ = clip_->frameCount();
  ApplyAutoSize();
  ShowFrame(0);
  if (OnOpen) OnOpen(this);
}

void TAnimate::CloseClip() {
  if (!clip_) return;
  Stop();
  clip_.reset();
  picture_ = Dib();
  pictureIndex_ = -1;
  current_ = 0;
  Invalidate();
  if (OnClose) OnClose(this);
}

int TAnimate::LastFrame() const {
  int count = FrameCount();
  return stopFrame_ <= 0 || stopFrame_ > count ? count : stopFrame_;
}

void TAnimate::SetActive(bool value) {
  if (Has(csLoading)) {
    activeWhenLoaded_ = value;
    return;
  }
  if (!value) {
    Stop();
    return;
  }
  if (active_) return;
  if (!clip_) throw EAnimateError(kCannotOpen);
  Play(startFrame_, LastFrame(), repetitions_);
}

void TAnimate::Play(int from, int to, int count) {
  if (!clip_) throw EAnimateError(kCannotOpen);
  int frames = clip_->frameCount();
  if (to <= 0 || to > frames) to = frames;
  from = std::clamp(from, 1, to);
  playFrom_ = from - 1;
  playTo_ = to - 1;
  endless_ = count <= 0;
  passesLeft_ = count;
  bool wasActive = active_;
  active_ = true;
  ShowFrame(playFrom_);
  if (!timer_) {
    timer_ = new TTimer(nullptr);
    timer_->SetEnabled(false);
    timer_->SetOnTimer([this](TObject*) { Tick(); });
  }
  double fps = clip_->framesPerSecond() > 0 ? clip_->framesPerSecond() : 15.0;
  timer_->SetInterval(std::max(10, int(std::lround(1000.0 / fps))));
  timer_->SetEnabled(false);  // a fresh period from this start
  timer_->SetEnabled(true);
  if (!wasActive && OnStart) OnStart(this);
}

void TAnimate::Stop() {
  if (!active_) return;
  active_ = false;
  if (timer_) timer_->SetEnabled(false);
  if (OnStop) OnStop(this);
}

void TAnimate::Seek(int frame) {
  if (!clip_) throw EAnimateError(kCannotOpen);
  Stop();
  ShowFrame(std::clamp(frame, 1, clip_->frameCount()) - 1);
}

void TAnimate::Tick() {
  if (!active_ || !clip_) return;
  if (current_ < playTo_) {
    ShowFrame(current_ + 1);
    return;
  }
  // The last frame of the range has had its time: one pass is done.
  if (!endless_ && --passesLeft_ <= 0) {
    Stop();
    return;
  }
  ShowFrame(playFrom_);
}

void TAnimate::ShowFrame(int index) {
  if (index == current_ && pictureIndex_ == index) return;
  current_ = index;
  Invalidate();
}

void TAnimate::SetStartFrame(int value) {
  if (value == startFrame_) return;
  startFrame_ = value;
  if (active_) Play(startFrame_, LastFrame(), repetitions_);
}

void TAnimate::SetStopFrame(int value) {
  if (value == stopFrame_) return;
  stopFrame_ = value;
  if (active_) Play(startFrame_, LastFrame(), repetitions_);
}

void TAnimate::SetAutoSize(bool value) {
  if (value == autoSize_) return;
  autoSize_ = value;
  ApplyAutoSize();
}

void TAnimate::ApplyAutoSize() {
  if (autoSize_ && clip_ && !Has(csLoading)) SetBounds(left_, top_, clip_->width(), clip_->height());
}

void TAnimate::SetCenter(bool value) {
  if (value == center_) return;
  center_ = value;
  Invalidate();
}

void TAnimate::SetTransparent(bool value) {
  if (value == transparent_) return;
  transparent_ = value;
  Invalidate();
}

void TAnimate::Loaded() {
  TWinControl::Loaded();
  ApplyAutoSize();
  if (activeWhenLoaded_ && clip_) SetActive(true);
  activeWhenLoaded_ = false;
}

const Dib& TAnimate::FramePicture() {
  if (pictureIndex_ != current_) {
    // Stored as 32 bits so that each paint is a plain row copy onto the surface.
    picture_ = clip_->frame(current_).converted(32);
    pictureIndex_ = current_;
  }
  return picture_;
}

void TAnimate::PaintBackground(TCanvas& canvas) {
  if (!transparent_) TWinControl::PaintBackground(canvas);
  if (!clip_ || !canvas.Surface()) return;
  const Dib* frame = nullptr;
  try {
    frame = &FramePicture();
  } catch (const Exception&) {
    // A damaged frame later in the clip: nothing is drawn for it.
    return;
  }
  int x = 0, y = 0;
  if (center_) {
    x = (Width() - frame->width()) / 2;
    y = (Height() - frame->height()) / 2;
  }
  Point o = canvas.Origin();
  Rect src{0, 0, frame->width(), frame->height()};
  if (transparent_) CopyDibTransparent(*canvas.Surface(), o.x + x, o.y + y, *frame, src, canvas.ClipRect(), backgroundKey_);
  else CopyDib(*canvas.Surface(), o.x + x, o.y + y, *frame, src, canvas.ClipRect());
}

}  // namespace tlb
