// The re-entrancy soak: a form with a title bar and ordinary controls whose handlers
// free their control, its parent, the title bar or the form, or move their control.
#pragma once

#include <cstdint>

namespace fmx::soak {

// Runs Events events of run Run; a failed check ends the process (SoakReport.h).
void RunReentrancySoak(uint64_t Run, long Events);

}  // namespace fmx::soak
