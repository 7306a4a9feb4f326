// Access to the menu controls' private trees and books, and the forms their tests stand on.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "FMX.QVMenus.h"
#include "HostTestSupport.h"

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
  static float AskedWidth(TQVMenuButton* b) { return b->FMenuButtonWidth; }
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

 private:
  template <class T>
  static std::vector<T*> Raw(const std::vector<TWeak<T>>& L) {
    std::vector<T*> out;
    for (const TWeak<T>& w : L) out.push_back(w.Get());
    return out;
  }
};

namespace testing {

template <class T>
bool Lists(const std::vector<T*>& L, const T* Item) {
  return std::find(L.begin(), L.end(), Item) != L.end();
}

class MenuTest : public HeadlessTest {
 protected:
  using In = TQVMenusInspector;
  void SetUp() override {
    HeadlessTest::SetUp();
    Form = MakeForm(640, 480);
    Platform->ClearMessages();
  }
  // A bar owned by Form and placed on Parent (Form when null).
  TQVMenuBar* AddBar(TFmxObject* Parent = nullptr, const std::string& Name = "") {
    auto* bar = new TQVMenuBar(Form.get());
    if (!Name.empty()) bar->SetName(Name);
    bar->SetParent(Parent != nullptr ? Parent : Form.get());
    return bar;
  }
  TQVMenuBar* AddMainBar(const std::string& Name = "MainMenu") {
    TQVMenuBar* bar = AddBar(nullptr, Name);
    bar->SetMenuBarStyle(TQVMenuBarStyle::msMainMenuBar);
    return bar;
  }
  TQVMenuButton* AddEntry(TQVMenuBar* Bar, const std::string& Text, const std::string& Name = "") {
    auto* b = new TQVMenuButton(Form.get());
    if (!Name.empty()) b->SetName(Name);
    b->SetParent(Bar);
    b->SetButtonText(Text);
    return b;
  }
  std::unique_ptr<TForm> Form;
};

}  // namespace testing
}  // namespace fmx
