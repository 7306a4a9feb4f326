// Private to the host: the one Pango context that both drawing and measuring use, so
// a text measures exactly as wide as it draws, and the caches that keep shaping
// off the per-frame path. UI thread only.
#pragma once

#include <pango/pangocairo.h>

#include <list>
#include <string>
#include <string_view>
#include <unordered_map>

#include "host/Graphics.h"

namespace fmx::text {

// Everything that changes how a text is shaped.
struct KeyView {
  std::string_view Family;
  float Size;
  uint64_t Style;
  std::string_view Text;
  int Width;      // Pango units, -1 for no limit
  uint8_t Flags;  // wrap and alignment bits
  bool operator==(const KeyView&) const = default;
};

struct KeyHash {
  size_t operator()(const KeyView& K) const noexcept;
};

// A bounded map from shaping keys to values, dropping the least recently used entry
// when full. Lookups take a view and allocate nothing.
template <class V>
class LruCache {
 public:
  using Disposer = void (*)(V&);
  LruCache(size_t ACapacity, Disposer ADispose) : FCapacity(ACapacity), FDispose(ADispose) {}
  ~LruCache() { Clear(); }
  LruCache(const LruCache&) = delete;
  LruCache& operator=(const LruCache&) = delete;

  V* Find(const KeyView& K) {
    auto It = FIndex.find(K);
    if (It == FIndex.end()) return nullptr;
    if (It->second != FEntries.begin()) FEntries.splice(FEntries.begin(), FEntries, It->second);
    return &It->second->Value;
  }

  V& Insert(const KeyView& K, V Value) {
    if (FEntries.size() >= FCapacity && !FEntries.empty()) {
      Entry& Last = FEntries.back();
      FIndex.erase(Last.View());
      if (FDispose) FDispose(Last.Value);
      FEntries.pop_back();
    }
    FEntries.push_front(Entry{std::string(K.Family), K.Size, K.Style, std::string(K.Text), K.Width,
                              K.Flags, std::move(Value)});
    FIndex.emplace(FEntries.front().View(), FEntries.begin());
    return FEntries.front().Value;
  }

  void Clear() {
    FIndex.clear();
    if (FDispose)
      for (Entry& E : FEntries) FDispose(E.Value);
    FEntries.clear();
  }
  size_t Size() const { return FEntries.size(); }

 private:
  struct Entry {
    std::string Family;
    float Size;
    uint64_t Style;
    std::string Text;
    int Width;
    uint8_t Flags;
    V Value;
    // The list node never moves, so views into its strings stay valid.
    KeyView View() const { return {Family, Size, Style, Text, Width, Flags}; }
  };
  size_t FCapacity;
  Disposer FDispose;
  std::list<Entry> FEntries;
  std::unordered_map<KeyView, typename std::list<Entry>::iterator, KeyHash> FIndex;
};

// The shared context: absolute pixel font sizes, no hinted metrics.
PangoContext* Context();

// A shaped layout with its logical rectangle (pixels, relative to the layout origin).
struct Shaped {
  PangoLayout* Layout = nullptr;
  float X = 0, Y = 0, W = 0, H = 0;
};

// Holds a reference for as long as the caller draws with the layout.
class LayoutRef {
 public:
  explicit LayoutRef(const Shaped& S) : FShaped(S) { g_object_ref(FShaped.Layout); }
  ~LayoutRef() { g_object_unref(FShaped.Layout); }
  LayoutRef(const LayoutRef&) = delete;
  LayoutRef& operator=(const LayoutRef&) = delete;
  const Shaped& operator*() const { return FShaped; }
  const Shaped* operator->() const { return &FShaped; }

 private:
  Shaped FShaped;
};

// A layout for drawing, from the process-wide LRU. Width < 0 means no limit (no
// wrapping); with a limit and Wrap the text wraps at words (and inside words that
// do not fit).
LayoutRef AcquireLayout(const TFont& Font, std::string_view Text, float Width, bool Wrap,
                        TTextAlign Align);

// The logical size of a text, from the measurement cache.
TSizeF Measure(const TFont& Font, std::string_view Text, float Width, bool Wrap);

// Drops every cached layout and measurement (tests and memory pressure).
void ClearCaches();

}  // namespace fmx::text
