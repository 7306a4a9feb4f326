// The heap in use: the process's allocator (mallinfo2: chunks in use and its own
// mappings) and the host's object memory, which keeps the host's objects apart.
#pragma once

#include <malloc.h>

#include "host/Classes.h"

namespace fmx::bench {

inline double HeapInUse() {
  const struct mallinfo2 m = mallinfo2();
  return static_cast<double>(m.uordblks + m.hblkhd + detail::ObjectMemoryUse().InUse);
}

}  // namespace fmx::bench
