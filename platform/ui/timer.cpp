#include "platform/ui/timer.h"

#include "platform/ui/message_queue.h"

namespace tlb {

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) { id_ = MessageQueue::Instance().NewTimerId(); }

TTimer::~TTimer() { MessageQueue::Instance().KillTimer(id_); }

void TTimer::Update() {
  auto& q = MessageQueue::Instance();
  q.KillTimer(id_);
  if (enabled_ && interval_ != 0 && onTimer_) {
    auto token = AliveToken();
    q.SetTimer(
        id_, interval_,
        [this, token] {
          if (!token.expired()) Tick();
        },
        quiet_);
  }
}

void TTimer::Tick() {
  // Copy: the handler may replace itself or free the timer.
  TNotifyEvent handler = onTimer_;
  if (handler) handler(this);
}

void TTimer::SetEnabled(bool v) {
  if (v == enabled_) return;
  enabled_ = v;
  Update();
}

void TTimer::SetInterval(int ms) {
  if (ms == interval_) return;
  interval_ = ms;
  Update();
}

void TTimer::SetOnTimer(TNotifyEvent handler) {
  onTimer_ = std::move(handler);
  Update();
}

void TTimer::SetQuietWhile(std::function<bool()> quiet) {
  quiet_ = std::move(quiet);
  auto& q = MessageQueue::Instance();
  if (q.TimerExists(id_)) q.SetTimerQuiet(id_, quiet_);
}

}  // namespace tlb
