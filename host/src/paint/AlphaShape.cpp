#include "host/AlphaShape.h"

#include <algorithm>

#include "host/Canvas.h"

namespace fmx {

void TAlphaShape::Reset(int Width, int Height) {
  FWidth = std::max(0, Width);
  FHeight = std::max(0, Height);
  FRows.assign(static_cast<size_t>(FHeight), {});
  FEdge.assign(static_cast<size_t>(FHeight), 0);
  FFullRows = 0;
}

bool TAlphaShape::Update(const TCanvas& Canvas, int Top, int Bottom) {
  const int w = std::min(FWidth, Canvas.Width());
  Top = std::max(Top, 0);
  Bottom = std::min({Bottom, FHeight, Canvas.Height()});
  const auto* bits = reinterpret_cast<const uint8_t*>(Canvas.Bits());
  bool changed = false;
  TSpans spans;
  for (int y = Top; y < Bottom; ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(bits + static_cast<size_t>(y) * Canvas.Stride());
    spans.clear();
    bool edge = false;
    int x = 0;
    while (x < w) {
      // Most rows are one opaque run: skip it in one tight loop.
      const int from = x;
      while (x < w && (row[x] >> 24) == 0xFF) ++x;
      while (x < w && (row[x] >> 24) >= Threshold) {
        edge |= (row[x] >> 24) != 0xFF;
        ++x;
        while (x < w && (row[x] >> 24) == 0xFF) ++x;
      }
      if (x > from) {
        spans.emplace_back(from, x);
        continue;
      }
      edge |= row[x] != 0;
      ++x;
      while (x < w && (row[x] >> 24) < Threshold) {
        edge |= row[x] != 0;
        ++x;
      }
    }
    TSpans& kept = FRows[static_cast<size_t>(y)];
    FEdge[static_cast<size_t>(y)] = edge ? 1 : 0;
    if (spans == kept) continue;
    const auto full = [this](const TSpans& S) {
      return S.size() == 1 && S[0].first == 0 && S[0].second == FWidth;
    };
    FFullRows += (full(spans) ? 1 : 0) - (full(kept) ? 1 : 0);
    kept = spans;
    changed = true;
  }
  return changed;
}

std::vector<TRect> TAlphaShape::Rectangles() const {
  std::vector<TRect> out;
  int y = 0;
  while (y < FHeight) {
    const TSpans& band = FRows[static_cast<size_t>(y)];
    int end = y + 1;
    while (end < FHeight && FRows[static_cast<size_t>(end)] == band) ++end;
    for (const auto& [from, to] : band) out.push_back({from, y, to, end});
    y = end;
  }
  return out;
}

std::vector<TRect> TAlphaShape::WindowShape() const {
  if (Full()) return {};
  std::vector<TRect> rects = Rectangles();
  if (rects.size() > MaxRectangles) rects.clear();
  return rects;
}

void TAlphaShape::OpaqueEdges(const uint32_t* Src, uint32_t* Dst, int Count, uint32_t From) {
  From = std::max<uint32_t>(From, 1);
  for (int i = 0; i < Count; ++i) {
    const uint32_t p = Src[i], a = p >> 24;
    if (a == 0xFF) {
      Dst[i] = p;
    } else if (a < From) {
      Dst[i] = 0;
    } else {
      const auto channel = [p, a](int Shift) {
        return std::min<uint32_t>(0xFF, (((p >> Shift) & 0xFF) * 0xFF + a / 2) / a) << Shift;
      };
      Dst[i] = 0xFF000000u | channel(16) | channel(8) | channel(0);
    }
  }
}

}  // namespace fmx
