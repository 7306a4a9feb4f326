// Where a soak or a fuzz input is, for whatever ends the process: a failed check, a
// sanitizer report or a signal. A failure names the run and the event that replay it.
#pragma once

#include <cstdint>
#include <random>
#include <string>

namespace fmx::soak {

struct TWhere {
  const char* Scene = "library";
  uint64_t Run = 0;
  long Event = -1;
  const char* EventName = "set-up";
  const char* Handler = "no handler";  // the innermost handler running, if any
  const char* Phase = "event";          // the event itself, or the checks after it
  // Under the fuzzer a failed check aborts, so that libFuzzer keeps the input.
  bool AbortOnFailure = false;
};
extern TWhere Where;

void PrintWhere();
// Signal and sanitizer hooks that print where the stream was before the process ends.
void InstallDeathReport();
[[noreturn]] void Fail(const std::string& What);

// Where the driver's choices come from: a pseudo-random stream from the run number, or
// the fuzzer's bytes.
class TChoices {
 public:
  virtual ~TChoices() = default;
  // 0 .. N-1 (0 when N is 0).
  virtual unsigned Pick(unsigned N) = 0;
  // No more choices to make: the driver stops.
  virtual bool Exhausted() const { return false; }
  bool Chance(unsigned Percent) { return Pick(100) < Percent; }
};

class TRandomChoices : public TChoices {
 public:
  explicit TRandomChoices(uint64_t Run) : FRng(Run) {}
  unsigned Pick(unsigned N) override { return N == 0 ? 0 : static_cast<unsigned>(FRng() % N); }

 private:
  std::mt19937_64 FRng;
};

}  // namespace fmx::soak
