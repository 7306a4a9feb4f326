// The menus by keyboard. The root bar of a tree listens to its form's keys ahead of the
// focused control: a shortcut chooses its entry as a click would.
#include <algorithm>

#include "FMX.QVMenus.h"
#include "FMX.QVMenusShared.h"
#include "FMX.QVUtils.h"
#include "host/Keys.h"

namespace fmx {

namespace {

const TShiftState kModifiers{TShiftStateItem::ssShift, TShiftStateItem::ssCtrl,
                             TShiftStateItem::ssAlt};

bool IsMainBar(const TQVMenuBar* B) { return B->MenuBarStyle() == TQVMenuBarStyle::msMainMenuBar; }

void Consume(uint16_t& Key, Char& KeyChar) {
  Key = 0;
  KeyChar = 0;
}

}  // namespace

class TQVMenuKeyboard {
 public:
  static void Listen(TQVMenuBar* Bar) {
    if (Bar->IsDestroying()) return;
    TCommonCustomForm* form = nullptr;
    if (dynamic_cast<TQVMenuBar*>(Bar->Parent()) == nullptr) {
      form = Bar->ParentForm();
      if (form == nullptr) form = Bar->FOwnerForm.Get();
      // A form being torn down takes its bars' parents away: nothing to listen to.
      if (form != nullptr && form->IsDestroying()) form = nullptr;
    }
    TCommonCustomForm* old = Bar->FKeyForm;
    if (old == form) return;
    if (old != nullptr) old->RemoveKeyPreview(Bar);
    Bar->FKeyForm = form;
    if (form == nullptr) return;
    TWeak<TQVMenuBar> link(Bar);
    form->AddKeyPreview(
        Bar,
        [link](TObject*, uint16_t& Key, Char& KeyChar, TShiftState Shift) {
          if (TQVMenuBar* b = link.Get()) KeyDown(b, Key, KeyChar, Shift);
        },
        [link](TObject*, uint16_t& Key, Char& KeyChar, TShiftState Shift) {
          if (TQVMenuBar* b = link.Get()) KeyUp(b, Key, KeyChar, Shift);
        });
  }

  static void KeyDown(TQVMenuBar* Root, uint16_t& Key, Char& KeyChar, TShiftState Shift) {
    if (Key == 0 || dynamic_cast<TQVMenuBar*>(Root->Parent()) != nullptr) return;
    const TShiftState mods = Shift * kModifiers;
    if (Root->FShortCutsEnabled && Root->Enabled()) {
      if (TQVMenuButton* e = FindShortCut(Root, TQVShortCut{Key, mods})) {
        Consume(Key, KeyChar);
        Choose(e);
        return;
      }
    }
  }

  static void KeyUp(TQVMenuBar*, uint16_t&, Char&, TShiftState) {}

  // Whether a user could reach the entry: it and every entry on the way to it from the
  // root are shown and enabled, and so are their bars.
  static bool Reachable(TQVMenuButton* E) {
    for (int depth = 0; E != nullptr && depth < 64; ++depth) {
      if (!E->Visible() || !E->Enabled()) return false;
      auto* bar = dynamic_cast<TQVMenuBar*>(E->Parent());
      if (bar == nullptr || !bar->Enabled()) return false;
      if (dynamic_cast<TQVMenuBar*>(bar->Parent()) == nullptr) return true;
      E = bar->FTargetButton;
    }
    return false;
  }

  static TQVMenuButton* FindShortCut(TQVMenuBar* Root, const TQVShortCut& Pressed) {
    for (const TWeak<TQVMenuButton>& link : Root->FMenuButtonList) {
      TQVMenuButton* e = link.Get();
      if (e == nullptr || e->FMenuButtonStyle != TQVMenuButtonStyle::mbSubMenuButton ||
          e->FMoreArrow || !(e->ShortCutKey() == Pressed))
        continue;
      // A disabled entry leaves the key to the application; a later entry with the same
      // keys may still take it.
      if (Reachable(e)) return e;
    }
    return nullptr;
  }

  // What a release on the entry does, then its OnClick.
  static void Choose(TQVMenuButton* E) {
    TQVMenuBar* p = E->__QV_ParentMenuBar();
    if (p == nullptr || IsMainBar(p)) return;
    TWeak<TComponent> self(E);
    TWeak<TQVMenuBar> parent(p);
    if (TQVMenuBar* root = E->FMenuBarRoot) {
      if (!E->FMoreArrow && !root->__QV_CloseMenus()) return;
      if (!self.Alive() || !parent.Alive()) return;
      __QV_窗体_清除窗体上的残影(p->FOwnerForm);
      if (!self.Alive() || !parent.Alive()) return;
    }
    if (E->FMark == TQVMark::mTick) E->__QV_ToggleTick(p);
    if (self.Alive()) E->Click();
  }
};

void TQVMenuBar::ParentChanged() {
  TPresentedControl::ParentChanged();
  TQVMenuKeyboard::Listen(this);
}

void TQVMenuBar::SetShortCutsEnabled(bool Value) {
  FShortCutsEnabled = Value;
  // A bar placed inside a control before that control was on a form finds it now.
  if (Value) TQVMenuKeyboard::Listen(this);
}

}  // namespace fmx
