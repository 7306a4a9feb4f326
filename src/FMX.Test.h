// Sample classes: a presented control and a layout that only store their properties.
// They are declared for stored forms but registered nowhere: an application that
// stores them registers them itself.
#pragma once

#include <string>

#include "host/Controls.h"
#include "host/StdCtrls.h"

namespace fmx {

enum class TTestClass { tcName, tcText };

class TKind : public TPresentedControl {
 public:
  TKind() : TKind(nullptr) {}
  explicit TKind(TComponent* AOwner) : TPresentedControl(AOwner) {}
  ~TKind() override = default;

  const std::string& KindName() const { return FKindName; }
  void SetKindName(const std::string& Value) { FKindName = Value; }
  const std::string& KindText() const { return FKindText; }
  void SetKindText(const std::string& Value) { FKindText = Value; }

 private:
  std::string FKindName;
  std::string FKindText;
};

class TQVTest : public TLayout {
 public:
  TQVTest() : TQVTest(nullptr) {}
  explicit TQVTest(TComponent* AOwner) : TLayout(AOwner) {}
  ~TQVTest() override = default;

  TTestClass TestClass() const { return FTestClass; }
  void SetTestClass(TTestClass Value) { FTestClass = Value; }
  // Neither owned nor kept alive: reads nullptr once that TKind is freed.
  TKind* Kind() const { return FKind.Get(); }
  void SetKind(TKind* Value) { FKind = Value; }

 private:
  TTestClass FTestClass = TTestClass::tcName;
  TWeak<TKind> FKind;
};

}  // namespace fmx
