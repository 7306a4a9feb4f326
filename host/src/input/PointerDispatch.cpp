#include "host/PointerDispatch.h"

#include "host/Forms.h"

namespace fmx {

// Each handler below may free controls or the form. A dispatch scope keeps what it
// frees readable to the end; links read null at once, and a freed form has no
// children and hears nothing, so what follows a handler goes on without asking.

void TPointerDispatch::UpdateHovered(TCommonCustomForm* Form, TPointF P) {
  TControl* now = Form->ObjectAtPoint(P);
  if (now == Form->Hovered()) return;
  TDispatchScope scope;
  TControl* old = Form->Hovered();
  Form->SetHovered(now);
  if (old != nullptr) old->DoMouseLeave();
  if (Form->Hovered() != nullptr && Form->Hovered() == now) now->DoMouseEnter();
}

void TPointerDispatch::Move(TCommonCustomForm* Form, TShiftState Shift, TPointF P) {
  TDispatchScope scope;
  if (Form->Captured() == nullptr) UpdateHovered(Form, P);
  TControl* target = Form->Captured() != nullptr ? Form->Captured() : Form->Hovered();
  if (target != nullptr) {
    const TPointF local = target->AbsoluteToLocal(P);
    target->MouseMove(Shift, local.X, local.Y);
  } else {
    Form->FormMouseMove(Shift, P.X, P.Y);
  }
}

void TPointerDispatch::Down(TCommonCustomForm* Form, TMouseButton Button, TShiftState Shift,
                            TPointF P) {
  TDispatchScope scope;
  if (Form->Captured() == nullptr) UpdateHovered(Form, P);
  // A form being freed has no previews left.
  if (Form->HasMousePreviews()) {
    if (!Form->PreviewMouseDown(Button, Shift, P.X, P.Y)) return;
    // What a preview closed may have lain under the mouse.
    if (Form->Captured() == nullptr) UpdateHovered(Form, P);
  }
  TControl* target = Form->Captured() != nullptr ? Form->Captured() : Form->Hovered();
  FPressed = target;
  if (target == nullptr) {
    Form->FormMouseDown(Button, Shift, P.X, P.Y);
    return;
  }
  FPressedDouble = Shift.Contains(TShiftStateItem::ssDouble);
  if (target->AutoCapture()) Form->SetCaptured(target);
  const TPointF local = target->AbsoluteToLocal(P);
  target->MouseDown(Button, Shift, local.X, local.Y);
}

void TPointerDispatch::Up(TCommonCustomForm* Form, TMouseButton Button, TShiftState Shift,
                          TPointF P) {
  TDispatchScope scope;
  TControl* captured = Form->Captured();
  TControl* target = captured != nullptr ? captured : Form->ObjectAtPoint(P);
  if (captured != nullptr && Button == TMouseButton::mbLeft) Form->SetCaptured(nullptr);
  const bool clicks = target != nullptr && target == FPressed.Get();
  const bool isDouble = FPressedDouble;
  FPressed = nullptr;
  if (target == nullptr) {
    Form->FormMouseUp(Button, Shift, P.X, P.Y);
    return;
  }
  const TPointF local = target->AbsoluteToLocal(P);
  target->MouseUp(Button, Shift, local.X, local.Y);
  // A handler that freed the target or the form, or took the target off this form,
  // ends the release here: whatever is freed is off its parent, so off the tree.
  if (target->Root() != Form) return;
  if (clicks && Button == TMouseButton::mbLeft && target->PointInObjectLocal(local.X, local.Y)) {
    if (isDouble)
      target->DblClick();
    else
      target->Click();
  }
  if (Form->Captured() == nullptr) UpdateHovered(Form, P);
}

void TPointerDispatch::Wheel(TCommonCustomForm* Form, TShiftState Shift, int WheelDelta) {
  TDispatchScope scope;
  bool handled = false;
  TControl* c = Form->Hovered();
  while (c != nullptr && !handled) {
    // Up the chain as it was before each handler: a parent the handler freed hears
    // nothing and has no parent of its own any more, which ends the walk.
    TControl* parent = c->ParentControl();
    c->MouseWheel(Shift, WheelDelta, handled);
    c = parent;
  }
}

void TPointerDispatch::Leave(TCommonCustomForm* Form) {
  if (Form->Captured() != nullptr) return;
  TDispatchScope scope;
  TControl* old = Form->Hovered();
  Form->SetHovered(nullptr);
  if (old != nullptr) old->DoMouseLeave();
}

void TPointerDispatch::Still(TCommonCustomForm* Form, TPointF P) {
  if (Form->Captured() != nullptr) return;
  if (P.X < 0 || P.Y < 0 || P.X >= static_cast<float>(Form->Width()) ||
      P.Y >= static_cast<float>(Form->Height())) {
    Leave(Form);
    return;
  }
  UpdateHovered(Form, P);
}

void TPointerDispatch::Cancel(TCommonCustomForm* Form) {
  Form->SetCaptured(nullptr);
  FPressed = nullptr;
}

}  // namespace fmx
