// Feeds arbitrary bytes to the PNG loader. A picture it accepts must save and load
// again to the same size; a refused one must leave the bitmap as it was.
#include <cstdint>
#include <vector>

#include "host/Graphics.h"

using namespace fmx;

namespace {
// Pictures up to the loader's limit are legal but a gigabyte each; the fuzzer learns
// nothing from them that small ones do not show, so it skips them.
bool ClaimsHugePicture(const uint8_t* Data, size_t Size) {
  if (Size < 24) return false;
  auto be32 = [&](size_t at) {
    return uint32_t{Data[at]} << 24 | uint32_t{Data[at + 1]} << 16 | uint32_t{Data[at + 2]} << 8 |
           uint32_t{Data[at + 3]};
  };
  return be32(16) > 2048 || be32(20) > 2048;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  if (ClaimsHugePicture(Data, Size)) return 0;
  const std::vector<uint8_t> bytes(Data, Data + Size);
  TBitmap bitmap(2, 3);
  try {
    bitmap.LoadFromPngBytes(bytes);
  } catch (const EBitmapError&) {
    if (bitmap.Width() != 2 || bitmap.Height() != 3) __builtin_trap();
    return 0;
  }
  TBitmap again;
  again.LoadFromPngBytes(bitmap.SaveToPngBytes());
  if (again.Width() != bitmap.Width() || again.Height() != bitmap.Height()) __builtin_trap();
  return 0;
}
