// Menu bars: the private tree, what a bar accepts as a child, the root's lists of the
// tree's bars and entries, and switching between the main and the sub-menu style.
#include <algorithm>
#include <unordered_set>

#include "FMX.QVMenus.h"
#include "FMX.QVMenusShared.h"
#include "FMX.QVUtils.h"
#include "host/Dialogs.h"
#include "host/Registry.h"

namespace fmx {

using namespace qvmenus;

namespace {

template <class T>
T* MakePrivate(TComponent* Owner) {
  auto* c = new T(Owner);
  c->SetStored(false);
  return c;
}

// The bars and entries that ABar holds, at any depth (ABar itself not included). Only
// entries that stand on a bar belong to a menu tree; entries hold no menu parts.
void CollectMenuTree(TFmxObject* From, std::vector<TQVMenuBar*>& Bars,
                     std::vector<TQVMenuButton*>& Buttons) {
  const bool onBar = dynamic_cast<TQVMenuBar*>(From) != nullptr;
  for (TFmxObject* child : From->ChildrenList()) {
    if (auto* button = dynamic_cast<TQVMenuButton*>(child)) {
      if (onBar) Buttons.push_back(button);
      continue;
    }
    if (auto* bar = dynamic_cast<TQVMenuBar*>(child)) Bars.push_back(bar);
    if (dynamic_cast<TControl*>(child) != nullptr) CollectMenuTree(child, Bars, Buttons);
  }
}

bool HangsInMenu(const TQVMenuBar& Bar) {
  return Bar.MenuBarStyle() == TQVMenuBarStyle::msSubMenuBar &&
         dynamic_cast<const TQVMenuBar*>(Bar.Parent()) != nullptr;
}

const TDeclareClass<TQVMenuBar, TPresentedControl> MenuBarClass("TQVMenuBar", [](auto& c) {
  DeclareEnum<TQVMenuBarStyle>({"msMainMenuBar", "msSubMenuBar"});
  using T = TQVMenuBar;
  c.Prop("Images", &T::GetImages, &T::SetImages, WrittenWhenNotEmpty);
  c.Prop("DefaultMenubarColor", &T::DefaultMenubarColor, &T::SetDefaultMenubarColor, AlwaysWritten);
  c.Color("BackgroundColor", &T::BackgroundColor, &T::SetBackgroundColor, AlwaysWritten);
  c.Color("BorderColor", &T::BorderColor, &T::SetBorderColor, AlwaysWritten);
  c.Color("SelectBarColor", &T::SelectBarColor, &T::SetSelectBarColor, AlwaysWritten);
  // Always written: a bar starts at 0.6, so no value left out could stand for both 0
  // and 0.6. A text without it (as older texts left out 0) loads with the 0.6 a new bar
  // has.
  c.Prop("SelectBarOpacity", &T::SelectBarOpacity, &T::SetSelectBarOpacity, AlwaysWritten);
  c.Color("FontColor", &T::FontColor, &T::SetFontColor, AlwaysWritten);
  c.Prop("TargetButton", &T::TargetButton, &T::SetTargetButton, WrittenWhenNotEmpty);
  c.Prop("MenuBarStyle", &T::MenuBarStyle, &T::SetMenuBarStyle, AlwaysWritten);
  c.Inherit({"Align", "Anchors", "ClipChildren", "ClipParent", "Cursor", "DragMode",
             "EnableDragHighlight", "Enabled", "Locked", "Height", "Hint", "HitTest", "Margins",
             "Position", "Size", "Scale", "TouchTargetExpansion"});
  // A sub-menu bar hanging in a menu shows and hides with it: that is run-time state,
  // so it is written as shown and reads back closed, as every such bar does.
  c.Prop("Visible", [](T& Bar) { return Bar.Visible() || HangsInMenu(Bar); }, &T::SetVisible,
         Default(true));
  c.Inherit({"Width", "ParentShowHint", "ShowHint", "TabOrder", "TabStop", "OnPainting", "OnPaint",
             "OnResize", "OnResized", "OnDragEnter", "OnDragLeave", "OnDragOver", "OnDragDrop",
             "OnDragEnd", "OnClick", "OnDblClick", "OnMouseDown", "OnMouseMove", "OnMouseUp",
             "OnMouseWheel", "OnMouseEnter", "OnMouseLeave"});
});

}  // namespace

void qvmenus::Register() {
  EnsureHostClasses();
  RegisterComponents("QVCtrl", {ClassOf<TQVMenuButton>()});
  RegisterComponents("QVCtrl", {ClassOf<TQVMenuBar>()});
}

// --- construction -----------------------------------------------------------------

TQVMenuBar::TQVMenuBar(TComponent* AOwner)
    : TPresentedControl(AOwner),
      FTakeOver(this) {
  FOwnerForm = __QV_窗体_获取根窗体(Owner());
  FRootMenuBar = __QV_GetRootMenuBar(this);
  // Sized before the private tree, so each part is laid out once as it joins.
  SetSize(200, 300);
  __QV_CreateMenuBarAppearance();
  SetHitTest(true);
  SetVisible(true);
  FMenuButtonList.clear();
  FMenuBarList.clear();
  FWidthList.clear();
  FMenuBarStyle = TQVMenuBarStyle::msSubMenuBar;
  FSelectBarOpacity = kSelectOpacity;
  FDefaultMenubarColor = false;
  __QV_测试_显示提示(this, nullptr);
  __QV_DoDynamicUpdateComponentColor();
}

void TQVMenuBar::__QV_CreateMenuBarAppearance() {
  // Back to front: background, container, selection bar, memo.
  F_Container = MakePrivate<TLayout>(this);
  F_Container->SetAlign(TAlignLayout::Contents);
  F_Container->SetLocked(true);
  F_Container->SetHitTest(false);
  F_Container->SetParent(this);
  F_Container->SendToBack();

  F_SelectedBar = MakePrivate<TRectangle>(this);
  F_SelectedBar->SetLocked(true);
  F_SelectedBar->SetHitTest(false);
  F_SelectedBar->SetStyleName("HighSelecedBarStyle");
  F_SelectedBar->Fill()->SetColor(0xFFADFF2F);
  F_SelectedBar->SetOpacity(0.5f);
  F_SelectedBar->SetVisible(false);
  F_SelectedBar->Stroke()->SetKind(TBrushKind::None);
  F_SelectedBar->SetParent(this);
  F_SelectedBar->BringToFront();

  F_BackgroundColor = MakePrivate<TRectangle>(this);
  F_BackgroundColor->SetAlign(TAlignLayout::Contents);
  F_BackgroundColor->SetLocked(true);
  F_BackgroundColor->SetHitTest(false);
  F_BackgroundColor->Stroke()->SetThickness(0.5f);
  F_BackgroundColor->Fill()->SetKind(TBrushKind::Solid);
  F_BackgroundColor->SetParent(this);
  F_BackgroundColor->SendToBack();

  F_TimerHideMenus = MakePrivate<TTimer>(this);
  F_TimerHideMenus->SetEnabled(false);
  F_TimerHideMenus->SetInterval(100);
  F_TimerHideMenus->SetOnTimer([this](TObject* Sender) { __QV_TimerOnTimer(Sender); });

  F_Memo = MakePrivate<TMemo>(this);
  F_Memo->SetAlign(TAlignLayout::Contents);
  F_Memo->SetLocked(false);
  F_Memo->SetHitTest(true);
  F_Memo->SetVisible(false);
  F_Memo->SetStyledSettings({});
  F_Memo->TextSettings()->Font()->SetSize(30);
  F_Memo->TextSettings()->SetFontColor(kBorderGrey);
  F_Memo->Margins()->Set(20, 20, 20, 20);
  F_Memo->SetParent(this);
  F_Memo->BringToFront();
}

TQVMenuBar::~TQVMenuBar() {
  delete F_TimerHideMenus;
  F_TimerHideMenus = nullptr;
  FImageLink.reset();
}

void TQVMenuBar::BeforeDestruction() {
  TPresentedControl::BeforeDestruction();
  // A bar that goes while its menu is open leaves no handler of its own behind.
  __QV_GiveBackControl();
  __QV_GiveBackForm();
}

void TQVMenuBar::__QV_测试_显示提示(TQVMenuBar*, TFmxObject*) {}

// --- the root and its lists ------------------------------------------------------------

TQVMenuBar* TQVMenuBar::__QV_GetRootMenuBar(TFmxObject* AObject) {
  TQVMenuBar* root = nullptr;
  for (TFmxObject* o = AObject; o != nullptr; o = o->Parent())
    if (auto* bar = dynamic_cast<TQVMenuBar*>(o)) root = bar;
  return root;
}

TQVMenuBar* TQVMenuBar::__QV_EnsureRootMenuBar() {
  // A tree being torn down keeps no books.
  if (IsDestroying()) return nullptr;
  // Looked up every time, not only when unset: a bar (or a control holding it) may have
  // moved through controls that are not bars, which tell nobody, and a root kept from
  // before would be stale. The walk is as short as the parent chain.
  FRootMenuBar = __QV_GetRootMenuBar(this);
  return FRootMenuBar;
}

void TQVMenuBar::__QV_DoUpdateRootMenuBarList(TQVMenuBar* ARoot) {
  ARoot->FMenuBarList.clear();
  ARoot->FMenuBarList.emplace_back(ARoot);
  // Bars of the root's own class (or a class derived from it), wherever they sit. A
  // root of exactly this class takes every bar, and asking the registry would describe
  // the whole class (every property) on a program's first menu just to learn that.
  TClass rootClass = IsExactly<TQVMenuBar>(ARoot) ? nullptr : ClassOfInstance(ARoot);
  auto walk = [&](auto& self, TFmxObject* From) -> void {
    for (TFmxObject* child : From->ChildrenList()) {
      if (dynamic_cast<TControl*>(child) == nullptr) continue;
      auto* bar = dynamic_cast<TQVMenuBar*>(child);
      if (bar != nullptr && (rootClass == nullptr || rootClass->IsInstance(bar))) {
        ARoot->FMenuBarList.emplace_back(bar);
        bar->FRootMenuBar = ARoot;
      }
      self(self, child);
    }
  };
  walk(walk, ARoot);
}

// A bar that held entries and bars of its own while it stood alone brings them along:
// the root's lists must name every bar and entry of its tree, and only the root's.
void TQVMenuBar::__QV_JoinMenuTree(TQVMenuBar* ARoot, TQVMenuBar* ABar) {
  // Listed once, also when it comes back into the tree that still lists it (only then
  // is the list searched, so building a tree bar by bar stays linear).
  if (ABar->FRootMenuBar.Get() == ARoot)
    EraseEntries(ARoot->FMenuBarList, [ABar](const TQVMenuBar* b) { return b == ABar; });
  ARoot->FMenuBarList.emplace_back(ABar);
  ABar->FRootMenuBar = ARoot;
  std::vector<TQVMenuBar*> bars;
  std::vector<TQVMenuButton*> buttons;
  CollectMenuTree(ABar, bars, buttons);
  ABar->FMenuBarList.clear();
  ABar->FMenuButtonList.clear();
  // The tree's image list reaches the newcomers, so their entries can show its glyphs.
  if (TBaseImageList* images = ARoot->GetImages()) {
    for (TQVMenuBar* bar : bars) bar->__QV_LinkImages(images);
    ABar->__QV_LinkImages(images);
    for (TQVMenuButton* button : buttons) button->FMenuButtonImags = images;
  }
  if (bars.empty() && buttons.empty()) return;
  const std::unordered_set<const TObject*> moving = [&] {
    std::unordered_set<const TObject*> s(bars.begin(), bars.end());
    s.insert(buttons.begin(), buttons.end());
    return s;
  }();
  auto isMoving = [&](const TObject* o) { return moving.count(o) != 0; };
  EraseEntries(ARoot->FMenuBarList, isMoving);
  EraseEntries(ARoot->FMenuButtonList, isMoving);
  for (TQVMenuBar* bar : bars) {
    bar->FRootMenuBar = ARoot;
    bar->FMenuBarList.clear();
    bar->FMenuButtonList.clear();
    ARoot->FMenuBarList.emplace_back(bar);
  }
  for (TQVMenuButton* button : buttons) {
    button->FMenuBarRoot = ARoot;
    ARoot->FMenuButtonList.emplace_back(button);
  }
}

// ABar left ARoot's tree: none of it stays in ARoot's lists, and what ABar holds is
// now its own tree.
void TQVMenuBar::__QV_LeaveMenuTree(TQVMenuBar* ARoot, TQVMenuBar* ABar) {
  std::vector<TQVMenuBar*> bars;
  std::vector<TQVMenuButton*> buttons;
  CollectMenuTree(ABar, bars, buttons);
  std::unordered_set<const TObject*> leaving(bars.begin(), bars.end());
  leaving.insert(buttons.begin(), buttons.end());
  leaving.insert(ABar);
  auto isLeaving = [&](const TObject* o) { return leaving.count(o) != 0; };
  EraseEntries(ARoot->FMenuBarList, isLeaving);
  EraseEntries(ARoot->FMenuButtonList, isLeaving);
  ABar->FRootMenuBar = nullptr;
  if (ABar->IsDestroying()) return;
  ABar->FMenuBarList.clear();
  ABar->FMenuButtonList.clear();
  for (TQVMenuBar* bar : bars) {
    bar->FRootMenuBar = ABar;
    ABar->FMenuBarList.emplace_back(bar);
  }
  for (TQVMenuButton* button : buttons) {
    button->FMenuBarRoot = ABar;
    ABar->FMenuButtonList.emplace_back(button);
  }
}

void TQVMenuBar::__QV_AdoptMenuButton(TQVMenuBar* ARoot, TQVMenuButton* AButton) {
  // The entry's own layout on arrival runs handlers; one that moved this bar into ARoot's
  // tree listed the entry already. Only then is the list walked.
  const bool listed =
      AButton->FMenuBarRoot.Get() == ARoot &&
      std::any_of(ARoot->FMenuButtonList.begin(), ARoot->FMenuButtonList.end(),
                  [AButton](const TWeak<TQVMenuButton>& b) { return b.Get() == AButton; });
  if (!listed) ARoot->FMenuButtonList.emplace_back(AButton);
  AButton->FMenuBarRoot = ARoot;
  AButton->FParentMenuBar = this;
  if (FImageLink != nullptr && FImageLink->Images() != nullptr)
    AButton->FMenuButtonImags = FImageLink->Images();
  // A separator, too, takes the look of its bar's entries.
  AButton->SetMenuButtonStyle(FMenuBarStyle == TQVMenuBarStyle::msMainMenuBar
                                  ? TQVMenuButtonStyle::mbMainMenuButton
                                  : TQVMenuButtonStyle::mbSubMenuButton);
}

// --- children ---------------------------------------------------------------------

void TQVMenuBar::DoInsertObject(int Index, TFmxObject* AObject) {
  // The newcomer's layout runs application code that may free this bar or the newcomer.
  TDispatchScope scope;
  TPresentedControl::DoInsertObject(Index, AObject);
  // Freed (this bar frees its children with it) or moved on by a handler.
  if (AObject->Parent() != this) return;
  __QV_测试_显示提示(this, AObject);
  // What the form owns may join only as a bar or an entry; the bar's own parts and
  // controls owned by other controls are let in.
  if (auto* form = dynamic_cast<TForm*>(AObject->Owner());
      form != nullptr && !IsExactly<TQVMenuBar>(AObject) && !IsExactly<TQVMenuButton>(AObject)) {
    ShowMessage(kOnlyMenuChildren);
    AObject->SetParent(form);
    return;
  }
  TQVMenuBar* root = __QV_EnsureRootMenuBar();
  if (root == nullptr) return;
  if (auto* bar = dynamic_cast<TQVMenuBar*>(AObject)) {
    __QV_JoinMenuTree(root, bar);
    // The added bar takes the root's colours through its own setters; they may run
    // resize and leave handlers, which may free any of the three: a freed bar takes
    // the colours to no tree and shows nothing.
    bar->SetBackgroundColor(root->FBackgroundColor);
    bar->SetBorderColor(root->FBorderColor);
    bar->SetFontColor(root->FFontColor);
    bar->SetSelectBarColor(root->FSelectBarColor);
    bar->SetSelectBarOpacity(root->FSelectBarOpacity);
    bar->SetDefaultMenubarColor(root->FDefaultMenubarColor);
    // A bar being read has not its style yet (it follows in the text); it closes
    // itself once read.
    if (bar->FMenuBarStyle == TQVMenuBarStyle::msSubMenuBar &&
        !(bar->IsLoading() && bar->IsReading()))
      bar->SetVisible(IsDesigning());
    return;
  }
  if (auto* button = dynamic_cast<TQVMenuButton*>(AObject)) __QV_AdoptMenuButton(root, button);
}

void TQVMenuBar::Loaded() {
  TPresentedControl::Loaded();
  if (HangsInMenu(*this)) SetVisible(IsDesigning());
}

// --- where entries end ----------------------------------------------------------------

float TQVMenuBar::__QV_EntriesEnd(bool Across, const TQVMenuButton* Newcomer) {
  if (!FEntriesEnd.Valid) {
    FEntriesEnd = TEntriesEnd{};
    FEntriesEnd.Valid = true;
    for (TFmxObject* child : ChildrenList()) {
      auto* b = dynamic_cast<TQVMenuButton*>(child);
      if (b != nullptr && b != Newcomer) __QV_AccountEntryEnd(b);
    }
  }
  return Across ? FEntriesEnd.Right : FEntriesEnd.Bottom;
}

// An entry's edges moved (or it joined): an edge past the known one becomes it; the
// entry that held an edge moving back leaves it unknown until the next walk.
void TQVMenuBar::__QV_AccountEntryEnd(const TQVMenuButton* AButton) {
  if (!FEntriesEnd.Valid) return;
  const TRectF margins = AButton->MarginsRect();
  auto account = [&](float Edge, float& End, const TObject*& Holder) {
    if (Edge >= End) {
      End = Edge;
      Holder = AButton;
    } else if (Holder == AButton) {
      FEntriesEnd.Valid = false;
    }
  };
  account(AButton->Position()->X() + AButton->Width() + margins.Right, FEntriesEnd.Right,
          FEntriesEnd.RightHolder);
  account(AButton->Position()->Y() + AButton->Height() + margins.Bottom, FEntriesEnd.Bottom,
          FEntriesEnd.BottomHolder);
}

void TQVMenuBar::ChildGeometryChanged(TControl* AChild) {
  TPresentedControl::ChildGeometryChanged(AChild);
  // The highlight keeps to its entry as the bar's layout sizes it.
  if (AChild != nullptr && AChild == FLitEntry.Get() && F_SelectedBar->Visible())
    __QV_PlaceHighlight(FLitEntry.Get());
  if (!FEntriesEnd.Valid) return;
  if (auto* b = dynamic_cast<TQVMenuButton*>(AChild)) __QV_AccountEntryEnd(b);
}

void TQVMenuBar::DoRemoveObject(TFmxObject* AObject) {
  // The entry that leaves may have held an edge.
  FEntriesEnd.Valid = false;
  // The leaving child's ParentChanged runs application code that may free this bar or
  // the child; a freed child is already out of every weak list, and a bar on its way
  // out has no root.
  TDispatchScope scope;
  // The tree the entry was listed in, asked before it leaves (leaving, it forgets it).
  auto* leaving = dynamic_cast<TQVMenuButton*>(AObject);
  const TWeak<TQVMenuBar> listedIn = leaving != nullptr ? leaving->FMenuBarRoot : nullptr;
  TPresentedControl::DoRemoveObject(AObject);
  __QV_测试_显示提示(this, AObject);
  TQVMenuBar* root = __QV_EnsureRootMenuBar();
  if (root == nullptr) {
    // A bar on its way out keeps no books; an entry a handler takes out of it whole
    // still leaves the list of the tree it was in, or joining another bar of that tree
    // would list it twice.
    if (TQVMenuBar* was = listedIn.Get(); was != nullptr && !leaving->IsDestroying())
      EraseEntries(was->FMenuButtonList, [leaving](const TObject* b) { return b == leaving; });
    return;
  }
  if (auto* bar = dynamic_cast<TQVMenuBar*>(AObject)) {
    __QV_LeaveMenuTree(root, bar);
    return;
  }
  auto* button = dynamic_cast<TQVMenuButton*>(AObject);
  if (button == nullptr) return;
  // Identity, not the name: unnamed entries are all different entries.
  EraseEntries(root->FMenuButtonList, [button](const TObject* b) { return b == button; });
  // Bars hanging on the entry let go of it (those on an entry being freed did when its
  // freeing began, and no link names it any more).
  ForEachIn(root->FMenuBarList, [button](TQVMenuBar* b) {
    if (b->FTargetButton.Get() == button) b->SetTargetButton(nullptr);
  });
}

// --- style --------------------------------------------------------------------------

void TQVMenuBar::SetMenuBarStyle(TQVMenuBarStyle Value) {
  // Restyling runs handlers that may free this bar or its tree; what they free is
  // restyled to no effect.
  TDispatchScope scope;
  __QV_测试_显示提示(this, nullptr);
  TQVMenuBar* root = __QV_EnsureRootMenuBar();
  if (Value == FMenuBarStyle || root == nullptr) return;
  __QV_DoUpdateRootMenuBarList(root);
  // A stored form holds the style the bar showed, which these checks may refuse in the
  // order the text is read (a main bar the application moved into another bar): while
  // read, the style is taken as written, without a message.
  const bool reading = IsLoading();
  if (!reading && Parent() != nullptr && IsExactly<TQVMenuBar>(Parent())) {
    ShowMessage(ParentIsMenuBarMessage(Name()));
    return;
  }
  // Restyles this bar's own entries.
  auto restyleOwn = [&](TQVMenuButtonStyle Style) {
    ForEachIn(root->FMenuButtonList, [&](TQVMenuButton* b) {
      if (b->Parent() == this) b->SetMenuButtonStyle(Style);
    });
  };
  if (Value == TQVMenuBarStyle::msMainMenuBar) {
    bool refused = false;
    // Without an owner form there is no other main bar to count.
    if (TForm* form = FOwnerForm; form != nullptr && !reading) {
      for (int i = 0; i < form->ComponentCount(); ++i) {
        auto* other = dynamic_cast<TQVMenuBar*>(form->Components(i));
        if (other != nullptr && other->FMenuBarStyle == TQVMenuBarStyle::msMainMenuBar) {
          ShowMessage(kOnlyOneMainBar);
          refused = true;
          break;
        }
      }
    }
    // Only the root of a tree may lead it (by identity: unnamed bars are not all roots).
    if (!refused && !reading && root != this) {
      ShowMessage(NotTheRootMessage(Name(), root->Name()));
      refused = true;
    }
    if (!refused) {
      F_BackgroundColor->SetVisible(false);
      SetAlign(TAlignLayout::MostTop);
      // The strip's padding from the start, not only from its first paint: a stored
      // form read back then lays its entries out where they were written.
      Padding()->Set(1, 0, 1, 0);
      FMenuBarStyle = TQVMenuBarStyle::msMainMenuBar;
      restyleOwn(TQVMenuButtonStyle::mbMainMenuButton);
    }
  } else {
    F_BackgroundColor->Stroke()->SetKind(TBrushKind::Solid);
    F_BackgroundColor->SetVisible(true);
    F_TimerHideMenus->SetEnabled(false);
    SetAlign(TAlignLayout::None);
    SetSize(200, 300);
    FMenuBarStyle = TQVMenuBarStyle::msSubMenuBar;
    restyleOwn(TQVMenuButtonStyle::mbSubMenuButton);
  }
  // Every entry of the tree takes the look of the bar it stands on, refused or not;
  // while read, each entry's text says what it looks like.
  if (reading) return;
  ForEachIn(root->FMenuButtonList, [](TQVMenuButton* b) {
    auto* bar = dynamic_cast<TQVMenuBar*>(b->Parent());
    if (bar == nullptr) return;
    if (bar->FMenuBarStyle == TQVMenuBarStyle::msSubMenuBar) {
      b->SetAlign(TAlignLayout::Top);
      b->SetMenuButtonStyle(TQVMenuButtonStyle::mbSubMenuButton);
      b->SetHeight(kEntryHeight);
    } else {
      b->SetAlign(TAlignLayout::Left);
      b->SetMenuButtonStyle(TQVMenuButtonStyle::mbMainMenuButton);
      if (b->Width() > 300) b->SetWidth(200);
    }
  });
}

}  // namespace fmx
