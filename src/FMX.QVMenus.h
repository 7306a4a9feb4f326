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

enum class TQVMenuButtonStyle { mbMainMenuButton, mbSubMenuButton, mbSeparatorBar };
enum class TQVMark { mNone, mImageList, mIcon, mTick, mChar };
enum class TQVMenuBarStyle { msMainMenuBar, msSubMenuBar };

class TQVMenuBar;
// The menus' keyboard: F10 and Alt, arrows, Enter, Escape and shortcuts.
class TQVMenuKeyboard;

// A key with its modifiers (Shift, Ctrl and Alt only), as a shortcut text names it.
struct TQVShortCut {
  uint16_t Key = 0;  // a vk code; 0 when the text names no key
  TShiftState Shift;
  bool Valid() const { return Key != 0; }
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

// One entry of a menu: a caption on a main bar; a row with a mark column, caption,
// shortcut text and a more-arrow on a sub-menu bar; or a separator line.
class TQVMenuButton : public TPresentedControl {
 public:
  explicit TQVMenuButton(TComponent* AOwner);
  ~TQVMenuButton() override;

  // Published properties.
  TQVMark Mark() const { return FMark; }
  void SetMark(TQVMark Value);
  bool IsCheck() const { return FIsCheck; }
  void SetIsCheck(bool Value);
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int Value);
  TQVMenuButtonStyle MenuButtonStyle() const { return FMenuButtonStyle; }
  // Applies the style's look again even when the style is unchanged.
  void SetMenuButtonStyle(TQVMenuButtonStyle Value);
  const std::string& ButtonText() const { return FButtonText; }
  void SetButtonText(const std::string& Value);
  const std::string& ShortCut() const { return FShortCut; }
  void SetShortCut(const std::string& Value);
  // The key the shortcut text names. Key 0 when it names none: a text that is not
  // blank is then shown only (ShortCutIsDisplayOnly), never an error.
  const TQVShortCut& ShortCutKey() const;
  bool ShortCutIsDisplayOnly() const;
  // The button keeps its own copy; assigning a picture to a sub-menu entry makes it an
  // icon entry.
  TBitmap* IconBitmap() const { return FIconBitmap; }
  void SetIconBitmap(TBitmap* Value);
  bool MoreArrow() const { return FMoreArrow; }
  void SetMoreArrow(bool Value);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  // One UTF-16 code unit, drawn in the "Webdings" family; half of a surrogate pair
  // becomes U+FFFD, the stand-in shown for it.
  fmx::Char Char() const { return FChar; }
  void SetChar(fmx::Char Value);

  // Public, not stored.
  float MenuButtonFontSize() const { return FMenuButtonFontSize; }
  void SetMenuButtonFontSize(float Value);
  TAlphaColor MenuButtonFontColor() const { return FMenuButtonFontColor; }
  void SetMenuButtonFontColor(TAlphaColor Value);

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
  void DoMouseLeave() override;

 private:
  friend class TQVMenuBar;
  friend class TQVMenuKeyboard;
  // Test access to the private tree and state.
  friend class TQVMenusInspector;

  void __QV_CreateMenuButtonAppearance();
  void __QV_UpdateMenuButtonTotalWidth();
  static TQVMenuBar* __QV_GetParentMenuBar(TQVMenuButton* AButton);
  // Shows the sub-menu bar that hangs on this entry (below a main entry, to the right
  // of a sub-menu entry).
  void __QV_DisplaySubMenuOfTheMainMenuButton();
  void __QV_DisplaySubMenuOfTheSubMenuButton();
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
  TBitmap* FIconBitmap = nullptr;
  // The picture FIconBitmap points to, kept inside the entry (no allocation of its
  // own); it tells the entry of every change, whatever handler the application sets.
  class TIconBitmap final : public TBitmap {
   public:
    explicit TIconBitmap(TQVMenuButton* AEntry) : FEntry(AEntry) {}

   private:
    void HolderChanged() override { FEntry->OnBitmapChanged(this); }
    TQVMenuButton* FEntry;
  };
  TIconBitmap FIconBitmapStore{this};
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
  explicit TQVMenuBar(TComponent* AOwner);
  ~TQVMenuBar() override;

  // Published properties.
  TBaseImageList* GetImages() const;
  TBaseImageList* Images() const { return GetImages(); }
  void SetImages(TBaseImageList* Value);
  bool DefaultMenubarColor() const { return FDefaultMenubarColor; }
  void SetDefaultMenubarColor(bool Value);
  TAlphaColor BackgroundColor() const { return FBackgroundColor; }
  void SetBackgroundColor(TAlphaColor Value);
  TAlphaColor BorderColor() const { return FBorderColor; }
  void SetBorderColor(TAlphaColor Value);
  TAlphaColor SelectBarColor() const { return FSelectBarColor; }
  void SetSelectBarColor(TAlphaColor Value);
  float SelectBarOpacity() const { return FSelectBarOpacity; }
  void SetSelectBarOpacity(float Value);
  TAlphaColor FontColor() const { return FFontColor; }
  void SetFontColor(TAlphaColor Value);
  // The entry that opens this sub-menu bar.
  TQVMenuButton* TargetButton() const { return FTargetButton; }
  void SetTargetButton(TQVMenuButton* Value);
  TQVMenuBarStyle MenuBarStyle() const { return FMenuBarStyle; }
  void SetMenuBarStyle(TQVMenuBarStyle Value);

  // Whether this tree's menu is open; opening starts the hide timer, closing stops it.
  bool MenuButtonPressed() const { return FMenuButtonPressed; }
  void SetMenuButtonPressed(bool Value);

  // Run-time only, never stored; read on the root: the entries' shortcuts choose them
  // when pressed on the bar's form, menus open or not.
  bool ShortCutsEnabled() const { return FShortCutsEnabled; }
  void SetShortCutsEnabled(bool Value);

  // A hook where the tree announces a change; it does nothing.
  void __QV_测试_显示提示(TQVMenuBar* ABar, TFmxObject* AObject);

 protected:
  // Every way of adding a child ends here: refusals and the root's bookkeeping.
  void DoInsertObject(int Index, TFmxObject* AObject) override;
  void DoRemoveObject(TFmxObject* AObject) override;
  void Paint() override;
  // A press on the empty part of a main bar closes its menus.
  void MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) override;
  // Entering the empty part of a sub-menu closes its deeper cascades.
  void DoMouseEnter() override;
  // A taken-over control that is freed is never touched again.
  void Notification(TComponent* AComponent, TOperation Operation) override;
  // The root of a tree listens to its form's keys; a bar that joins a tree stops.
  void ParentChanged() override;
  // Keeps FEntriesEnd current as entries move and resize.
  void ChildGeometryChanged(TControl* AChild) override;

 private:
  friend class TQVMenuButton;
  friend class TQVMenuKeyboard;
  friend class TQVMenusInspector;

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
  // Closes this root's menus: highlight and sub bars hidden, every handler taken over
  // given back, the timer stopped. Ends early (false) when a handler freed this bar.
  bool __QV_CloseMenus(bool HideHighlight = true);
  // Puts the foreign control's own handlers back, where this bar's are still on it.
  void __QV_GiveBackControl();
  void __QV_GiveBackForm();
  friend struct TQVTakeOverMouseDown<TQVMenuBar>;
  friend struct TQVTakeOverMouseLeave<TQVMenuBar>;
  using TControlDownHook = TQVTakeOverMouseDown<TQVMenuBar>;
  using TControlLeaveHook = TQVTakeOverMouseLeave<TQVMenuBar>;
  struct TFormDownHook;
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
  std::vector<TWeak<TQVMenuButton>> FMenuButtonList;
  std::vector<TWeak<TQVMenuBar>> FMenuBarList;
  std::vector<float> FWidthList;
  bool FMenuButtonPressed = false;
  TLayout* F_Container = nullptr;
  TRectangle* F_SelectedBar = nullptr;
  TRectangle* F_BackgroundColor = nullptr;
  TTimer* F_TimerHideMenus = nullptr;
  TWeak<TControl> FControl;
  // Who FControl was, to know its free notification once the link reads null.
  const TComponent* FControlIdentity = nullptr;
  TMouseEvent FControl_OnMouseDownEvent;
  TNotifyEvent FControl_OnMouseLeaveEvent;
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
  // The form whose keys this bar listens to.
  TWeak<TCommonCustomForm> FKeyForm;
};

namespace qvmenus {
// Makes the menu classes known to stored forms and puts them on the "QVCtrl" page.
void Register();
}  // namespace qvmenus

}  // namespace fmx
