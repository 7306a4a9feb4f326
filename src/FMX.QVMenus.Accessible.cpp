// What a screen reader is told about menus: bars as menu bars and menus, entries as
// menu items, check and radio items and separators, and each entry's action.
#include <algorithm>
#include <string_view>

#include "FMX.QVMenus.h"

namespace fmx {

namespace {

bool IsMain(const TQVMenuBar* B) { return B->MenuBarStyle() == TQVMenuBarStyle::msMainMenuBar; }

// The entry of Bar under its highlight, while the highlight shows.
const TQVMenuButton* LitEntry(const TQVMenuBar* Bar, const TRectangle* Highlight) {
  if (Highlight == nullptr || !Highlight->Visible()) return nullptr;
  const float x = Highlight->Position()->X() + Highlight->Width() / 2;
  const float y = Highlight->Position()->Y() + Highlight->Height() / 2;
  for (TFmxObject* child : Bar->ChildrenList()) {
    auto* b = dynamic_cast<const TQVMenuButton*>(child);
    if (b == nullptr || b->MenuButtonStyle() == TQVMenuButtonStyle::mbSeparatorBar) continue;
    const float l = b->Position()->X(), t = b->Position()->Y();
    if (x >= l && x <= l + b->Width() && y >= t && y <= t + b->Height()) return b;
  }
  return nullptr;
}

}  // namespace

// --- entries ------------------------------------------------------------------------

void TQVMenuButton::DescribeAccessible(TAccessibleDescription& D) const {
  TPresentedControl::DescribeAccessible(D);
  if (FMenuButtonStyle == TQVMenuButtonStyle::mbSeparatorBar) {
    D.Role = TAccessibleRole::Separator;
    return;
  }
  const bool check = FMark == TQVMark::mTick && FMenuButtonStyle == TQVMenuButtonStyle::mbSubMenuButton;
  D.Role = !check ? TAccessibleRole::MenuItem
                  : FGroupIndex == 0 ? TAccessibleRole::CheckMenuItem : TAccessibleRole::RadioMenuItem;
  D.Name = QVMenuCaptionWithoutMnemonic(FButtonText);
  D.AccessKey = QVMenuMnemonic(FButtonText);
  D.ShortCut = FShortCut;
  while (!D.ShortCut.empty() && D.ShortCut.back() == ' ') D.ShortCut.pop_back();
  while (!D.ShortCut.empty() && D.ShortCut.front() == ' ') D.ShortCut.erase(0, 1);
  D.States.Checkable = check;
  D.States.Checked = check && FIsCheck;
  // The keyboard's highlight reaches it (F10, Alt, the arrows).
  D.States.Focusable = true;
  D.States.Selectable = true;
  const auto* bar = dynamic_cast<const TQVMenuBar*>(Parent());
  const bool lit = bar != nullptr && LitEntry(bar, bar->F_SelectedBar) == this;
  std::vector<TControl*> menus;
  AccessibleChildren(menus);
  D.States.Expandable = !menus.empty();
  const TQVMenuBar* open = nullptr;
  for (TControl* m : menus)
    if (m->Visible()) open = static_cast<TQVMenuBar*>(m);
  D.States.Expanded = open != nullptr;
  D.States.Selected = lit;
  // The highlight is on the deepest lit entry: an entry whose open menu has a lit
  // entry of its own is only the way there.
  D.States.Focused = lit && (open == nullptr || LitEntry(open, open->F_SelectedBar) == nullptr);
  D.Actions.push_back({"click", ""});
}

void TQVMenuButton::AccessibleChildren(std::vector<TControl*>& Out) const {
  // The sub-menu that hangs on this entry, wherever in the tree it is parented.
  if (TQVMenuBar* root = FMenuBarRoot.Get()) {
    for (const TWeak<TQVMenuBar>& b : root->FMenuBarList)
      if (TQVMenuBar* bar = b.Get(); bar != nullptr && bar->FTargetButton == this)
        Out.push_back(bar);
    return;
  }
  if (const TFmxObject* p = Parent())
    for (TFmxObject* child : p->ChildrenList())
      if (auto* bar = dynamic_cast<TQVMenuBar*>(child); bar != nullptr && bar->FTargetButton == this)
        Out.push_back(bar);
}

bool TQVMenuButton::DoAccessibleAction(int Index) {
  if (Index != 0 || FMenuButtonStyle == TQVMenuButtonStyle::mbSeparatorBar || !AbsoluteEnabled())
    return false;
  // Press, release and click in the middle of the entry, as the pointer does. An entry
  // a handler frees on the way is in no tree and raises nothing after.
  TDispatchScope scope;
  const float x = Width() / 2, y = Height() / 2;
  MouseDown(TMouseButton::mbLeft, {}, x, y);
  MouseUp(TMouseButton::mbLeft, {}, x, y);
  Click();
  return true;
}

// --- bars -----------------------------------------------------------------------------

void TQVMenuBar::DescribeAccessible(TAccessibleDescription& D) const {
  TPresentedControl::DescribeAccessible(D);
  D.Role = IsMain(this) ? TAccessibleRole::MenuBar : TAccessibleRole::Menu;
  if (const TQVMenuButton* t = FTargetButton.Get())
    D.Name = QVMenuCaptionWithoutMnemonic(t->ButtonText());
}

void TQVMenuBar::AccessibleChildren(std::vector<TControl*>& Out) const {
  // Entries in reading order (a highlight brings its entry to the front, so the
  // children's order says nothing), then menus that hang on no entry.
  const size_t first = Out.size();
  for (TFmxObject* child : ChildrenList())
    if (auto* b = dynamic_cast<TQVMenuButton*>(child); b != nullptr && !b->IsDestroying())
      Out.push_back(b);
  const bool across = IsMain(this);
  std::stable_sort(Out.begin() + static_cast<std::ptrdiff_t>(first), Out.end(),
                   [across](const TControl* A, const TControl* B) {
                     return across ? A->Position()->X() < B->Position()->X()
                                   : A->Position()->Y() < B->Position()->Y();
                   });
  for (TFmxObject* child : ChildrenList())
    if (auto* bar = dynamic_cast<TQVMenuBar*>(child);
        bar != nullptr && !bar->IsDestroying() && bar->FTargetButton == nullptr)
      Out.push_back(bar);
}

}  // namespace fmx
