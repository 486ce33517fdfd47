#pragma once
// The timer component. It fires only when enabled, with a non-zero interval and
// a handler. Setting Enabled to the value it has changes nothing; assigning the
// handler or the interval restarts the period. Ticks are dispatched by every
// message loop: modal loops, dialogs and pumping waits included.
//
// An owner whose handler often has nothing to do can say when that is
// (SetQuietWhile): the program then sleeps through those ticks instead of
// waking for each, and the ticks that do something come at the same times.
#include "platform/ui/component.h"

namespace tlb {

class TTimer : public TComponent {
 public:
  explicit TTimer(TComponent* AOwner);
  ~TTimer() override;
  const char* ClassName() const override { return "TTimer"; }

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  int Interval() const { return interval_; }
  void SetInterval(int ms);
  const TNotifyEvent& OnTimer() const { return onTimer_; }
  void SetOnTimer(TNotifyEvent handler);
  // `quiet` tells when a tick would change nothing. It may read only state that
  // this thread changes (not, say, whether a sound is still playing), so that
  // whatever ends the quiet wakes the thread itself.
  void SetQuietWhile(std::function<bool()> quiet);

 private:
  void Update();
  void Tick();
  bool enabled_ = true;
  int interval_ = 1000;
  TNotifyEvent onTimer_;
  std::function<bool()> quiet_;
  unsigned id_ = 0;
};

}  // namespace tlb
