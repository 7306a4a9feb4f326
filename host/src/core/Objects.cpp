#include "host/Objects.h"

#include <algorithm>


namespace fmx {

// --- TBounds / TPosition ----------------------------------------------------------

void TBounds::Set(float ALeft, float ATop, float ARight, float ABottom) {
  ALeft = SanitizeCoord(ALeft);
  ATop = SanitizeCoord(ATop);
  ARight = SanitizeCoord(ARight);
  ABottom = SanitizeCoord(ABottom);
  if (ALeft == FLeft && ATop == FTop && ARight == FRight && ABottom == FBottom) return;
  FLeft = ALeft;
  FTop = ATop;
  FRight = ARight;
  FBottom = ABottom;
  HolderChanged();
}

void TBounds::Assign(TPersistent* Source) {
  if (auto* b = dynamic_cast<TBounds*>(Source)) {
    Set(b->FLeft, b->FTop, b->FRight, b->FBottom);
    return;
  }
  TPersistent::Assign(Source);
}

void TPosition::SetPoint(TPointF P) {
  P.X = SanitizeCoord(P.X);
  P.Y = SanitizeCoord(P.Y);
  if (P.X == FX && P.Y == FY) return;
  FX = P.X;
  FY = P.Y;
  HolderChanged();
}

void TPosition::Assign(TPersistent* Source) {
  if (auto* p = dynamic_cast<TPosition*>(Source)) {
    SetPoint(p->Point());
    return;
  }
  TPersistent::Assign(Source);
}

// --- TFmxObject -------------------------------------------------------------

TFmxObject::TFmxObject(TComponent* AOwner) : TComponent(AOwner) {}

TFmxObject::~TFmxObject() {
  Destroying();
  // Children go with their parent, whoever owns them; their owners hear of it through
  // the usual removal.
  DeleteChildren();
  if (FParent != nullptr) FParent->RemoveObject(this);
}

void TFmxObject::BeforeDestruction() {
  TComponent::BeforeDestruction();
  if (FParent != nullptr) FParent->RemoveObject(this);
}

void TFmxObject::DeleteChildren() {
  // Last first: each removal is then at the end of the list, so a big tree is freed in
  // linear time.
  while (!FChildren.empty()) {
    // The next ones to go, asked for early: each is a cache miss in a big tree.
    if (FChildren.size() > 2) {
      const char* next = reinterpret_cast<const char*>(FChildren[FChildren.size() - 3]);
      __builtin_prefetch(next);
      __builtin_prefetch(next + 64);
      __builtin_prefetch(next + 128);
    }
    TFmxObject* child = FChildren.back();
    RemoveObject(child);
    delete child;
  }
}

void TFmxObject::RenumberChildren(size_t From) {
  for (size_t i = From; i < FChildren.size(); ++i)
    FChildren[i]->FIndexInParent = static_cast<uint32_t>(i);
}

namespace {
const std::string kNoStyleName;

// Takes AObject off its old parent before NewParent adopts it. Leaving lays the old
// parent out, whose handlers may free the object or the new parent: false then, and
// there is nothing left to add.
bool LeaveOldParent(TFmxObject* NewParent, TFmxObject* AObject) {
  TFmxObject* old = AObject->Parent();
  if (old == nullptr) return true;
  TDispatchScope scope;
  old->RemoveObject(AObject);
  // A handler that gave it a parent of its own choosing has the last word.
  return !NewParent->IsDestroying() && !AObject->IsDestroying() && AObject->Parent() == nullptr;
}
}  // namespace

const std::string& TFmxObject::StyleName() const {
  const std::string* name = RareStyleName();
  return name != nullptr ? *name : kNoStyleName;
}

void TFmxObject::SetStyleName(const std::string& Value) {
  if (RareStyleName() != nullptr || !Value.empty()) RareStyleNameForWrite() = Value;
}

bool TFmxObject::IsChildOf(const TFmxObject* Ancestor) const {
  for (const TFmxObject* p = FParent; p != nullptr; p = p->FParent)
    if (p == Ancestor) return true;
  return false;
}

void TFmxObject::SetParent(TFmxObject* Value) {
  if (Value == FParent) return;
  if (Value == this || (Value != nullptr && Value->IsChildOf(this)))
    throw EComponentError("A control cannot become a child of itself or of its own children");
  if (Value != nullptr)
    Value->AddObject(this);
  else if (FParent != nullptr)
    FParent->RemoveObject(this);
}

void TFmxObject::AddObject(TFmxObject* AObject) {
  if (AObject == nullptr || AObject == this) return;
  if (AObject->FParent == this) return;
  if (IsChildOf(AObject))
    throw EComponentError("A control cannot become a child of itself or of its own children");
  if (!LeaveOldParent(this, AObject)) return;
  DoAddObject(AObject);
}

void TFmxObject::InsertObject(int Index, TFmxObject* AObject) {
  if (AObject == nullptr || AObject == this) return;
  if (IsChildOf(AObject))
    throw EComponentError("A control cannot become a child of itself or of its own children");
  if (!LeaveOldParent(this, AObject)) return;
  DoInsertObject(Index, AObject);
}

void TFmxObject::RemoveObject(TFmxObject* AObject) {
  if (AObject == nullptr || AObject->FParent != this) return;
  DoRemoveObject(AObject);
}

void TFmxObject::DoAddObject(TFmxObject* AObject) { DoInsertObject(ChildrenCount(), AObject); }

void TFmxObject::DoInsertObject(int Index, TFmxObject* AObject) {
  if (AObject->FParent == this) return;
  Index = std::clamp(Index, 0, ChildrenCount());
  // A parent of more than one child mostly holds a few: room for four with the second
  // saves a growth step, and a parent of one child keeps a list of one.
  if (FChildren.size() == 1 && FChildren.capacity() == 1) FChildren.reserve(4);
  FChildren.insert(FChildren.begin() + Index, AObject);
  RenumberChildren(static_cast<size_t>(Index));
  AObject->FParent = this;
  // The newcomer's ParentChanged may run application code that frees this parent.
  TDispatchScope scope;
  AObject->ParentChanged();
  NotifyTreeChanged();
}

void TFmxObject::DoRemoveObject(TFmxObject* AObject) {
  if (AObject->FParent != this) return;
  TDispatchScope scope;
  // While this object is being freed its whole subtree goes: nobody can be hovering
  // or capturing in it any more (those links read null already), so the root is told
  // once, when this object itself leaves.
  if (!IsDestroying()) {
    // The root must forget the object (hover, capture) while the chain still leads to it.
    // Forgetting the hovered control tells it the mouse left, and that handler may free
    // this parent or the object, or move the object: each of those takes it off here.
    if (IRoot* root = Root()) {
      root->ControlRemovedFromTree(AObject);
      root->TreeChanged();
    }
  }
  if (AObject->FParent != this) return;
  const size_t at = AObject->FIndexInParent;
  if (at >= FChildren.size() || FChildren[at] != AObject) return;
  FChildren.erase(FChildren.begin() + static_cast<std::ptrdiff_t>(at));
  RenumberChildren(at);
  AObject->FParent = nullptr;
  if (!AObject->IsDestroying()) AObject->ParentChanged();
}

void TFmxObject::BringToFront() {
  if (FParent == nullptr) return;
  auto& siblings = FParent->FChildren;
  const size_t at = FIndexInParent;
  if (at + 1 >= siblings.size()) return;
  siblings.erase(siblings.begin() + static_cast<std::ptrdiff_t>(at));
  siblings.push_back(this);
  FParent->RenumberChildren(at);
  ZOrderChanged(at);
  // The new order lays the parent out, whose handlers may free it (and this).
  TDispatchScope scope;
  TFmxObject* parent = FParent;
  parent->ChildrenChanged();
  parent->NotifyTreeChanged();
}

void TFmxObject::SendToBack() {
  if (FParent == nullptr) return;
  auto& siblings = FParent->FChildren;
  const size_t at = FIndexInParent;
  if (at == 0 || at >= siblings.size()) return;
  siblings.erase(siblings.begin() + static_cast<std::ptrdiff_t>(at));
  siblings.insert(siblings.begin(), this);
  FParent->RenumberChildren(0);
  ZOrderChanged(at);
  // The new order lays the parent out, whose handlers may free it (and this).
  TDispatchScope scope;
  TFmxObject* parent = FParent;
  parent->ChildrenChanged();
  parent->NotifyTreeChanged();
}

TFmxObject* TFmxObject::FindStyleResource(const std::string& AStyleLookup) const {
  if (AStyleLookup.empty()) return nullptr;
  std::string wanted = LowerCase(AStyleLookup);
  for (TFmxObject* child : FChildren) {
    const std::string* name = child->RareStyleName();
    if (name != nullptr && !name->empty() && LowerCase(*name) == wanted) return child;
  }
  for (TFmxObject* child : FChildren) {
    if (TFmxObject* found = child->FindStyleResource(AStyleLookup)) return found;
  }
  return nullptr;
}

IRoot* TFmxObject::Root() const {
  const TFmxObject* top = this;
  while (top->FParent != nullptr) top = top->FParent;
  return const_cast<TFmxObject*>(top)->AsRoot();
}

void TFmxObject::NotifyTreeChanged() const {
  if (IRoot* root = Root()) root->TreeChanged();
}

}  // namespace fmx
