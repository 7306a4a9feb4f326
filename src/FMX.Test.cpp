#include "FMX.Test.h"

#include "host/Registry.h"

namespace fmx {

namespace {

const TDeclareClass<TKind, TPresentedControl> KindClass("TKind", [](auto& c) {
  c.Prop("KindName", &TKind::KindName, &TKind::SetKindName, Default(""));
  c.Prop("KindText", &TKind::KindText, &TKind::SetKindText, Default(""));
});

const TDeclareClass<TQVTest, TLayout> TestClass("TQVTest", [](auto& c) {
  DeclareEnum<TTestClass>({"tcName", "tcText"});
  c.Prop("Kind", &TQVTest::Kind, &TQVTest::SetKind, WrittenWhenNotEmpty);
  c.Prop("TestClass", &TQVTest::TestClass, &TQVTest::SetTestClass, AlwaysWritten);
});

}  // namespace

}  // namespace fmx
