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

// Painted frames so far: a cache entry used in this frame or the last one is part of
// what the screen shows and is not dropped for a newcomer.
uint64_t Generation();
// A form finished painting a frame.
void FrameDone();

// A map from shaping keys to values, dropping the least recently used entry when
// full. The capacity is a floor, not a cliff: while the least recently used entry is
// still on screen (used in this or the last frame) the cache grows instead, and it
// sheds entries nobody draws any more as new ones come. Lookups take a view and
// allocate nothing.
template <class V>
class LruCache {
 public:
  using Disposer = void (*)(V&);
  LruCache(size_t ACapacity, Disposer ADispose)
      : FCapacity(ACapacity), FFloor(ACapacity), FDispose(ADispose) {}
  ~LruCache() { Clear(); }
  LruCache(const LruCache&) = delete;
  LruCache& operator=(const LruCache&) = delete;

  V* Find(const KeyView& K) {
    auto It = FIndex.find(K);
    if (It == FIndex.end()) return nullptr;
    if (It->second != FEntries.begin()) FEntries.splice(FEntries.begin(), FEntries, It->second);
    It->second->Used = Generation();
    return &It->second->Value;
  }

  V& Insert(const KeyView& K, V Value) {
    const uint64_t now = Generation();
    auto stale = [now](const Entry& E) { return E.Used + 1 < now; };
    if (FEntries.size() >= FCapacity && !FEntries.empty()) {
      if (stale(FEntries.back()))
        DropLast();
      else
        FCapacity *= 2;  // everything is on screen: make room rather than thrash
    }
    // Shrink back towards the floor, one stale entry per newcomer.
    if (FEntries.size() > FFloor && !FEntries.empty() && stale(FEntries.back())) {
      DropLast();
      if (FCapacity > FFloor && FEntries.size() < FCapacity / 4) FCapacity /= 2;
    }
    FEntries.push_front(Entry{std::string(K.Family), K.Size, K.Style, std::string(K.Text), K.Width,
                              K.Flags, now, std::move(Value)});
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
  size_t Capacity() const { return FCapacity; }

 private:
  void DropLast() {
    Entry& Last = FEntries.back();
    FIndex.erase(Last.View());
    if (FDispose) FDispose(Last.Value);
    FEntries.pop_back();
  }
  struct Entry {
    std::string Family;
    float Size;
    uint64_t Style;
    std::string Text;
    int Width;
    uint8_t Flags;
    uint64_t Used;
    V Value;
    // The list node never moves, so views into its strings stay valid.
    KeyView View() const { return {Family, Size, Style, Text, Width, Flags}; }
  };
  size_t FCapacity;
  size_t FFloor;
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
