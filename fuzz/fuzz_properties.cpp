// Random property assignments and input on a title bar and a menu tree: the library
// soak's driver and checks, with the fuzzer's bytes as the source of every choice. A
// breached invariant aborts, so the fuzzer keeps the input.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>

#include "LibrarySoak.h"
#include "SoakReport.h"
#include "ZUZided.h"
#include "host/Registry.h"

using namespace fmx;

namespace {

class TFuzzedChoices : public soak::TChoices {
 public:
  explicit TFuzzedChoices(FuzzedDataProvider& Data) : FData(Data) {}
  unsigned Pick(unsigned N) override {
    return N <= 1 ? 0 : FData.ConsumeIntegralInRange<unsigned>(0, N - 1);
  }
  bool Exhausted() const override { return FData.remaining_bytes() == 0; }

 private:
  FuzzedDataProvider& FData;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  static bool ready = [] {
    EnsureHostClasses();
    ZUZided::Register();
    soak::Where.AbortOnFailure = true;
    return true;
  }();
  (void)ready;
  FuzzedDataProvider data(Data, Size);
  TFuzzedChoices choices(data);
  soak::Where.Event = -1;
  // The driver stops once the bytes run out; the bound keeps one input's time small
  // (building the window is much of it, so an input still covers many events).
  soak::TLibrarySoak driver(choices);
  driver.Run(150);
  return 0;
}
