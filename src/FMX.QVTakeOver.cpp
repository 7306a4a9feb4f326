#include "FMX.QVTakeOver.h"

#include <algorithm>
#include <vector>

#include "host/Forms.h"

namespace fmx {

namespace {
// Every take-over that holds a control now: a menu giving back finds here the menu
// that took the same control after it and kept this menu's handlers as the control's.
std::vector<TQVTakeOver*>& HoldingList() {
  static std::vector<TQVTakeOver*> list;
  return list;
}
}  // namespace

struct TQVTakeOver::TDownHook {
  TWeak<TComponent> Holder;
  TQVTakeOver* Owner;
  void operator()(TObject* Sender, TMouseButton Button, TShiftState Shift, float X,
                  float Y) const {
    // The take-over lives inside its holder.
    if (Holder.Alive() && Owner->FOnDown) Owner->FOnDown(Sender, Button, Shift, X, Y);
  }
};

struct TQVTakeOver::TLeaveHook {
  TWeak<TComponent> Holder;
  TQVTakeOver* Owner;
  void operator()(TObject* Sender) const {
    if (Holder.Alive() && Owner->FOnLeave) Owner->FOnLeave(Sender);
  }
};

TQVTakeOver::TQVTakeOver(TComponent* Holder, TMouseEvent OnDown, TNotifyEvent OnLeave)
    : FHolder(Holder), FOnDown(std::move(OnDown)), FOnLeave(std::move(OnLeave)) {}

TQVTakeOver::~TQVTakeOver() { GiveBack(); }

bool TQVTakeOver::IsHook(const TMouseEvent& Handler) {
  return Handler.target<TDownHook>() != nullptr;
}
bool TQVTakeOver::IsHook(const TNotifyEvent& Handler) {
  return Handler.target<TLeaveHook>() != nullptr;
}
bool TQVTakeOver::IsMine(const TMouseEvent& Handler) const {
  const TDownHook* h = Handler.target<TDownHook>();
  return h != nullptr && h->Owner == this;
}
bool TQVTakeOver::IsMine(const TNotifyEvent& Handler) const {
  const TLeaveHook* h = Handler.target<TLeaveHook>();
  return h != nullptr && h->Owner == this;
}

void TQVTakeOver::Take(TControl* C) {
  GiveBack();
  if (C == nullptr || C->IsDestroying()) return;
  FControl = C;
  FTaken = true;
  // What the holder owns tells it anyway when it goes.
  if (C->Owner() != FHolder) C->FreeNotification(FHolder);
  FSavedDown = C->OnMouseDown();
  FSavedLeave = C->OnMouseLeave();
  const TWeak<TComponent> holder(FHolder);
  C->SetOnMouseDown(TDownHook{holder, this});
  C->SetOnMouseLeave(TLeaveHook{holder, this});
  HoldingList().push_back(this);
}

void TQVTakeOver::GiveBack() {
  std::erase(HoldingList(), this);
  if (TControl* c = FControl.Get()) {
    if (c->Owner() != FHolder) c->RemoveFreeNotification(FHolder);
    // Ours on top: the control gets back what was under it. Ours kept by a later menu:
    // that menu will give back what we kept instead.
    auto* later = [&]() -> TQVTakeOver* {
      for (TQVTakeOver* o : HoldingList())
        if (o->FControl.Get() == c && (IsMine(o->FSavedDown) || IsMine(o->FSavedLeave))) return o;
      return nullptr;
    }();
    if (IsMine(c->OnMouseDown()))
      c->SetOnMouseDown(FSavedDown);
    else if (later != nullptr && IsMine(later->FSavedDown))
      later->FSavedDown = FSavedDown;
    if (IsMine(c->OnMouseLeave()))
      c->SetOnMouseLeave(FSavedLeave);
    else if (later != nullptr && IsMine(later->FSavedLeave))
      later->FSavedLeave = FSavedLeave;
  }
  Clear();
}

bool TQVTakeOver::Forget(const TComponent* AComponent) {
  if (AComponent == nullptr || !FTaken || FControl.Get() != nullptr) return false;
  std::erase(HoldingList(), this);
  Clear();
  return true;
}

void TQVTakeOver::Clear() {
  FControl = nullptr;
  FTaken = false;
  FSavedDown = nullptr;
  FSavedLeave = nullptr;
}

// --- one menu tree at a time ----------------------------------------------------------

namespace qvmenus {

namespace {
struct TOpenTree {
  TWeak<TComponent> Who;
  TWeak<TCommonCustomForm> Form;
  std::function<void()> Close;
};
std::vector<TOpenTree>& OpenTrees() {
  static std::vector<TOpenTree> list;
  return list;
}
unsigned gOpened = 0;
}  // namespace

unsigned MenuTreesOpened() { return gOpened; }

void OpeningMenuTree(TComponent* Who, TCommonCustomForm* Form, std::function<void()> Close) {
  ++gOpened;
  std::vector<TOpenTree>& list = OpenTrees();
  std::vector<std::function<void()>> closing;
  std::erase_if(list, [&](const TOpenTree& t) {
    if (!t.Who.Alive() || !t.Form.Alive()) return true;
    if (t.Who.Get() == Who) return true;
    if (Form == nullptr || t.Form.Get() != Form) return false;
    closing.push_back(t.Close);
    return true;
  });
  if (Form != nullptr && Who != nullptr) list.push_back({Who, Form, std::move(Close)});
  // Each close may run application code; the list is settled before.
  for (const std::function<void()>& close : closing)
    if (close) close();
}

}  // namespace qvmenus

}  // namespace fmx
