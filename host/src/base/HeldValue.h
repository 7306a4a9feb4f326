// Value objects held as members (a control's position, margins, brushes, text settings,
// path, picture) tell their holder of a change through their place in it, not through
// a stored handler: a control holds several, and a handler costs each 16 to 32 bytes.
#pragma once

#include <cstddef>

namespace fmx {

// The holder of the member at Member, given offsetof(Holder, Field). The holders are not
// standard-layout classes; GCC and Clang give offsetof for any class without virtual
// bases, which is every class of this host (the host is built with the warning off).
template <class Holder>
Holder* HolderAt(void* Member, std::size_t Offset) {
  return reinterpret_cast<Holder*>(static_cast<char*>(Member) - Offset);
}
template <class Holder>
const Holder* HolderAt(const void* Member, std::size_t Offset) {
  return reinterpret_cast<const Holder*>(static_cast<const char*>(Member) - Offset);
}

}  // namespace fmx
