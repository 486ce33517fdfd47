#pragma once
// The class library's animation control: a windowed control that plays the
// frames of an AVI clip (uncompressed 8- or 24-bit, or RLE8) at the clip's
// frame rate, advanced by the program clock's timers.
//
// Opening a clip (assigning a FileName that differs ignoring case) sets
// StartFrame 1 and StopFrame to the clip's frame count, shows the first frame
// and fires OnOpen. Active := True plays StartFrame..StopFrame Repetitions times
// (0: without end) and does nothing while the clip runs; Active reads False
// again once it has stopped. A clip that cannot be opened raises
// EAnimateError("Cannot open AVI"), and so does Active := True without a clip.
//
// Drawing: the current frame at the top left, or centred (Center); with
// Transparent the pixels of the clip's background colour (the first frame's
// top-left pixel) let the parent show through, else the control's Color fills
// the area around and under the frame.
#include <memory>
#include <string>

#include "platform/formats/avi_reader.h"
#include "platform/ui/control.h"

namespace tlb {

class TTimer;

class TAnimate : public TWinControl {
 public:
  explicit TAnimate(TComponent* AOwner);
  ~TAnimate() override;
  const char* ClassName() const override { return "TAnimate"; }

  const std::string& FileName() const { return fileName_; }
  void SetFileName(const std::string& name);
  bool Active() const { return active_; }
  void SetActive(bool value);
  // 1-based frame numbers.
  int StartFrame() const { return startFrame_; }
  void SetStartFrame(int value);
  int StopFrame() const { return stopFrame_; }
  void SetStopFrame(int value);
  int Repetitions() const { return repetitions_; }
  void SetRepetitions(int value) { repetitions_ = value < 0 ? 0 : value; }
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool value);
  bool Center() const { return center_; }
  void SetCenter(bool value);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value);
  // Kept for the form descriptions: frames always advance by the program clock's timers.
  bool Timers() const { return timers_; }
  void SetTimers(bool value) { timers_ = value; }

  bool Open() const { return clip_ != nullptr; }
  int FrameCount() const { return clip_ ? clip_->frameCount() : 0; }
  int FrameWidth() const { return clip_ ? clip_->width() : 0; }
  int FrameHeight() const { return clip_ ? clip_->height() : 0; }
  // The 1-based number of the frame shown; 0 without a clip.
  int CurrentFrame() const { return clip_ ? current_ + 1 : 0; }
  // Plays frames `from`..`to` (1-based) `count` times (0: without end).
  void Play(int from, int to, int count);
  void Stop();
  // Shows one frame (1-based) and stops.
  void Seek(int frame);

  TNotifyEvent OnOpen, OnClose, OnStart, OnStop;

  void Loaded() override;
  void PaintBackground(TCanvas& canvas) override;

 private:
  void OpenClip();
  void CloseClip();
  void Tick();
  void ShowFrame(int index);
  void ApplyAutoSize();
  int LastFrame() const;
  const Dib& FramePicture();

  std::string fileName_;
  std::unique_ptr<AviClip> clip_;
  bool active_ = false;
  bool activeWhenLoaded_ = false;
  int startFrame_ = 1, stopFrame_ = 0, repetitions_ = 0;
  bool autoSize_ = true, center_ = true, transparent_ = true, timers_ = false;
  COLORREF backgroundKey_ = CLR_NONE;
  // Playback: the 0-based frame shown, the range played and the passes left.
  int current_ = 0;
  int playFrom_ = 0, playTo_ = 0, passesLeft_ = 0;
  bool endless_ = false;
  TTimer* timer_ = nullptr;
  // The frame picture in the surface's format, decoded when first drawn.
  Dib picture_;
  int pictureIndex_ = -1;
};

}  // namespace tlb
