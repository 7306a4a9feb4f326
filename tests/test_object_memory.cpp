#include <gtest/gtest.h>

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
TEST(ObjectMemory, PlacesAreDistinctWhileLivingAndComeBackWhenFreed) {
  THeadlessPlatform::Install();
  const size_t before = detail::ObjectMemoryUse().InUse;
  {
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
  }
  EXPECT_EQ(detail::ObjectMemoryUse().InUse, before);
}
