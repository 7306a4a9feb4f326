// Access to the menu controls' private trees and books, for the unit tests and the soak.
#pragma once

#include <vector>

#include "FMX.QVMenus.h"

namespace fmx {

class TQVMenusInspector {
 public:
  // Entries.
  static TLayout* MarkColumn(TQVMenuButton* b) { return b->F_MarkContainer; }
  static TGlyph* Glyph(TQVMenuButton* b) { return b->F_ImageIndexMark; }
  static TImage* Icon(TQVMenuButton* b) { return b->F_IconMark; }
  static TPath* Tick(TQVMenuButton* b) { return b->F_TickMark; }
  static TLabel* CharLabel(TQVMenuButton* b) { return b->F_CharMark; }
  static TLayout* TextArea(TQVMenuButton* b) { return b->F_MenuBtnShortCutContainer; }
  static TLabel* Caption(TQVMenuButton* b) { return b->F_MenuButton; }
  static TLabel* ShortCutLabel(TQVMenuButton* b) { return b->F_ShortCut; }
  static TLayout* ArrowColumn(TQVMenuButton* b) { return b->F_MoreArrowContainer; }
  static TPath* Arrow(TQVMenuButton* b) { return b->F_MoreArrow; }
  static TLine* Line(TQVMenuButton* b) { return b->F_SepratorLine; }
  static float AskedWidth(TQVMenuButton* b) { return b->__QV_MenuButtonWidth(); }
  static TQVMenuBar* RootOf(TQVMenuButton* b) { return b->FMenuBarRoot; }
  static TQVMenuBar* ParentBarOf(TQVMenuButton* b) { return b->FParentMenuBar; }
  static TBaseImageList* ImagesOf(TQVMenuButton* b) { return b->FMenuButtonImags; }

  // Bars.
  static TRectangle* Background(TQVMenuBar* m) { return m->F_BackgroundColor; }
  static TRectangle* Selection(TQVMenuBar* m) { return m->F_SelectedBar; }
  static TLayout* Container(TQVMenuBar* m) { return m->F_Container; }
  static TMemo* Memo(TQVMenuBar* m) { return m->F_Memo; }
  static TTimer* HideTimer(TQVMenuBar* m) { return m->F_TimerHideMenus; }
  static TForm* OwnerForm(TQVMenuBar* m) { return m->FOwnerForm; }
  static TQVMenuBar* RootOf(TQVMenuBar* m) { return m->FRootMenuBar; }
  // The lists as the root keeps them; a null entry would be a freed object still listed.
  static std::vector<TQVMenuBar*> Bars(TQVMenuBar* m) { return Raw(m->FMenuBarList); }
  static std::vector<TQVMenuButton*> Buttons(TQVMenuBar* m) { return Raw(m->FMenuButtonList); }
  static size_t BarEntries(TQVMenuBar* m) { return m->FMenuBarList.size(); }
  static size_t ButtonEntries(TQVMenuBar* m) { return m->FMenuButtonList.size(); }
  // What an open menu has borrowed: the control under the mouse and the form.
  static TControl* TakenOver(TQVMenuBar* m) { return m->FTakeOver.Control(); }
  static TForm* HookedForm(TQVMenuBar* m) { return m->FHookedForm; }

 private:
  template <class T, class A>
  static std::vector<T*> Raw(const std::vector<TWeak<T>, A>& L) {
    std::vector<T*> out;
    for (const TWeak<T>& w : L) out.push_back(w.Get());
    return out;
  }
};

}  // namespace fmx
