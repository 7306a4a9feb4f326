// Feeds arbitrary bytes to the path-data parser, and draws whatever it accepts.
#include <cstdint>
#include <string>

#include "host/Canvas.h"
#include "host/Graphics.h"

using namespace fmx;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  const std::string text(reinterpret_cast<const char*>(Data), Size);
  TPathData path;
  try {
    path.SetData(text);
  } catch (const EPathDataError&) {
    // Refused input must leave the path as it was: empty.
    if (!path.IsEmpty() || !path.Data().empty()) __builtin_trap();
    return 0;
  }
  static TCanvas canvas(16, 16);
  TBrush fill(TBrushKind::Solid, 0xFF000000);
  TStrokeBrush stroke(TBrushKind::Solid, 0xFF000000);
  canvas.FillPath(path, {0, 0, 16, 16}, true, 1.0f, fill);
  canvas.DrawPath(path, {0, 0, 16, 16}, false, 1.0f, stroke);
  return 0;
}
