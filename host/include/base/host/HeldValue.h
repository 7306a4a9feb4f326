// Value objects held as members (a control's position, margins, brushes, text settings,
// path, picture) tell their holder of every change by one means: the value keeps a
// pointer to its holder and the holder's method to call, fixed by its type. A stored
// handler would cost each value 32 bytes; a control holds several.
#pragma once

#include <memory>
#include <type_traits>
#include <utility>

#include "host/Classes.h"

namespace fmx {

/// A value held as a member of Holder: each change of it runs (holder->*Tell)().
// Value is one of the host's value classes, which call the virtual HolderChanged after
// every change.
template <class Value, class Holder, void (Holder::*Tell)()>
class THeld : public Value {
 public:
  template <class... A>
  explicit THeld(Holder* AHolder, A&&... Args)
      : Value(std::forward<A>(Args)...), FHolder(AHolder) {}

 protected:
  void HolderChanged() override { (FHolder->*Tell)(); }
  Holder* FHolder;
};

/// A held value with a handler of its own, silent once its holder is going.
// (Brushes, fonts, text settings, pictures.)
template <class Value, class Holder, void (Holder::*Tell)()>
class THeldNotifier final : public THeld<Value, Holder, Tell> {
 public:
  using THeld<Value, Holder, Tell>::THeld;

 private:
  bool HolderGoing() const override { return this->FHolder->IsDestroying(); }
};

/// A held value made when first asked for, freed with its holder at once. Its holder's
/// own freeing is already put off to the end of a dispatch; the value's delete would put
/// it off once more, behind the holder it points to.
struct TFreeHeldValue {
  template <class T>
  void operator()(T* Value) const {
    static_assert(std::is_final_v<T>, "the value's address is where its place starts");
    Value->~T();
    detail::FreeObject(Value);
  }
};
template <class T>
using THeldPtr = std::unique_ptr<T, TFreeHeldValue>;

}  // namespace fmx
