#include "host/Timers.h"

#include <algorithm>

#include "host/Forms.h"

namespace fmx {

TTimer::TTimer(TComponent* AOwner) : TFmxObject(AOwner) { UpdateSchedule(); }

TTimer::~TTimer() { Application->Timers().Unschedule(this); }

void TTimer::BeforeDestruction() {
  // A freed timer ticks no more from the moment it is freed.
  Application->Timers().Unschedule(this);
  TFmxObject::BeforeDestruction();
}

void TTimer::SetInterval(unsigned Value) {
  if (Value == FInterval) return;
  FInterval = Value;
  UpdateSchedule();
}

void TTimer::SetEnabled(bool Value) {
  if (Value == FEnabled) return;
  FEnabled = Value;
  UpdateSchedule();
}

void TTimer::UpdateSchedule() {
  TTimerQueue& queue = Application->Timers();
  // A timer on its way out never joins the queue again, whatever code still running on
  // it asks: its memory goes when the dispatch ends.
  if (FEnabled && FInterval > 0 && !IsDesigning() && !IsDestroying()) {
    queue.Schedule(this, Application->NowMs(), FInterval);
    Application->Platform()->TimersChanged();
  } else {
    queue.Unschedule(this);
  }
}

void TTimer::DoOnTimer() {
  if (FOnTimer) {
    auto h = FOnTimer;
    h(this);
  }
}

void TTimerQueue::Schedule(TTimer* Timer, uint64_t Now, unsigned Interval) {
  Unschedule(Timer);
  FEntries.push_back({Timer, Now + Interval, FSequence++, Interval});
}

void TTimerQueue::Unschedule(TTimer* Timer) {
  FEntries.erase(std::remove_if(FEntries.begin(), FEntries.end(),
                                [Timer](const Entry& e) { return e.Timer == Timer; }),
                 FEntries.end());
}

bool TTimerQueue::IsScheduled(const TTimer* Timer) const {
  return std::any_of(FEntries.begin(), FEntries.end(),
                     [Timer](const Entry& e) { return e.Timer == Timer; });
}

uint64_t TTimerQueue::NextDue() const {
  uint64_t next = UINT64_MAX;
  for (const Entry& e : FEntries) next = std::min(next, e.Due);
  return next;
}

void TTimerQueue::FireDue(uint64_t Now, const std::function<void(uint64_t)>& SetNow) {
  // One tick at a time, re-reading the queue after each: a handler may enable,
  // disable or free any timer, its own included.
  for (;;) {
    auto it = std::min_element(FEntries.begin(), FEntries.end(), [](const Entry& a, const Entry& b) {
      return a.Due != b.Due ? a.Due < b.Due : a.Sequence < b.Sequence;
    });
    if (it == FEntries.end() || it->Due > Now) return;
    // Painting before the tick (SetNow) runs handlers that may free the timer; it then
    // stays readable until the tick is over.
    TDispatchScope scope;
    TTimer* timer = it->Timer;
    const uint64_t due = it->Due;
    it->Due += it->Interval;
    // On a real clock a late loop does not replay the ticks it missed.
    if (!SetNow && it->Due <= Now) it->Due = Now + it->Interval;
    it->Sequence = FSequence++;
    if (SetNow) SetNow(due);
    if (!timer->IsDestroying()) timer->DoOnTimer();
  }
}

}  // namespace fmx
