// The SDL platform's side of accessibility: real windows are what a screen reader
// reads, so the platform starts the AT-SPI bridge where an accessibility bus runs, and
// while it is active waits for the bridge's work along with the window system's.
#include "SdlImpl.h"

#ifdef ZZ_HAVE_ATSPI
#include "host/platform/atspi/AtspiBridge.h"
#endif

namespace fmx {

void TSdlPlatform::Impl::StartAccessibility() {
#ifdef ZZ_HAVE_ATSPI
  TAtspiBridge::Start();
#endif
}

void TSdlPlatform::Impl::StopAccessibility() {
#ifdef ZZ_HAVE_ATSPI
  TAtspiBridge::Stop();
#endif
}

bool TSdlPlatform::Impl::WaitWithAccessibility(int Fd, int TimeoutMs) {
#ifdef ZZ_HAVE_ATSPI
  if (!TAtspiBridge::Active()) return false;
  TAtspiBridge::Wait(Fd, TimeoutMs);
  return true;
#else
  return false;
#endif
}

void TSdlPlatform::Impl::DispatchAccessibility() {
#ifdef ZZ_HAVE_ATSPI
  if (TAtspiBridge::Active()) TAtspiBridge::DispatchPending();
#endif
}

}  // namespace fmx
