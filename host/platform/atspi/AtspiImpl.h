// The bridge's inside, shared by its sources: the ATK objects that stand for forms and
// controls (AtspiObject.cpp) and the registry of them, the sink and the start
// (AtspiBridge.cpp). Private to host/platform/atspi.
#pragma once

#include <atk/atk.h>

#include <string>
#include <vector>

#include "host/Accessibility.h"
#include "host/Forms.h"

namespace fmx::atspi {

// What one ATK object stands for, and what it last told the bus.
struct TNode {
  enum class TKind { Application, Form, Control };
  TKind Kind = TKind::Control;
  TWeak<TControl> Control;
  TWeak<TCommonCustomForm> Form;
  // The key this node is registered under (the control or form), while registered.
  const void* Key = nullptr;
  // The object that listed this one among its children, by key.
  const void* ParentKey = nullptr;
  bool Defunct = false;
  // Last told: a change is reported only where these differ.
  std::string Name;
  TAccessibleStates States;
  // ATK hands out borrowed strings; they live here until the next ask.
  std::string Description, ActionName, KeyBinding;
};

// The node inside an object made by NewObject.
TNode* NodeOf(AtkObject* Object);
// A new object (one reference, the caller's) for a form, a control or the application.
AtkObject* NewObject(TNode::TKind Kind, TCommonCustomForm* AForm, TControl* AControl);
// The types are registered before the bridge looks its signals up.
void RegisterTypes();

// The registry (AtspiBridge.cpp): one object per control or form, made on first ask,
// dropped when it is freed.
AtkObject* ObjectFor(TControl* AControl);
AtkObject* ObjectFor(TCommonCustomForm* AForm);
AtkObject* ExistingObject(const void* Key);
AtkObject* RootObject();
// The description a node stands for now (an empty one once defunct).
TAccessibleDescription Describe(const TNode& Node);
// The node's children as they are now.
std::vector<AtkObject*> ChildrenOf(AtkObject* Object);

// A shortcut as a control shows it ("Ctrl+S", "Alt + F4") in ATK's key-binding form
// ("<Control>s", "<Alt>F4").
std::string AtkKeyName(const std::string& ShortCut);

}  // namespace fmx::atspi
