#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "host/Controls.h"
#include "host/Forms.h"
#include "host/Shapes.h"
#include "host/StdCtrls.h"
#include "host/platform/headless/Headless.h"

using namespace fmx;

namespace {
struct TThrowingControl : TControl {
  explicit TThrowingControl(TComponent* AOwner) : TControl(AOwner) { throw std::runtime_error("refused"); }
};
struct TBigControl : TControl {
  using TControl::TControl;
  char Payload[4096] = {};
};
}  // namespace

// The host's objects share blocks by size: every object keeps its own place while it
// lives, places come back when objects go (a lone part freed by the application, a
// whole tree, a constructor that throws), and objects too big for the blocks live
// beside them. Under AddressSanitizer objects come from the allocator and the figures
// read zero.
// (What the host keeps for the process, its pool of life tokens and its free queue,
// grows in the first round; a second, the same, must end where it began.)
TEST(ObjectMemory, PlacesAreDistinctWhileLivingAndComeBackWhenFreed) {
  THeadlessPlatform::Install();
  auto round = [] {
    TForm form(nullptr);
    std::vector<TControl*> made;
    for (int i = 0; i < 3000; ++i) {
      TControl* c = i % 3 == 0 ? static_cast<TControl*>(new TLabel(&form))
                    : i % 3 == 1 ? static_cast<TControl*>(new TPath(&form))
                                 : static_cast<TControl*>(new TBigControl(&form));
      TFmxObject* parent = i % 2 != 0 || made.empty() ? static_cast<TFmxObject*>(&form) : made.back();
      c->SetParent(parent);
      c->Margins()->Set(1, 2, 3, 4);
      c->SetTag(i);
      made.push_back(c);
    }
    for (size_t i = 0; i < made.size(); ++i) EXPECT_EQ(made[i]->Tag(), static_cast<intptr_t>(i));
    // A part freed on its own, then its place taken by a new object of the same kind.
    auto* lone = static_cast<TLabel*>(made[3]);
    TWeak<TControl> child(made[4]);
    delete lone;
    EXPECT_EQ(child.Get(), nullptr);  // its child went with it
    auto* again = new TLabel(&form);
    again->SetText("again");
    EXPECT_EQ(made[0]->Tag(), 0);
    EXPECT_EQ(made[6]->Tag(), 6);
    EXPECT_THROW(new TThrowingControl(&form), std::runtime_error);
    EXPECT_EQ(form.ComponentCount(), 2999);
  };
  round();
  const size_t before = detail::ObjectMemoryUse().InUse;
  round();
  EXPECT_EQ(detail::ObjectMemoryUse().InUse, before);
}

// Lists that grow with a tree take sizes past the objects' (in powers of two, up to a
// run of the blocks, then the process's allocator): each place holds its whole size,
// apart from every other, and all of it comes back.
TEST(ObjectMemory, ListSizesAtEachBoundaryKeepTheirWholePlace) {
  const size_t before = detail::ObjectMemoryUse().InUse;
  std::vector<std::pair<unsigned char*, size_t>> places;
  for (size_t size : {size_t{1024}, size_t{1025}, size_t{2048}, size_t{2049}, size_t{40000},
                      size_t{65535}, size_t{65536}, size_t{65537}, size_t{300000}}) {
    // Enough whole runs to start a block, where the first run holds the block's header.
    const int copies = size == 65536 ? 33 : 3;
    for (int copy = 0; copy < copies; ++copy) {
      auto* p = static_cast<unsigned char*>(detail::AllocateObject(size));
      std::fill(p, p + size, static_cast<unsigned char>(places.size()));
      places.emplace_back(p, size);
    }
  }
  for (size_t i = 0; i < places.size(); ++i) {
    const auto [p, size] = places[i];
    EXPECT_EQ(std::count(p, p + size, static_cast<unsigned char>(i)), static_cast<std::ptrdiff_t>(size)) << i;
  }
  for (const auto& [p, size] : places) detail::FreeObject(p);
  EXPECT_EQ(detail::ObjectMemoryUse().InUse, before);
  // A place given back is taken again by the next list of its size.
  void* first = detail::AllocateObject(4096);
  detail::FreeObject(first);
  void* second = detail::AllocateObject(3000);
  detail::FreeObject(second);
  if (detail::ObjectMemoryUse().Mapped > 0) EXPECT_EQ(first, second);  // not under a sanitizer
}
