// Menus built from ordinary controls: entries (TQVMenuButton) and the bars that hold
// them (TQVMenuBar). A menu is a tree of parent/child relations: bars hold entries and
// sub-menu bars; the outermost bar of a tree, its root, keeps the lists of every bar
// and entry in it. The two classes work on each other's private state.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "FMX.QVTakeOver.h"
#include "host/Forms.h"
#include "host/ImageList.h"
#include "host/Shapes.h"
#include "host/StdCtrls.h"
#include "host/Timers.h"

namespace fmx {

/// What a menu entry is: an entry of a main bar, of a sub-menu bar, or a separator line.
enum class TQVMenuButtonStyle { mbMainMenuButton, mbSubMenuButton, mbSeparatorBar };
/// What a sub-menu entry shows in its mark column: nothing, an image-list glyph, its icon, a tick or a Webdings character.
enum class TQVMark { mNone, mImageList, mIcon, mTick, mChar };
/// A main menu bar or a sub-menu bar.
enum class TQVMenuBarStyle { msMainMenuBar, msSubMenuBar };

class TQVMenuBar;

// Whether closing a root's menus also hides the lit main entry (the keyboard keeps it
// while it steps from one main menu to the next).
enum class TMenuHighlight { Hide, Keep };
// The menus' keyboard: F10 and Alt, arrows, Enter, Escape and shortcuts.
class TQVMenuKeyboard;

// A key with its modifiers (Shift, Ctrl and Alt only), as a shortcut text names it.
struct TQVShortCut {
  uint16_t Key = 0;  // a vk code; 0 when the text names no key
  /// Ctrl, Shift and Alt as the shortcut needs them.
  TShiftState Shift;
  /// Whether the text named a key.
  bool Valid() const { return Key != 0; }
  /// The same key with the same modifiers.
  bool operator==(const TQVShortCut&) const = default;
};
// The shortcut a text names: "Ctrl+S", "Ctrl+Shift+N", "Alt+F4", "F5", "Ctrl+Enter";
// text around it that is not ASCII (a CJK label) is passed over. A key without Ctrl or
// Alt counts only when it types nothing and moves nothing (F1..F12, Insert, Delete), so
// menu keys and typing are never taken by a shortcut.
TQVShortCut QVParseShortCut(const std::string& Text);
// The letter a caption offers for Alt in parentheses, upper-cased: "文件(F)" gives 'F',
// as does "文件（F）"; 0 when there is none.
char QVMenuMnemonic(const std::string& Caption);
// The caption as it is read out: without that letter in parentheses ("文件(F)" reads 文件).
std::string QVMenuCaptionWithoutMnemonic(const std::string& Caption);

// One entry of a menu: a caption on a main bar; a row with a mark column, caption,
// shortcut text and a more-arrow on a sub-menu bar; or a separator line.
class TQVMenuButton : public TPresentedControl {
 public:
  /// Creates an entry with its private tree; it shows once parented to a TQVMenuBar.
  explicit TQVMenuButton(TComponent* AOwner);
  ~TQVMenuButton() override;

  // Published properties.
  TQVMark Mark() const { return FMark; }
  /// Sets what the mark column shows (see TQVMark).
  void SetMark(TQVMark Value);
  /// Whether the entry shows a tick (or, with a GroupIndex, is the chosen one of its radio group).
  bool IsCheck() const { return FIsCheck; }
  /// Ticks or unticks the entry; in a radio group, ticking unticks the others.
  void SetIsCheck(bool Value);
  /// The radio group the entry belongs to; 0: a check entry of its own.
  int GroupIndex() const { return FGroupIndex; }
  /// Sets GroupIndex.
  void SetGroupIndex(int Value);
  /// Whether the entry is a normal entry or a separator line.
  TQVMenuButtonStyle MenuButtonStyle() const { return FMenuButtonStyle; }
  // Applies the style's look again even when the style is unchanged.
  void SetMenuButtonStyle(TQVMenuButtonStyle Value);
  /// The caption; a letter in parentheses ("文件(F)") is its Alt key.
  const std::string& ButtonText() const { return FButtonText; }
  /// Sets the caption and lays the entry out again.
  void SetButtonText(const std::string& Value);
  /// The shortcut text shown at the right of a sub-menu entry ("Ctrl+S").
  const std::string& ShortCut() const { return FShortCut; }
  /// Sets the shortcut text; see ShortCutKey for the key it names.
  void SetShortCut(const std::string& Value);
  // The key the shortcut text names. Key 0 when it names none: a text that is not
  // blank is then shown only (ShortCutIsDisplayOnly), never an error.
  const TQVShortCut& ShortCutKey() const;
  /// True when the shortcut text is not blank but names no key.
  bool ShortCutIsDisplayOnly() const;
  // The button keeps its own copy, made when first asked for; assigning a picture to a
  // sub-menu entry makes it an icon entry.
  TBitmap* IconBitmap() const;
  /// Copies Value as the entry's icon (nullptr removes it).
  void SetIconBitmap(TBitmap* Value);
  /// Whether the entry shows an arrow pointing at a cascading menu.
  bool MoreArrow() const { return FMoreArrow; }
  /// Shows or hides the arrow.
  void SetMoreArrow(bool Value);
  /// The picture of the bars' image list the entry shows with Mark = mImageList (-1: none).
  int ImageIndex() const { return FImageIndex; }
  /// Sets ImageIndex.
  void SetImageIndex(int Value);
  // One UTF-16 code unit, drawn in the "Webdings" family; half of a surrogate pair
  // becomes U+FFFD, the stand-in shown for it.
  fmx::Char Char() const { return FChar; }
  /// Sets the Webdings character shown with Mark = mChar.
  void SetChar(fmx::Char Value);

  // Public, not stored.
  float MenuButtonFontSize() const { return FMenuButtonFontSize; }
  /// Sets the caption's font size.
  void SetMenuButtonFontSize(float Value);
  /// The caption's colour.
  TAlphaColor MenuButtonFontColor() const { return FMenuButtonFontColor; }
  /// Sets the caption's colour.
  void SetMenuButtonFontColor(TAlphaColor Value);

  // Read as a menu item (a check or radio item by its mark) or a separator, named by its
  // caption without the access letter; its sub-menu is its child; its action chooses it
  // as a click does (FMX.QVMenus.Accessible.cpp).
  void DescribeAccessible(TAccessibleDescription& D) const override;
  void AccessibleChildren(std::vector<TControl*>& Out) const override;
  bool DoAccessibleAction(int Index) override;

 protected:
  // Bars hanging on the entry move onto their forms, as when it leaves its bar.
  void BeforeDestruction() override;
  void ParentChanged() override;
  // Every way of adding a child ends here: foreign controls are kept out.
  void DoInsertObject(int Index, TFmxObject* AObject) override;
  void Paint() override;
  // A left press on a main entry opens or closes its menu.
  void MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) override;
  // A release on a sub-menu entry chooses it: ticks, closes the menus, then OnClick.
  void MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) override;
  // The highlight follows the mouse; open menus switch and cascades open on hover.
  void DoMouseEnter() override;
  /// The highlight leaves with the mouse unless a menu it opened is showing.
  void DoMouseLeave() override;
  // Follows the mouse across a sub-menu for the safe path into cascades.
  void MouseMove(TShiftState Shift, float X, float Y) override;

 private:
  friend class TQVMenuBar;
  friend class TQVMenuKeyboard;
  // Test access to the private tree and state.
  friend class TQVMenusInspector;

  void __QV_CreateMenuButtonAppearance();
  void __QV_UpdateMenuButtonTotalWidth();
  // The width the entry asks of its bar, measured now if a caption or shortcut changed
  // since it was last asked.
  float __QV_MenuButtonWidth();
  float __QV_MeasureSubMenuButtonWidth() const;
  static TQVMenuBar* __QV_GetParentMenuBar(TQVMenuButton* AButton);
  // Shows the sub-menu bar that hangs on this entry (below a main entry, to the right
  // of a sub-menu entry).
  void __QV_DisplaySubMenuOfTheMainMenuButton();
  void __QV_DisplaySubMenuOfTheSubMenuButton();
  // Both of the above: the first bar of the root's list that hangs on this entry (as
  // Same matches targets), fitted, kept inside the form below or beside the entry, shown.
  void ShowSubMenuBar(bool (*Same)(const TComponent*, const TComponent*), bool Beside);
  // What entering a sub-menu entry does: highlight, deeper cascades closed, its own
  // cascade opened.
  void __QV_EnterSubMenuEntry(TQVMenuBar* P);
  // Keeps the entry that opened P lit in its own bar, with P above it.
  static void __QV_KeepOpenerLit(TQVMenuBar* P);
  // Radio entries of one group on this entry's bar drop their tick, this one takes it.
  void __QV_ToggleTick(TQVMenuBar* AParentBar);
  // FParentMenuBar, looked up and kept when unset.
  TQVMenuBar* __QV_ParentMenuBar();
  void OnBitmapChanged(TObject* Sender);
  void Loaded() override;
  bool __QV_ReadingStoredMarks() const;
  // Clears the icon picture (which hides the icon through OnBitmapChanged).
  void __QV_EmptyIconBitmap();
  void __QV_ApplySubMenuMarks();
  // Leaves the tree it was registered with.
  void __QV_ForgetMenuTree();

  TWeak<TQVMenuBar> FMenuBarRoot;
  TWeak<TQVMenuBar> FParentMenuBar;
  TLayout* F_MarkContainer = nullptr;
  TGlyph* F_ImageIndexMark = nullptr;
  TImage* F_IconMark = nullptr;
  TPath* F_TickMark = nullptr;
  TLabel* F_CharMark = nullptr;
  TLayout* F_MenuBtnShortCutContainer = nullptr;
  TLabel* F_MenuButton = nullptr;
  TLabel* F_ShortCut = nullptr;
  TLayout* F_MoreArrowContainer = nullptr;
  TPath* F_MoreArrow = nullptr;
  TLine* F_SepratorLine = nullptr;
  float FMenuButtonWidth = 0;
  // A sub-menu entry's width matters only once its bar is fitted or painted, and
  // menus hold many entries that are never opened: measuring waits until then.
  bool FMenuButtonWidthDue = false;
  // The icon tells the entry of every change, whatever handler the application sets.
  // Made when first asked for: most entries of a big menu have none.
  void IconBitmapChanged() { OnBitmapChanged(FIconBitmap.get()); }
  using TIconBitmap = THeldNotifier<TBitmap, TQVMenuButton, &TQVMenuButton::IconBitmapChanged>;
  mutable THeldPtr<TIconBitmap> FIconBitmap;
  std::string FButtonText;
  TQVMenuButtonStyle FMenuButtonStyle = TQVMenuButtonStyle::mbSubMenuButton;
  TQVMark FMark = TQVMark::mNone;
  bool FIsCheck = false;
  bool FMoreArrow = false;
  // A stored Mark was read in the load under way (see OnBitmapChanged).
  bool FMarkRead = false;
  // While the constructor adds the entry's own parts, which stay where they are put.
  bool FAddingParts = false;
  std::string FShortCut;
  TAlphaColor FMenuButtonFontColor = 0;
  int FGroupIndex = 0;
  TWeak<TBaseImageList> FMenuButtonImags;
  int FImageIndex = -1;
  float FMenuButtonFontSize = 0;
  fmx::Char FChar = 0;
  // The text ShortCutKey was read from: whatever path changes FShortCut, the key is
  // read again once, on the next ask.
  mutable std::string FShortCutRead;
  mutable TQVShortCut FShortCutKey;
};

// A main menu bar (a strip of entries, normally along the top of a form) or a
// sub-menu bar (a panel with background and border, entries stacked top to bottom).
class TQVMenuBar : public TPresentedControl {
 public:
  /// Creates a bar with its private tree; the first bar of a tree is its root.
  explicit TQVMenuBar(TComponent* AOwner);
  ~TQVMenuBar() override;

  // Published properties.
  TBaseImageList* GetImages() const;
  /// The image list glyph entries draw from (the root bar's, shared by the tree).
  TBaseImageList* Images() const { return GetImages(); }
  /// Sets the image list; the link reads nullptr once the list is freed.
  void SetImages(TBaseImageList* Value);
  /// Whether the bar takes its colours from the form's style book rather than its own properties.
  bool DefaultMenubarColor() const { return FDefaultMenubarColor; }
  /// Sets DefaultMenubarColor.
  void SetDefaultMenubarColor(bool Value);
  /// The bar's background colour.
  TAlphaColor BackgroundColor() const { return FBackgroundColor; }
  /// Sets the background colour.
  void SetBackgroundColor(TAlphaColor Value);
  /// The colour of a sub-menu bar's border.
  TAlphaColor BorderColor() const { return FBorderColor; }
  /// Sets the border colour.
  void SetBorderColor(TAlphaColor Value);
  /// The colour of the highlight under the lit entry.
  TAlphaColor SelectBarColor() const { return FSelectBarColor; }
  /// Sets the highlight colour.
  void SetSelectBarColor(TAlphaColor Value);
  /// The highlight's opacity, 0 to 1.
  float SelectBarOpacity() const { return FSelectBarOpacity; }
  /// Sets the highlight's opacity.
  void SetSelectBarOpacity(float Value);
  /// The entries' text colour.
  TAlphaColor FontColor() const { return FFontColor; }
  /// Sets the entries' text colour.
  void SetFontColor(TAlphaColor Value);
  // The entry that opens this sub-menu bar.
  TQVMenuButton* TargetButton() const { return FTargetButton; }
  /// Hangs this sub-menu bar on an entry, which then opens it; refused (with a message) for an
  /// entry of this bar itself.
  void SetTargetButton(TQVMenuButton* Value);
  /// A main menu bar (entries left to right) or a sub-menu bar (a panel of entries).
  TQVMenuBarStyle MenuBarStyle() const { return FMenuBarStyle; }
  /// Sets the style; a bar that holds entries cannot change it (a message says so).
  void SetMenuBarStyle(TQVMenuBarStyle Value);

  // Whether this tree's menu is open; opening starts the hide timer, closing stops it.
  bool MenuButtonPressed() const { return FMenuButtonPressed; }
  /// Opens or closes this tree's menu.
  void SetMenuButtonPressed(bool Value);

  // Run-time only, never stored; read on the root: the entries' shortcuts choose them
  // when pressed on the bar's form, menus open or not.
  bool ShortCutsEnabled() const { return FShortCutsEnabled; }
  /// Switches the entries' shortcut keys on or off for this tree.
  void SetShortCutsEnabled(bool Value);

  // A hook where the tree announces a change; it does nothing.
  void __QV_测试_显示提示(TQVMenuBar* ABar, TFmxObject* AObject);

  // Read as a menu bar (main style) or a menu (sub style) of its entries in order.
  void DescribeAccessible(TAccessibleDescription& D) const override;
  void AccessibleChildren(std::vector<TControl*>& Out) const override;

 protected:
  // Every way of adding a child ends here: refusals and the root's bookkeeping.
  void DoInsertObject(int Index, TFmxObject* AObject) override;
  /// A bar or entry taken out of the tree leaves the root's lists.
  void DoRemoveObject(TFmxObject* AObject) override;
  // A sub-menu bar read hanging in a menu starts closed, as any added at run time does.
  void Loaded() override;
  void Paint() override;
  // A press on the empty part of a main bar closes its menus.
  void MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) override;
  // Entering the empty part of a sub-menu closes its deeper cascades.
  void DoMouseEnter() override;
  // The safe path into a cascade across the bar's own gaps (a separator).
  void MouseMove(TShiftState Shift, float X, float Y) override;
  // A taken-over control that is freed is never touched again.
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // A bar that goes while its menu is open gives back what it took over.
  void BeforeDestruction() override;
  // The root of a tree listens to its form's keys; a bar that joins a tree stops.
  void ParentChanged() override;
  // Keeps FEntriesEnd current as entries move and resize.
  void ChildGeometryChanged(TControl* AChild) override;

 private:
  friend class TQVMenuButton;
  friend class TQVMenuKeyboard;
  friend class TQVMenusInspector;
  friend class TQVTakeOver;

  void __QV_CreateMenuBarAppearance();
  static TQVMenuBar* __QV_GetRootMenuBar(TFmxObject* AObject);
  // Where a newcomer entry starts: past the farthest edge (plus margin) of the entries
  // this bar holds, across or down, and never before 0. Kept up to date as entries
  // move, so that adding entry n does not walk the n before it.
  float __QV_EntriesEnd(bool Across, const TQVMenuButton* Newcomer);
  void __QV_AccountEntryEnd(const TQVMenuButton* AButton);
  // FRootMenuBar, looked up again (the outermost bar above); nil while being torn down.
  TQVMenuBar* __QV_EnsureRootMenuBar();
  void __QV_DoUpdateRootMenuBarList(TQVMenuBar* ARoot);
  void __QV_DoDynamicUpdateComponentColor();
  void __QV_DoUpdateMainbMenuBarTotalWidth();
  void __QV_DoUpdateSubMenuBarTotalHeight();
  void __QV_TimerOnTimer(TObject* Sender);
  // Hides every bar below AMenuBar (not AMenuBar itself) and their highlights.
  void __QV_HideAllSubMenuBar(TQVMenuBar* AMenuBar);
  // The handlers put on a foreign control and on the form while a menu is open.
  void __QV_Control_OnMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift,
                                float X, float Y);
  void __QV_Control_OnMouseLeave(TObject* Sender);
  void __QV_Form_OnMouseDown(TObject* Sender, TMouseButton Button, TShiftState Shift, float X,
                             float Y);
  // Closes this root's menus: sub bars hidden (the highlight too, unless kept), every
  // handler taken over given back, the timer stopped; callers that go on after it ask
  // the objects they go on with (a handler may have freed them).
  void __QV_CloseMenus(TMenuHighlight Highlight = TMenuHighlight::Hide);
  // Puts the foreign control's own handlers back, where this bar's are still on it.
  void __QV_GiveBackControl();
  void __QV_GiveBackForm();
  struct TFormDownHook;
  // Told of every press on the form first: a press outside the open tree closes it at
  // once, before it reaches what is under the mouse.
  void __QV_PressPreview(TMouseButton Button);
  // Lays a sub-menu bar out as its paint would (width from its entries, height summed),
  // so that it can be placed and highlighted before its first paint.
  void __QV_FitSubMenuBar();
  // Moves the sub-menu bar S, placed at P in its parent's coordinates, so that it shows
  // whole inside its form; a cascade that would cross the right edge opens to the left
  // of its entry T instead.
  static void __QV_KeepInsideForm(TQVMenuBar* S, TPointF P, TQVMenuButton* T, bool Cascade);
  // The highlight of this bar placed on the entry.
  void __QV_PlaceHighlight(TQVMenuButton* AButton);
  // The safe path toward an open cascade: whether a move to P (form coordinates)
  // heads for the cascade open below this bar, from where the mouse was before.
  bool __QV_HeadingForCascade(TPointF P) const;
  void __QV_SwitchTimerOnTimer(TObject* Sender);
  // Starts (again) the wait for the mouse to rest before a cascade switches.
  void __QV_WaitForRest();
  // The tree is opening: the other menu tree of the window closes.
  void __QV_OpeningTree();
  // A bar with entries and sub bars of its own joins ARoot's tree, or leaves it and
  // becomes the root of what it holds.
  void __QV_JoinMenuTree(TQVMenuBar* ARoot, TQVMenuBar* ABar);
  void __QV_LeaveMenuTree(TQVMenuBar* ARoot, TQVMenuBar* ABar);
  void __QV_AdoptMenuButton(TQVMenuBar* ARoot, TQVMenuButton* AButton);
  // Links this bar to the image list (nil drops the link).
  void __QV_LinkImages(TBaseImageList* Value);

  TMemo* F_Memo = nullptr;
  TWeak<TForm> FOwnerForm;
  TWeak<TQVMenuBar> FRootMenuBar;
  TWeak<TQVMenuButton> FTargetButton;
  std::unique_ptr<TImageLink> FImageLink;
  // A root's lists of its whole tree, in the memory of the entries themselves: a big
  // menu's lists then touch none of the process's heap as they grow.
  detail::TObjectVector<TWeak<TQVMenuButton>> FMenuButtonList;
  detail::TObjectVector<TWeak<TQVMenuBar>> FMenuBarList;
  detail::TObjectVector<float> FWidthList;
  bool FMenuButtonPressed = false;
  TLayout* F_Container = nullptr;
  TRectangle* F_SelectedBar = nullptr;
  TRectangle* F_BackgroundColor = nullptr;
  TTimer* F_TimerHideMenus = nullptr;
  // The foreign control under the mouse, borrowed while the menu is open.
  TQVTakeOver FTakeOver;
  TMouseEvent FForm_OnMouseDownEvent;
  // The form the hook is on (the owner form may have gone by the time it is given back).
  TWeak<TForm> FHookedForm;
  // Each edge's entry is known by identity only; an entry leaving drops the figures.
  struct TEntriesEnd {
    float Right = 0, Bottom = 0;
    const TObject* RightHolder = nullptr;
    const TObject* BottomHolder = nullptr;
    bool Valid = false;
  };
  TEntriesEnd FEntriesEnd;
  TQVMenuBarStyle FMenuBarStyle = TQVMenuBarStyle::msSubMenuBar;
  TAlphaColor FBorderColor = 0;
  TAlphaColor FFontColor = 0;
  TAlphaColor FBackgroundColor = 0;
  bool FDefaultMenubarColor = false;
  float FSelectBarOpacity = 0;
  TAlphaColor FSelectBarColor = 0;
  bool FShortCutsEnabled = false;
  // F10, a lone Alt or Alt+letter put the main bar under the keyboard even while its
  // menus are closed; every close of the menus ends it.
  bool FKeyboardMode = false;
  // Alt went down and no other key since: its release is a lone Alt.
  bool FAltAlone = false;
  // Menu trees opened (qvmenus::MenuTreesOpened) when that Alt went down.
  unsigned FAltOpened = 0;
  // The form whose keys this bar listens to.
  TWeak<TCommonCustomForm> FKeyForm;
  // On the root: the main entry pressed to open the menus while its button is still
  // held; a release on a sub-menu entry then chooses it (press, drag, release).
  TWeak<TQVMenuButton> FDragOpener;
  // Where that press was (form coordinates): a release that has not moved from it is
  // the end of a click, even over an entry of a menu that opened over the press.
  TPointF FDragFrom;
  // The entry this bar's highlight was last placed on (kept on it as the entry resizes).
  TWeak<TQVMenuButton> FLitEntry;
  // The safe path into a cascade: where the mouse last moved over this bar's entries
  // (form coordinates), and the entry it entered whose cascade waits until the mouse
  // rests or stops heading for the open one.
  TPointF FLastMouse;
  bool FHasLastMouse = false;
  TWeak<TQVMenuButton> FPendingEntry;
  // The mouse entered the bar's own gap on its way to the open cascade: its closing
  // waits likewise.
  bool FPendingHide = false;
  TTimer* F_TimerSwitch = nullptr;
};

namespace qvmenus {
// Makes the menu classes known to stored forms and puts them on the "QVCtrl" page.
void Register();
// The keyboard's steps on one sub-menu bar, for a menu walked outside a main bar's
// tree (the title bar's system menu): the entry lit now, the next enabled entry from
// From in direction By (+1, -1; from nil the first or last), and lighting an entry as
// hovering it would (false when a handler freed it).
TQVMenuButton* LitEntry(TQVMenuBar* Bar);
TQVMenuButton* StepEntry(TQVMenuBar* Bar, TQVMenuButton* From, int By);
bool LightEntry(TQVMenuButton* Entry);
// Lays a sub-menu bar out as its paint will (width and height from its entries), so
// that it can be placed before it was ever painted.
void FitSubMenuBar(TQVMenuBar* Bar);
}  // namespace qvmenus

}  // namespace fmx
