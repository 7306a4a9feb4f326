// The ZUZided package: what loading it registers, its description, and the sample classes.
#include <gtest/gtest.h>

#include <algorithm>

#include "FMX.QVConstrainedForm.h"
#include "FMX.QVTitleBar.h"
#include "FMX.Test.h"
#include "HostTestSupport.h"
#include "ZUZided.h"
#include "host/Packages.h"
#include "host/Registry.h"
#include "host/Streaming.h"

using namespace fmx;

namespace {

class Package : public fmx::testing::HeadlessTest {};

std::vector<std::string> PageClasses(const std::string& Name) {
  std::vector<std::string> names;
  for (const TPalettePage& page : PalettePages())
    if (page.Name == Name)
      for (TClass c : page.Classes) names.push_back(c->ClassName());
  return names;
}

}  // namespace

TEST_F(Package, LoadingPutsTheControlsOnQVCtrlAndTheFormInTheRegistryAndNothingElse) {
  LoadPackage(ZUZided::Package());
  LoadPackage(ZUZided::Package());  // again: nothing doubles
  EXPECT_EQ(PageClasses("QVCtrl"),
            (std::vector<std::string>{"TQVTitleBar", "TQVMenuButton", "TQVMenuBar"}));
  EXPECT_EQ(GetClass("TQVConstrainedForm"), ClassOf<TQVConstrainedForm>());
  EXPECT_EQ(GetClass("TQVTitleBar"), ClassOf<TQVTitleBar>());
  for (const TPalettePage& page : PalettePages())
    for (TClass c : page.Classes) EXPECT_NE(c, ClassOf<TQVConstrainedForm>()) << page.Name;
  EXPECT_EQ(GetClass("TQVTest"), nullptr);
  EXPECT_EQ(GetClass("TKind"), nullptr);
  const std::vector<std::string> loaded = LoadedPackages();
  EXPECT_EQ(std::count(loaded.begin(), loaded.end(), "ZUZided"), 1);
}

TEST_F(Package, AfterOneCallAnApplicationReadsStoredFormsWithTheLibrarysClasses) {
  ZUZided::Register();
  TQVConstrainedForm form(nullptr);
  form.SetName("AppForm");
  form.SetTransparency(true);
  auto* bar = new TQVTitleBar(&form);
  bar->SetName("Bar");
  bar->SetParent(&form);
  bar->SetCaption("stored");
  std::unique_ptr<TComponent> copy(ReadComponentFromText(WriteComponentToText(&form), nullptr));
  auto* loaded = dynamic_cast<TQVTitleBar*>(copy->FindComponent("Bar"));
  ASSERT_NE(loaded, nullptr);
  EXPECT_EQ(loaded->Caption(), "stored");
}

TEST_F(Package, TheSampleLayoutsKindIsAWeakReference) {
  TQVTest test;
  EXPECT_EQ(test.Owner(), nullptr);
  EXPECT_EQ(test.Kind(), nullptr);
  EXPECT_EQ(test.TestClass(), TTestClass::tcName);
  auto* kind = new TKind;
  kind->SetKindName("name");
  test.SetKind(kind);
  EXPECT_EQ(test.Kind(), kind);
  delete kind;  // neither owned nor kept alive by the layout
  EXPECT_EQ(test.Kind(), nullptr);
}
