// The class registry, the palette and the published-property lists.
#include <gtest/gtest.h>

#include "HostTestSupport.h"
#include "StreamingProbe.h"
#include "host/Registry.h"
#include "host/Shapes.h"

namespace fmx::testing {

namespace {
class TPaletteA : public TLayout {
 public:
  using TLayout::TLayout;
};
class TPaletteB : public TLayout {
 public:
  using TLayout::TLayout;
};
class TUnregistered : public TLayout {
 public:
  using TLayout::TLayout;
};
class TSubset : public TControl {
 public:
  using TControl::TControl;
};
const TDeclareClass<TPaletteA, TLayout> PaletteAClass("TPaletteA", [](auto&) {});
const TDeclareClass<TPaletteB, TLayout> PaletteBClass("TPaletteB", [](auto&) {});
const TDeclareClass<TUnregistered, TLayout> UnregisteredClass("TUnregistered", [](auto&) {});
const TDeclareClass<TSubset, TControl> SubsetClass("TSubset", [](auto& c) {
  c.Inherit({"Height", "Margins", "Width", "OnClick"});
});

std::vector<std::string> PropNames(TClass C) {
  std::vector<std::string> out;
  for (const auto& p : C->Properties()) out.push_back(p->Name());
  return out;
}
}  // namespace

class Registry : public HeadlessTest {};

TEST_F(Registry, ClassesAreFoundByNameOnlyOnceRegistered) {
  EXPECT_EQ(GetClass("TUnregistered"), nullptr);
  EXPECT_THROW(FindClass("TUnregistered"), EClassNotFound);
  EXPECT_EQ(GetClass("trectangle"), ClassOf<TRectangle>()) << "names compare without case";
  RegisterClass(ClassOf<TPaletteA>());
  RegisterClass(ClassOf<TPaletteA>());  // twice is harmless
  EXPECT_EQ(FindClass("TPaletteA"), ClassOf<TPaletteA>());
  std::unique_ptr<TComponent> made(CreateComponent("TPaletteA", nullptr, true));
  EXPECT_TRUE(dynamic_cast<TPaletteA*>(made.get()));
  EXPECT_TRUE(made->IsDesigning());
  EXPECT_TRUE(made->ComponentState().Contains(TComponentStateItem::csDesigning));
}

TEST_F(Registry, AnotherClassUnderARegisteredNameIsRefused) {
  struct TImpostor : TLayout {
    using TLayout::TLayout;
  };
  TDeclareClass<TImpostor, TLayout>("TRectangle", [](auto&) {});
  EXPECT_THROW(RegisterClass(ClassOf<TImpostor>()), EComponentError);
  EXPECT_EQ(GetClass("TRectangle"), ClassOf<TRectangle>());
}

TEST_F(Registry, PalettePagesAndTheirClassesKeepRegistrationOrder) {
  RegisterComponents("Zeta", {ClassOf<TPaletteB>()});
  RegisterComponents("Alpha", {ClassOf<TPaletteA>()});
  RegisterComponents("Zeta", {ClassOf<TPaletteA>(), ClassOf<TPaletteB>()});
  std::vector<std::string> pages;
  const TPalettePage* zeta = nullptr;
  auto all = PalettePages();
  for (const auto& p : all) {
    pages.push_back(p.Name);
    if (p.Name == "Zeta") zeta = &p;
  }
  auto z = std::find(pages.begin(), pages.end(), "Zeta");
  auto a = std::find(pages.begin(), pages.end(), "Alpha");
  ASSERT_NE(z, pages.end());
  ASSERT_NE(a, pages.end());
  EXPECT_LT(z, a);
  ASSERT_NE(zeta, nullptr);
  ASSERT_EQ(zeta->Classes.size(), 2u);
  EXPECT_EQ(zeta->Classes[0], ClassOf<TPaletteB>());
  EXPECT_EQ(zeta->Classes[1], ClassOf<TPaletteA>());
  EXPECT_EQ(GetClass("TPaletteB"), ClassOf<TPaletteB>()) << "the palette registers its classes";
}

TEST_F(Registry, AClassPublishesOnlyWhatItListsOfItsAncestorsPool) {
  EXPECT_EQ(PropNames(ClassOf<TSubset>()),
            (std::vector<std::string>{"Tag", "StyleName", "Height", "Margins.Left", "Margins.Top",
                                      "Margins.Right", "Margins.Bottom", "Width", "OnClick"}));
  EXPECT_EQ(ClassOf<TSubset>()->FindProperty("Align"), nullptr);
  EXPECT_NE(ClassOf<TRectangle>()->FindProperty("fill.color"), nullptr);
}

TEST_F(Registry, InheritedPropertiesComeFirstAndRedeclarationsKeepTheirPlace) {
  auto names = PropNames(ClassOf<TProbe>());
  auto at = [&](const char* n) { return std::find(names.begin(), names.end(), n) - names.begin(); };
  EXPECT_LT(at("Align"), at("Note"));
  EXPECT_LT(at("Note"), at("Level"));
  // TLayout redeclares HitTest with its own default: same place as TControl's.
  auto layout = PropNames(ClassOf<TLayout>());
  auto control = std::find(layout.begin(), layout.end(), "HitTest") - layout.begin();
  EXPECT_EQ(at("HitTest"), control);
}

TEST_F(Registry, RepublishingSomethingNoAncestorDeclaresIsAnError) {
  struct TOdd : TControl {
    using TControl::TControl;
  };
  TDeclareClass<TOdd, TControl>("TOdd", [](auto& c) { c.Inherit({"NoSuchProperty"}); });
  EXPECT_THROW(ClassOf<TOdd>(), EComponentError);
}

TEST_F(Registry, ClassOfInstanceFallsBackToTheNearestDeclaredAncestor) {
  struct TLocal : TRectangle {
    using TRectangle::TRectangle;
  };
  TLocal local(nullptr);
  EXPECT_EQ(ClassOfInstance(&local), ClassOf<TRectangle>());
  TRectangle plain(nullptr);
  EXPECT_EQ(ClassOfInstance(&plain), ClassOf<TRectangle>());
}

}  // namespace fmx::testing
