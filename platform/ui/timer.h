#pragma once
// The timer component. It fires only when enabled, with a non-zero interval and
// a handler. Setting Enabled to the value it has changes nothing; assigning the
// handler or the interval restarts the period. Ticks are dispatched by every
// message loop: modal loops, dialogs and pumping waits included.
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

 private:
  void Update();
  void Tick();
  bool enabled_ = true;
  int interval_ = 1000;
  TNotifyEvent onTimer_;
  unsigned id_ = 0;
};

}  // namespace tlb
