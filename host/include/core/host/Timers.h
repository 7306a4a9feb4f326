// Timers that tick on the UI thread through the platform's clock.
#pragma once

#include <cstdint>

#include "host/Objects.h"

namespace fmx {

/// Calls OnTimer every Interval milliseconds on the UI thread while enabled.
class TTimer : public TFmxObject {
 public:
  explicit TTimer(TComponent* AOwner);
  ~TTimer() override;

  // Milliseconds between ticks; 0 stops the ticks.
  unsigned Interval() const { return FInterval; }
  void SetInterval(unsigned Value);
  bool Enabled() const { return FEnabled; }
  // Enabling (again) restarts the interval from now.
  void SetEnabled(bool Value);
  const TNotifyEvent& OnTimer() const { return FOnTimer; }
  void SetOnTimer(TNotifyEvent Value) { FOnTimer = std::move(Value); }

  // Called by the timer queue when the interval has passed.
  void DoOnTimer();

 protected:
  void BeforeDestruction() override;

 private:
  void UpdateSchedule();
  unsigned FInterval = 1000;
  bool FEnabled = true;
  TNotifyEvent FOnTimer;
};

// The enabled timers of the application, ordered by when they are due.
class TTimerQueue {
 public:
  // Schedules (or reschedules) the timer to tick Interval ms after Now.
  void Schedule(TTimer* Timer, uint64_t Now, unsigned Interval);
  void Unschedule(TTimer* Timer);
  bool IsScheduled(const TTimer* Timer) const;
  // When the next timer is due, or UINT64_MAX when none is.
  uint64_t NextDue() const;
  // Fires every timer due at or before Now, earliest first; each fired timer is due
  // again one interval after its tick. SetNow is told the time of each tick.
  void FireDue(uint64_t Now, const std::function<void(uint64_t)>& SetNow = {});

 private:
  struct Entry {
    TTimer* Timer;
    uint64_t Due;
    uint64_t Sequence;
    unsigned Interval;
  };
  std::vector<Entry> FEntries;
  uint64_t FSequence = 0;
};

}  // namespace fmx
