// Sample classes: a presented control and a layout that only store their properties.
// They are declared for stored forms but registered nowhere: an application that
// stores them registers them itself.
#pragma once

#include <string>

#include "host/Controls.h"
#include "host/StdCtrls.h"

namespace fmx {

/// Which property of a TKind a TQVTest is about: its name or its text.
enum class TTestClass { tcName, tcText };

/// A sample control that only stores its properties (KindName, KindText).
class TKind : public TPresentedControl {
 public:
  TKind() : TKind(nullptr) {}
  /// Creates the control, owned by AOwner.
  explicit TKind(TComponent* AOwner) : TPresentedControl(AOwner) {}
  ~TKind() override = default;

  /// A stored name.
  const std::string& KindName() const { return FKindName; }
  /// Sets KindName.
  void SetKindName(const std::string& Value) { FKindName = Value; }
  /// A stored text.
  const std::string& KindText() const { return FKindText; }
  /// Sets KindText.
  void SetKindText(const std::string& Value) { FKindText = Value; }

 private:
  std::string FKindName;
  std::string FKindText;
};

/// A sample layout that only stores its properties: a TTestClass and a link to a TKind.
class TQVTest : public TLayout {
 public:
  TQVTest() : TQVTest(nullptr) {}
  /// Creates the layout, owned by AOwner.
  explicit TQVTest(TComponent* AOwner) : TLayout(AOwner) {}
  ~TQVTest() override = default;

  /// Which of the TKind's properties the sample is about.
  TTestClass TestClass() const { return FTestClass; }
  /// Sets TestClass.
  void SetTestClass(TTestClass Value) { FTestClass = Value; }
  // Neither owned nor kept alive: reads nullptr once that TKind is freed.
  TKind* Kind() const { return FKind.Get(); }
  /// Links a TKind (neither owned nor kept alive).
  void SetKind(TKind* Value) { FKind = Value; }

 private:
  TTestClass FTestClass = TTestClass::tcName;
  TWeak<TKind> FKind;
};

}  // namespace fmx
