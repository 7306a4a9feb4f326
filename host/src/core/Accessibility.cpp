// Descriptions for screen readers: the defaults of the host's controls and forms.
#include "host/Accessibility.h"

#include "host/Forms.h"

namespace fmx {

namespace {

// The control that answers for AControl as a private part: its owner, when a control.
TControl* PartOwner(const TControl* AControl) {
  return dynamic_cast<TControl*>(AControl->Owner());
}

}  // namespace

void TAccessibility::Tell(TControl* AControl, TAccessibleEvent AEvent) {
  if (AEvent == TAccessibleEvent::Destroyed || !AControl->IsDestroying())
    FSink->ControlChanged(AControl, AEvent);
}

void TAccessibility::Tell(TCommonCustomForm* AForm, TAccessibleEvent AEvent) {
  if (AEvent == TAccessibleEvent::Destroyed || !AForm->IsDestroying())
    FSink->FormChanged(AForm, AEvent);
}

void FillAccessibleStates(const TControl* AControl, TAccessibleStates& States) {
  States.Visible = AControl->Visible();
  TCommonCustomForm* form = AControl->ParentForm();
  States.Showing = AControl->ParentedVisible() && form != nullptr && form->Visible();
  States.Enabled = AControl->AbsoluteEnabled();
  States.Focusable = AControl->CanFocus();
  States.Focused = AControl->IsFocused();
}

void AddExposedChildren(const TFmxObject* AParent, std::vector<TControl*>& Out) {
  for (TFmxObject* child : AParent->ChildrenList()) {
    TControl* c = child->AsControl();
    if (c == nullptr || c->IsDestroying()) continue;
    if (DescribeAccessible(c).Role != TAccessibleRole::None)
      Out.push_back(c);
    else
      c->AccessibleChildren(Out);
  }
}

void TControl::DescribeAccessible(TAccessibleDescription& D) const {
  FillAccessibleStates(this, D.States);
  if (FRare != nullptr) D.Description = FRare->Hint;
}

void TControl::AccessibleChildren(std::vector<TControl*>& Out) const { AddExposedChildren(this, Out); }

TAccessibleDescription DescribeAccessible(const TControl* AControl) {
  TAccessibleDescription d;
  if (TControl* owner = PartOwner(AControl)) {
    FillAccessibleStates(AControl, d.States);
    if (owner->DescribeAccessiblePart(AControl, d)) return d;
    // A part its owner does not speak for is decoration (a face, a glyph, a strip).
    if (!AControl->Stored()) {
      d.Role = TAccessibleRole::None;
      return d;
    }
    d = {};
  }
  AControl->DescribeAccessible(d);
  return d;
}

std::vector<TControl*> AccessibleChildren(const TControl* AControl) {
  std::vector<TControl*> out;
  AControl->AccessibleChildren(out);
  return out;
}

bool DoAccessibleAction(TControl* AControl, int Index) {
  if (TControl* owner = PartOwner(AControl))
    if (owner->DoAccessiblePartAction(AControl, Index)) return true;
  return AControl->DoAccessibleAction(Index);
}

TAccessibleDescription DescribeAccessible(const TCommonCustomForm* AForm) {
  TAccessibleDescription d;
  d.Role = TAccessibleRole::Frame;
  d.Name = AForm->Caption();
  d.States.Visible = d.States.Showing = AForm->Visible();
  d.States.Enabled = true;
  d.States.Active = AForm->Active();
  for (TFmxObject* child : AForm->ChildrenList())
    if (TControl* c = child->AsControl()) c->DescribeAccessibleForm(d);
  return d;
}

std::vector<TControl*> AccessibleChildren(const TCommonCustomForm* AForm) {
  std::vector<TControl*> out;
  AddExposedChildren(AForm, out);
  return out;
}

// --- the host's own controls ----------------------------------------------------------

}  // namespace fmx
