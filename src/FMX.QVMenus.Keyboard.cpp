// The menus by keyboard. The root bar of a tree listens to its form's keys ahead of the
// focused control: a shortcut chooses its entry as a click would; F10, a lone Alt and
// Alt+letter put a main bar under the keyboard, arrows walk it, Enter or Space chooses
// and Escape closes one level. The keyboard moves the same highlights the mouse moves
// and keeps no position of its own: where it stands is read back from them, so mouse
// and keyboard can take turns.
#include <algorithm>

#include "FMX.QVMenus.h"
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
    if (old != nullptr) {
      old->RemoveKeyPreview(Bar);
      old->RemoveMousePreview(Bar);
    }
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
    form->AddMousePreview(Bar, [link](TObject*, TMouseButton Button, TShiftState, float, float) {
      if (TQVMenuBar* b = link.Get()) b->__QV_PressPreview(Button);
    });
  }

  static void KeyDown(TQVMenuBar* Root, uint16_t& Key, Char& KeyChar, TShiftState Shift) {
    if (Key == 0 || dynamic_cast<TQVMenuBar*>(Root->Parent()) != nullptr) return;
    const TShiftState mods = Shift * kModifiers;
    if (Key == vk::Menu) {
      // Held down (it repeats) with nothing else: its release may be a lone Alt.
      Root->FAltAlone = (mods - TShiftStateItem::ssAlt).Empty();
      Root->FAltOpened = qvmenus::MenuTreesOpened();
      return;
    }
    Root->FAltAlone = false;
    if (Key == vk::Shift || Key == vk::Control) return;
    if (Root->FShortCutsEnabled && Root->Enabled()) {
      if (TQVMenuButton* e = FindShortCut(Root, TQVShortCut{Key, mods})) {
        Consume(Key, KeyChar);
        Choose(e);
        return;
      }
    }
    if (!Walkable(Root)) return;
    if (Key == vk::F10 && mods.Empty()) {
      Consume(Key, KeyChar);
      ToggleKeyboard(Root);
      return;
    }
    if (mods == TShiftState{TShiftStateItem::ssAlt}) {
      if (TQVMenuButton* m = MainEntryFor(Root, Key)) {
        Consume(Key, KeyChar);
        OpenMain(Root, m, +1, TLoneMain::Choose);
      }
      return;
    }
    if (!UnderKeyboard(Root)) {
      Root->FKeyboardMode = false;
      return;
    }
    if (!mods.Empty()) return;
    switch (Key) {
      case vk::Left:
      case vk::Right:
      case vk::Up:
      case vk::Down:
      case vk::Return:
      case vk::Space:
      case vk::Escape: {
        const uint16_t pressed = Key;
        Consume(Key, KeyChar);
        Walk(Root, pressed);
        return;
      }
      default:
        return;
    }
  }

  static void KeyUp(TQVMenuBar* Root, uint16_t& Key, Char& KeyChar, TShiftState) {
    if (Key != vk::Menu) return;
    const bool alone = Root->FAltAlone && Root->FAltOpened == qvmenus::MenuTreesOpened();
    Root->FAltAlone = false;
    if (!alone || dynamic_cast<TQVMenuBar*>(Root->Parent()) != nullptr || !Walkable(Root)) return;
    Consume(Key, KeyChar);
    ToggleKeyboard(Root);
  }

  static void Fit(TQVMenuBar* Bar) { Bar->__QV_FitSubMenuBar(); }

  // A main bar the user can see and use; a hidden one leaves the keys to the form.
  static bool Walkable(TQVMenuBar* Root) {
    return IsMainBar(Root) && Root->Enabled() && Root->ParentedVisible();
  }

  // The menus are open (by either hand), or F10 or Alt lit a main entry that is still lit.
  static bool UnderKeyboard(TQVMenuBar* Root) {
    return Root->FMenuButtonPressed || (Root->FKeyboardMode && Root->F_SelectedBar->Visible());
  }

  static void ToggleKeyboard(TQVMenuBar* Root) {
    if (UnderKeyboard(Root)) {
      Root->__QV_CloseMenus();
      return;
    }
    if (TQVMenuButton* first = Step(Root, nullptr, +1); first != nullptr && Highlight(first))
      Root->FKeyboardMode = true;
  }

  // The entries a user can move to, in the order they show: left to right on a main
  // bar, top to bottom on a sub-menu (child order changes as entries come to the front).
  static std::vector<TQVMenuButton*> Entries(TQVMenuBar* Bar) {
    std::vector<TQVMenuButton*> out;
    for (TFmxObject* child : Bar->ChildrenList()) {
      auto* b = dynamic_cast<TQVMenuButton*>(child);
      if (b != nullptr && b->Visible() && b->FMenuButtonStyle != TQVMenuButtonStyle::mbSeparatorBar)
        out.push_back(b);
    }
    const bool across = IsMainBar(Bar);
    std::stable_sort(out.begin(), out.end(), [across](TQVMenuButton* a, TQVMenuButton* b) {
      return across ? a->Position()->X() < b->Position()->X() : a->Position()->Y() < b->Position()->Y();
    });
    return out;
  }

  // The next enabled entry from From in direction By (+1, -1), round the end; from
  // nothing, the first (or last).
  static TQVMenuButton* Step(TQVMenuBar* Bar, TQVMenuButton* From, int By) {
    const std::vector<TQVMenuButton*> list = Entries(Bar);
    const int n = static_cast<int>(list.size());
    if (n == 0) return nullptr;
    auto at = std::find(list.begin(), list.end(), From);
    int i = at == list.end() ? (By > 0 ? -1 : n) : static_cast<int>(at - list.begin());
    for (int tries = 0; tries < n; ++tries) {
      i = ((i + By) % n + n) % n;
      if (list[i]->Enabled()) return list[i];
    }
    return nullptr;
  }

  // The entry under a bar's highlight, while it shows.
  static TQVMenuButton* Lit(TQVMenuBar* Bar) {
    TRectangle* h = Bar->F_SelectedBar;
    if (!h->Visible()) return nullptr;
    const float x = h->Position()->X() + h->Width() / 2, y = h->Position()->Y() + h->Height() / 2;
    for (TQVMenuButton* b : Entries(Bar)) {
      const float l = b->Position()->X(), t = b->Position()->Y();
      if (x >= l && x <= l + b->Width() && y >= t && y <= t + b->Height()) return b;
    }
    return nullptr;
  }

  // The sub-menu open below a bar (at most one is: opening one hides the others).
  static TQVMenuBar* OpenBelow(TQVMenuBar* Bar) {
    for (TFmxObject* child : Bar->ChildrenList()) {
      auto* s = dynamic_cast<TQVMenuBar*>(child);
      if (s != nullptr && s->Visible() && s->FTargetButton != nullptr) return s;
    }
    return nullptr;
  }

  // Moves the bar's highlight onto the entry as hovering it would, without opening a
  // cascade: the keyboard opens those with Right. False when a handler freed either (or
  // moved the entry off its bar).
  static bool Highlight(TQVMenuButton* E) {
    TQVMenuBar* p = E->__QV_ParentMenuBar();
    if (p == nullptr) return false;
    TDispatchScope scope;
    TRectangle* h = p->F_SelectedBar;
    h->BringToFront();
    E->BringToFront();
    p->__QV_PlaceHighlight(E);
    if (!IsMainBar(p)) p->__QV_HideAllSubMenuBar(p);
    if (E->Parent() != p) return false;
    h->SetVisible(true);
    TAccessibility::Notify(E, TAccessibleEvent::Focused);
    E->__QV_KeepOpenerLit(p);
    return E->Parent() == p;
  }

  static TQVMenuButton* MainEntryFor(TQVMenuBar* Root, uint16_t Key) {
    if (Key > 0x7F) return nullptr;
    for (TQVMenuButton* m : Entries(Root))
      if (m->Enabled() && QVMenuMnemonic(m->FButtonText) == static_cast<char>(Key)) return m;
    return nullptr;
  }

  // What a main entry with no menu of its own does when opened from the keyboard.
  enum class TLoneMain { StayLit, Choose };

  // Opens the main entry's menu with its first (By +1) or last (By -1) entry lit.
  static void OpenMain(TQVMenuBar* Root, TQVMenuButton* M, int By,
                       TLoneMain Lone = TLoneMain::StayLit) {
    // Each step runs handlers that may free the tree or the entry: what they free is
    // off the tree, and the steps after act on nothing.
    TDispatchScope scope;
    if (!Highlight(M)) return;
    if (!Root->FMenuButtonPressed) {
      Root->SetMenuButtonPressed(true);
      // Sub-menus hang outside the bar.
      if (Root->ClipChildren()) Root->SetClipChildren(false);
    }
    M->__QV_DisplaySubMenuOfTheMainMenuButton();
    Root->FKeyboardMode = true;
    TQVMenuBar* s = OpenBelow(Root);
    if (s == nullptr) {
      if (Lone == TLoneMain::StayLit) return;
      Root->__QV_CloseMenus();
      // A freed entry raises no click.
      M->Click();
      return;
    }
    if (TQVMenuButton* e = Step(s, nullptr, By)) Highlight(e);
  }

  static void OpenCascade(TQVMenuBar* Bar, TQVMenuButton* E) {
    TDispatchScope scope;
    E->__QV_DisplaySubMenuOfTheSubMenuButton();
    // A bar freed meanwhile has no cascade open below it.
    if (TQVMenuBar* s = OpenBelow(Bar))
      if (TQVMenuButton* first = Step(s, nullptr, +1)) Highlight(first);
  }

  static void Walk(TQVMenuBar* Root, uint16_t Key) {
    TDispatchScope scope;
    std::vector<TQVMenuBar*> path{Root};
    while (path.size() < 64)
      if (TQVMenuBar* s = OpenBelow(path.back())) path.push_back(s);
      else break;
    // The main entry in use: the one the open menu hangs on, else the lit one.
    TQVMenuButton* main = path.size() > 1 ? path[1]->FTargetButton.Get() : Lit(Root);
    // The keys act in the deepest open menu with a lit entry; a menu just dropped down
    // and not entered yet counts as entered with nothing lit.
    size_t level = 0;
    TQVMenuButton* lit = nullptr;
    for (size_t i = path.size() - 1; i >= 1; --i)
      if ((lit = Lit(path[i])) != nullptr) {
        level = i;
        break;
      }
    if (level == 0 && path.size() > 1) level = 1;
    if (level == 0) {
      WalkMainBar(Root, main, Key);
      return;
    }
    TQVMenuBar* bar = path[level];
    const bool cascade = level >= 2;
    switch (Key) {
      case vk::Down:
      case vk::Up:
        if (TQVMenuButton* e = Step(bar, lit, Key == vk::Down ? +1 : -1)) Highlight(e);
        return;
      case vk::Return:
      case vk::Space:
        if (lit == nullptr) return;
        if (lit->FMoreArrow) OpenCascade(bar, lit);
        else Choose(lit);
        return;
      case vk::Right:
        if (lit != nullptr && lit->FMoreArrow) {
          OpenCascade(bar, lit);
        } else if (TQVMenuButton* next = Step(Root, main, +1)) {
          OpenMain(Root, next, +1);
        }
        return;
      case vk::Left:
      case vk::Escape:
        if (cascade) {
          // Back to the entry the cascade hangs on.
          if (TQVMenuButton* t = bar->FTargetButton) Highlight(t);
        } else if (Key == vk::Left) {
          if (TQVMenuButton* prev = Step(Root, main, -1)) OpenMain(Root, prev, +1);
        } else {
          // The menu closes; its main entry stays lit for the keyboard.
          // Closing runs handlers: an entry they freed is lit no more.
          Root->__QV_CloseMenus(TMenuHighlight::Keep);
          if (main != nullptr && Highlight(main)) Root->FKeyboardMode = true;
        }
        return;
      default:
        return;
    }
  }

  // Keys on the main bar itself: its menus closed, or open on an entry without a menu.
  static void WalkMainBar(TQVMenuBar* Root, TQVMenuButton* Main, uint16_t Key) {
    switch (Key) {
      case vk::Left:
      case vk::Right: {
        TQVMenuButton* next = Step(Root, Main, Key == vk::Right ? +1 : -1);
        if (next == nullptr) return;
        if (Root->FMenuButtonPressed) OpenMain(Root, next, +1);
        else Highlight(next);
        return;
      }
      case vk::Down:
      case vk::Up:
      case vk::Return:
      case vk::Space:
        if (Main == nullptr) Main = Step(Root, nullptr, +1);
        if (Main != nullptr && Main->Enabled())
          OpenMain(Root, Main, Key == vk::Up ? -1 : +1,
                   Key == vk::Return || Key == vk::Space ? TLoneMain::Choose : TLoneMain::StayLit);
        return;
      case vk::Escape:
        Root->__QV_CloseMenus();
        return;
      default:
        return;
    }
  }

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
    TDispatchScope scope;
    if (TQVMenuBar* root = E->FMenuBarRoot) {
      if (!E->FMoreArrow) root->__QV_CloseMenus();
      __QV_窗体_清除窗体上的残影(p->FOwnerForm);
    }
    // Closing ran handlers; a choice they freed (or took off its bar) is not made.
    if (E->Parent() != p) return;
    if (E->FMark == TQVMark::mTick) E->__QV_ToggleTick(p);
    E->Click();
  }
};

void TQVMenuBar::ParentChanged() {
  TPresentedControl::ParentChanged();
  TQVMenuKeyboard::Listen(this);
}

TQVMenuButton* qvmenus::LitEntry(TQVMenuBar* Bar) { return TQVMenuKeyboard::Lit(Bar); }
TQVMenuButton* qvmenus::StepEntry(TQVMenuBar* Bar, TQVMenuButton* From, int By) {
  return TQVMenuKeyboard::Step(Bar, From, By);
}
bool qvmenus::LightEntry(TQVMenuButton* Entry) { return TQVMenuKeyboard::Highlight(Entry); }
void qvmenus::FitSubMenuBar(TQVMenuBar* Bar) { TQVMenuKeyboard::Fit(Bar); }

void TQVMenuBar::SetShortCutsEnabled(bool Value) {
  FShortCutsEnabled = Value;
  // A bar placed inside a control before that control was on a form finds it now.
  if (Value) TQVMenuKeyboard::Listen(this);
}

}  // namespace fmx
