// Menu bars: construction and colours, refused children, layout while painting, style
// switching with its refusals, settings shared across a tree, and the root's lists.
#include <gtest/gtest.h>

#include <cmath>

#include "MenuSupport.h"
#include "TitleBarSupport.h"
#include "host/Buttons.h"
#include "host/Effects.h"

using namespace fmx;
using fmx::testing::Lists;

namespace {

class MenuBar : public fmx::testing::MenuTest {
 protected:
  const std::vector<std::string>& Messages() { return Platform->Messages(); }
};

// Derived classes are refused on a bar by the exact class test.
class TMyMenuButton : public TQVMenuButton {
 public:
  using TQVMenuButton::TQVMenuButton;
};

}  // namespace

TEST_F(MenuBar, ANewBarIsItsOwnRootWithItsPartsInOrderAndColoursFromStyleOrForm) {
  TQVMenuBar* bar = AddBar();
  EXPECT_EQ(In::RootOf(bar), bar);
  EXPECT_EQ(In::OwnerForm(bar), Form.get());
  EXPECT_EQ(bar->MenuBarStyle(), TQVMenuBarStyle::msSubMenuBar);
  EXPECT_EQ(bar->Width(), 200);
  EXPECT_EQ(bar->Height(), 300);
  EXPECT_FLOAT_EQ(bar->SelectBarOpacity(), 0.6f);
  // No style book, no form fill: white with black text, grey border, blue highlight.
  EXPECT_EQ(bar->BackgroundColor(), 0xFFFFFFFFu);
  EXPECT_EQ(bar->FontColor(), 0xFF000000u);
  EXPECT_EQ(bar->BorderColor(), 0xFFA9A9A9u);
  EXPECT_EQ(In::Selection(bar)->Fill()->Color(), 0xFF6495EDu);
  EXPECT_FLOAT_EQ(In::Background(bar)->Stroke()->Thickness(), 0.5f);
  // Back to front: background, container, highlight, memo.
  ASSERT_GE(bar->ChildrenCount(), 4);
  EXPECT_EQ(bar->Children(0), In::Background(bar));
  EXPECT_EQ(bar->Children(1), In::Container(bar));
  EXPECT_EQ(bar->Children(2), In::Selection(bar));
  EXPECT_EQ(bar->Children(3), In::Memo(bar));
  EXPECT_FALSE(In::Memo(bar)->Visible());
  EXPECT_EQ(In::Memo(bar)->TextSettings()->Font()->Size(), 30);
  EXPECT_EQ(In::HideTimer(bar)->Interval(), 100u);
  EXPECT_FALSE(In::HideTimer(bar)->Enabled());
  EXPECT_EQ(In::Selection(bar)->StyleName(), "HighSelecedBarStyle");

  // A solid black form gives white text; a style book with a colour wins over the form.
  Form->Fill()->SetKind(TBrushKind::Solid);
  Form->Fill()->SetColor(0xFF000000);
  EXPECT_EQ(AddBar()->FontColor(), 0xFFFFFFFFu);
  Form->SetStyleBook(fmx::testing::MakeStyleBook(Form.get(), 0xFF202830, 0xFFEEDDCC));
  TQVMenuBar* styled = AddBar();
  EXPECT_EQ(styled->BackgroundColor(), 0xFF202830u);
  EXPECT_EQ(styled->FontColor(), 0xFFEEDDCCu);
  // A bar owned by no form has white and black.
  std::unique_ptr<TQVMenuBar> orphan(new TQVMenuBar(nullptr));
  EXPECT_EQ(orphan->BackgroundColor(), 0xFFFFFFFFu);
}

TEST_F(MenuBar, FormControlsOtherThanBarsAndEntriesAreRefusedWithTheMessage) {
  TQVMenuBar* bar = AddBar();
  auto* button = new TButton(Form.get());
  button->SetParent(bar);
  EXPECT_EQ(button->Parent(), Form.get());
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0], "菜单条中只能增加其它菜单条或者菜单条按钮");
  // The exact class is what counts: a derived entry is refused and never listed.
  auto* derived = new TMyMenuButton(Form.get());
  derived->SetParent(bar);
  EXPECT_EQ(derived->Parent(), Form.get());
  EXPECT_EQ(Messages().size(), 2u);
  EXPECT_FALSE(Lists(In::Buttons(bar), static_cast<TQVMenuButton*>(derived)));
  // Controls owned by another control are let in without a word.
  auto* owner = new TLayout(Form.get());
  auto* inner = new TButton(owner);
  inner->SetParent(bar);
  EXPECT_EQ(inner->Parent(), bar);
  EXPECT_EQ(Messages().size(), 2u);
}

TEST_F(MenuBar, ASubBarAddedToABarIsHiddenAtRunTimeVisibleInTheDesignerAndTakesTheRootsColours) {
  TQVMenuBar* main = AddMainBar();
  main->SetBackgroundColor(0xFF101010);
  main->SetSelectBarColor(0xFF00FF00);
  main->SetSelectBarOpacity(0.3f);
  main->SetFontColor(0xFFFFFF00);
  TQVMenuBar* sub = AddBar(main);
  EXPECT_FALSE(sub->Visible());
  EXPECT_EQ(sub->BackgroundColor(), 0xFF101010u);
  EXPECT_EQ(In::Background(sub)->Fill()->Color(), 0xFF101010u);
  EXPECT_EQ(sub->SelectBarColor(), 0xFF00FF00u);
  EXPECT_FLOAT_EQ(In::Selection(sub)->Opacity(), 0.3f);
  EXPECT_EQ(sub->FontColor(), 0xFFFFFF00u);
  EXPECT_EQ(In::RootOf(sub), main);
  // The same border colour is no change: the border stays half a pixel.
  EXPECT_FLOAT_EQ(In::Background(sub)->Stroke()->Thickness(), 0.5f);

  auto designForm = std::make_unique<TForm>(nullptr);
  designForm->SetDesigning(true);
  auto* dmain = new TQVMenuBar(designForm.get());
  dmain->SetParent(designForm.get());
  auto* dsub = new TQVMenuBar(designForm.get());
  dsub->SetParent(dmain);
  EXPECT_TRUE(dsub->Visible());
}

TEST_F(MenuBar, PaintingLaysOutSubBarsMainBarsOnAFormAndMainBarsInAControl) {
  TQVMenuBar* sub = AddBar();
  Platform->PaintAll();
  EXPECT_EQ(sub->Width(), 200);  // no entries
  TQVMenuButton* a = AddEntry(sub, "A rather long caption");
  a->SetShortCut("Ctrl+Shift+L");
  AddEntry(sub, "B");
  sub->SetWidth(999);  // lasts until the next paint
  Platform->PaintAll();
  EXPECT_FLOAT_EQ(sub->Width(), In::AskedWidth(a));
  EXPECT_FLOAT_EQ(sub->Height(), 2 * 27 + 2.5f);

  TQVMenuBar* main = AddMainBar();
  TQVMenuButton* m1 = AddEntry(main, "One");
  TQVMenuButton* m2 = AddEntry(main, "Two");
  EXPECT_EQ(main->Align(), TAlignLayout::MostTop);
  main->SetHeight(60);
  Platform->PaintAll();
  EXPECT_EQ(main->Align(), TAlignLayout::Top);
  EXPECT_EQ(main->Height(), 27);
  EXPECT_EQ(main->Width(), Form->Width());
  EXPECT_EQ(main->Padding()->Left(), 1);
  EXPECT_EQ(main->Padding()->Top(), 0);
  EXPECT_EQ(m1->Position()->X(), 1);
  EXPECT_EQ(m2->Position()->X(), 1 + m1->Width());

  // Inside a layout a main bar sits on the left, as wide as its entries plus padding.
  auto* strip = new TLayout(Form.get());
  strip->SetParent(Form.get());
  strip->SetBounds(0, 100, 600, 40);
  TQVMenuBar* inner = new TQVMenuBar(Form.get());
  inner->SetName("InnerMenu");
  inner->SetParent(strip);
  inner->SetMenuBarStyle(TQVMenuBarStyle::msMainMenuBar);
  EXPECT_EQ(Messages().back(), "窗体中只能存在一个主菜单条");  // the form has one already
  delete main;
  Platform->ClearMessages();
  inner->SetMenuBarStyle(TQVMenuBarStyle::msMainMenuBar);
  EXPECT_TRUE(Messages().empty());
  TQVMenuButton* i1 = AddEntry(inner, "File");
  TQVMenuButton* i2 = AddEntry(inner, "Edit");
  Platform->PaintAll();
  EXPECT_EQ(inner->Align(), TAlignLayout::Left);
  EXPECT_EQ(inner->Padding()->Top(), 1);
  EXPECT_FLOAT_EQ(inner->Width(), i1->Width() + i2->Width() + 2);
  EXPECT_EQ(inner->Height(), 40);  // the layout's height, not fought over on every paint
  EXPECT_EQ(Platform->Messages().size(), 0u);
  // And back: a free-standing panel again, its entries stacked inside the padding the
  // strip had.
  inner->SetMenuBarStyle(TQVMenuBarStyle::msSubMenuBar);
  EXPECT_EQ(inner->Align(), TAlignLayout::None);
  EXPECT_EQ(inner->Width(), 200);
  EXPECT_EQ(i2->Align(), TAlignLayout::Top);
  Platform->PaintAll();
  EXPECT_FLOAT_EQ(inner->Height(), 2 * 27 + 1 + 2.5f);
  EXPECT_EQ(i2->Position()->Y(), 1 + 27);
}

TEST_F(MenuBar, SwitchingStylesBothWaysAndEveryRefusalWithItsMessage) {
  TQVMenuBar* main = AddMainBar("MainMenu");
  TQVMenuButton* wide = AddEntry(main, std::string(60, 'W'));
  EXPECT_GT(wide->Width(), 300);
  TQVMenuBar* sub = AddBar(main, "FileBar");
  TQVMenuButton* open = AddEntry(sub, "Open");
  EXPECT_FALSE(In::Background(main)->Visible());

  // A bar whose parent is a bar may not change style at all.
  sub->SetMenuBarStyle(TQVMenuBarStyle::msMainMenuBar);
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0], "你不能将父类是菜单条的 FileBar 设置成主菜单条");
  EXPECT_EQ(sub->MenuBarStyle(), TQVMenuBarStyle::msSubMenuBar);
  EXPECT_EQ(open->MenuButtonStyle(), TQVMenuButtonStyle::mbSubMenuButton);
  // The attempt rebuilt the root's bar list: the root first, then its bars.
  EXPECT_EQ(In::Bars(main), (std::vector<TQVMenuBar*>{main, sub}));

  // Main back to sub: a panel of 200 x 300 with background, entries 27 high on top.
  main->SetMenuBarStyle(TQVMenuBarStyle::msSubMenuBar);
  EXPECT_EQ(main->Align(), TAlignLayout::None);
  EXPECT_EQ(main->Width(), 200);
  EXPECT_EQ(main->Height(), 300);
  EXPECT_TRUE(In::Background(main)->Visible());
  EXPECT_EQ(wide->MenuButtonStyle(), TQVMenuButtonStyle::mbSubMenuButton);
  EXPECT_EQ(wide->Align(), TAlignLayout::Top);
  EXPECT_EQ(wide->Height(), 27);
  // And to main again: entries on the left, a wide one cut to 200.
  main->SetMenuBarStyle(TQVMenuBarStyle::msMainMenuBar);
  EXPECT_EQ(main->Align(), TAlignLayout::MostTop);
  EXPECT_EQ(wide->Align(), TAlignLayout::Left);
  EXPECT_EQ(wide->Width(), 200);
  EXPECT_EQ(open->MenuButtonStyle(), TQVMenuButtonStyle::mbSubMenuButton);

  // A second main bar on the form is refused, yet every entry of its tree is restyled.
  TQVMenuBar* other = AddBar(nullptr, "OtherMenu");
  TQVMenuButton* sep = AddEntry(other, "");
  sep->SetMenuButtonStyle(TQVMenuButtonStyle::mbSeparatorBar);
  Platform->ClearMessages();
  other->SetMenuBarStyle(TQVMenuBarStyle::msMainMenuBar);
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0], "窗体中只能存在一个主菜单条");
  EXPECT_EQ(other->MenuBarStyle(), TQVMenuBarStyle::msSubMenuBar);
  EXPECT_EQ(sep->MenuButtonStyle(), TQVMenuButtonStyle::mbSubMenuButton);

  // A bar below another bar (not directly: inside a layout the bar owns) is not its
  // tree's root.
  auto* holder = new TLayout(other);
  holder->SetParent(other);
  TQVMenuBar* nested = AddBar(holder, "NestedMenu");
  main->SetMenuBarStyle(TQVMenuBarStyle::msSubMenuBar);
  Platform->ClearMessages();
  nested->SetMenuBarStyle(TQVMenuBarStyle::msMainMenuBar);
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_EQ(Messages()[0], "NestedMenu 的所有者 OtherMenu 才可以设置成主菜单条");
  EXPECT_EQ(nested->MenuBarStyle(), TQVMenuBarStyle::msSubMenuBar);
  // Unnamed bars are still told apart: the nested one is no root.
  nested->SetName("");
  other->SetName("");
  nested->SetMenuBarStyle(TQVMenuBarStyle::msMainMenuBar);
  EXPECT_EQ(nested->MenuBarStyle(), TQVMenuBarStyle::msSubMenuBar);
  EXPECT_EQ(Messages().size(), 2u);
}

TEST_F(MenuBar, RadioGroupsSpanSubMenusAndUnnamedEntriesAreStillDistinct) {
  TQVMenuBar* main = AddMainBar();
  TQVMenuBar* left = AddBar(main);
  TQVMenuBar* right = AddBar(main);
  TQVMenuButton* a = AddEntry(left, "");
  TQVMenuButton* b = AddEntry(left, "");
  TQVMenuButton* c = AddEntry(right, "");
  TQVMenuButton* loner = AddEntry(right, "");
  TQVMenuButton* three = AddEntry(right, "");
  for (TQVMenuButton* x : {a, b, c}) x->SetGroupIndex(2);
  three->SetGroupIndex(3);
  three->SetIsCheck(true);
  loner->SetIsCheck(true);
  a->SetIsCheck(true);
  c->SetIsCheck(true);
  EXPECT_FALSE(a->IsCheck());
  EXPECT_FALSE(In::Tick(a)->Visible());
  EXPECT_FALSE(b->IsCheck());
  EXPECT_TRUE(c->IsCheck());
  EXPECT_TRUE(In::Tick(c)->Visible());
  EXPECT_TRUE(loner->IsCheck());
  EXPECT_TRUE(three->IsCheck());
}

TEST_F(MenuBar, OpacityClampsImagesSpreadAndColoursReachEveryListedBarAndEntry) {
  TQVMenuBar* main = AddMainBar();
  TQVMenuBar* sub = AddBar(main);
  TQVMenuButton* glyph = AddEntry(sub, "Glyph");
  TQVMenuButton* tick = AddEntry(sub, "Tick");
  tick->SetIsCheck(true);
  TQVMenuButton* symbol = AddEntry(sub, "Symbol");
  symbol->SetMark(TQVMark::mChar);

  for (auto [in, out] : std::initializer_list<std::pair<float, float>>{
           {5.0f, 1.0f}, {-1.0f, 0.0f}, {NAN, 1.0f}, {0.25f, 0.25f}}) {
    main->SetSelectBarOpacity(in);
    EXPECT_EQ(main->SelectBarOpacity(), out);
    EXPECT_EQ(sub->SelectBarOpacity(), out);
    EXPECT_EQ(In::Selection(sub)->Opacity(), out);
  }
  main->SetBorderColor(0xFF445566);
  EXPECT_EQ(In::Background(sub)->Stroke()->Color(), 0xFF445566u);
  EXPECT_FLOAT_EQ(In::Background(sub)->Stroke()->Thickness(), 1);
  main->SetFontColor(0xFF0000AA);
  EXPECT_EQ(glyph->MenuButtonFontColor(), 0xFF0000AAu);

  auto& images = *new TImageList(Form.get());
  TBitmap picture(4, 4);
  images.Add(picture);
  glyph->SetImageIndex(0);
  main->SetImages(&images);
  EXPECT_EQ(sub->Images(), &images);
  EXPECT_EQ(glyph->Mark(), TQVMark::mImageList);
  EXPECT_TRUE(In::Glyph(glyph)->Visible());
  EXPECT_EQ(In::Glyph(glyph)->Images(), &images);
  EXPECT_EQ(tick->Mark(), TQVMark::mTick);  // no index: left as it was
  EXPECT_EQ(symbol->Mark(), TQVMark::mChar);
  // Indices the list does not have show nothing and draw nothing.
  tick->SetImageIndex(99);
  symbol->SetImageIndex(-7);
  EXPECT_EQ(In::Glyph(tick)->ImageIndex(), 99);
  sub->SetVisible(true);
  Platform->Snapshot(Form.get());
  // A bar joining later takes the tree's list along.
  TQVMenuBar* late = AddBar(main);
  TQVMenuButton* lateEntry = AddEntry(late, "Late");
  lateEntry->SetImageIndex(0);
  EXPECT_TRUE(In::Glyph(lateEntry)->Visible());
  // Taking the list away leaves every entry of the tree without a mark.
  main->SetImages(nullptr);
  for (TQVMenuButton* b : {glyph, tick, symbol, lateEntry}) {
    EXPECT_EQ(b->Mark(), TQVMark::mNone);
    EXPECT_FALSE(In::Glyph(b)->Visible());
    EXPECT_EQ(In::ImagesOf(b), nullptr);
  }
  EXPECT_EQ(sub->Images(), nullptr);
}

TEST_F(MenuBar, TheRootsListsFollowBarsAndEntriesAcrossTreesWhateverTheirNames) {
  TQVMenuBar* treeA = AddMainBar("TreeA");
  TQVMenuBar* treeB = AddBar(nullptr, "TreeB");
  TQVMenuButton* e1 = AddEntry(treeA, "");
  TQVMenuButton* e2 = AddEntry(treeA, "");
  // Removing one unnamed entry leaves the other listed.
  e1->SetParent(treeB);
  EXPECT_FALSE(Lists(In::Buttons(treeA), e1));
  EXPECT_TRUE(Lists(In::Buttons(treeA), e2));
  EXPECT_TRUE(Lists(In::Buttons(treeB), e1));
  EXPECT_EQ(In::RootOf(e1), treeB);
  EXPECT_EQ(In::ParentBarOf(e1), treeB);
  // Off every bar, an entry belongs to no tree.
  e1->SetParent(Form.get());
  EXPECT_FALSE(Lists(In::Buttons(treeB), e1));
  EXPECT_EQ(In::RootOf(e1), nullptr);
  EXPECT_EQ(e1->Align(), TAlignLayout::None);
  TQVMenuButton* loose = AddEntry(treeB, "");
  loose->SetParent(nullptr);
  EXPECT_EQ(In::RootOf(loose), nullptr);
  EXPECT_EQ(In::ParentBarOf(loose), nullptr);
  delete loose;

  // A sub-menu built on its own brings its entries and cascades when it joins a tree...
  TQVMenuBar* sub = AddBar(nullptr, "Sub");
  TQVMenuButton* s1 = AddEntry(sub, "S1");
  TQVMenuBar* cascade = AddBar(sub, "Cascade");
  TQVMenuButton* c1 = AddEntry(cascade, "C1");
  EXPECT_TRUE(Lists(In::Buttons(sub), c1));
  sub->SetParent(treeA);
  EXPECT_EQ(In::Bars(treeA), (std::vector<TQVMenuBar*>{treeA, sub, cascade}));
  for (TQVMenuButton* x : {e2, s1, c1}) EXPECT_TRUE(Lists(In::Buttons(treeA), x));
  EXPECT_TRUE(In::Buttons(sub).empty());
  EXPECT_EQ(In::RootOf(c1), treeA);
  EXPECT_EQ(In::RootOf(cascade), treeA);
  // ...so radio groups and colours reach them.
  TQVMenuButton* native = AddEntry(AddBar(treeA), "Native");
  c1->SetGroupIndex(1);
  native->SetGroupIndex(1);
  c1->SetIsCheck(true);
  native->SetIsCheck(true);
  EXPECT_FALSE(c1->IsCheck());
  treeA->SetFontColor(0xFF00AA00);
  EXPECT_EQ(c1->MenuButtonFontColor(), 0xFF00AA00u);

  // ...and takes them along when it moves to another tree.
  sub->SetParent(treeB);
  EXPECT_FALSE(Lists(In::Bars(treeA), sub));
  EXPECT_FALSE(Lists(In::Bars(treeA), cascade));
  EXPECT_FALSE(Lists(In::Buttons(treeA), c1));
  EXPECT_TRUE(Lists(In::Buttons(treeB), c1));
  EXPECT_TRUE(Lists(In::Buttons(treeB), s1));
  EXPECT_EQ(In::RootOf(cascade), treeB);
  // Set loose, it heads what it holds.
  sub->SetParent(Form.get());
  EXPECT_EQ(In::Bars(sub), std::vector<TQVMenuBar*>{cascade});
  EXPECT_TRUE(Lists(In::Buttons(sub), c1));
  EXPECT_TRUE(In::Bars(treeB).empty());
  EXPECT_EQ(In::Buttons(treeB), std::vector<TQVMenuButton*>{});
}

TEST_F(MenuBar, RemovingAnEntryUnhooksTheBarsHangingOnItAndOnlyThose) {
  TQVMenuBar* main = AddMainBar();
  TQVMenuButton* file = AddEntry(main, "");
  TQVMenuButton* edit = AddEntry(main, "");
  TQVMenuBar* fileBar = AddBar(main);
  TQVMenuBar* editBar = AddBar(main);
  fileBar->SetTargetButton(file);
  editBar->SetTargetButton(edit);
  file->SetParent(Form.get());
  EXPECT_EQ(fileBar->TargetButton(), nullptr);
  EXPECT_EQ(editBar->TargetButton(), edit);  // same (empty) name, another entry
}

TEST_F(MenuBar, AnEntryMovedOntoTheBarThatHangsOnItIsListedOnceInEachTree) {
  TQVMenuBar* main = AddMainBar();
  TQVMenuButton* file = AddEntry(main, "File");
  TQVMenuBar* sub = AddBar(main);
  sub->SetTargetButton(file);
  TQVMenuButton* open = AddEntry(sub, "Open");
  // Leaving the main bar unhooks the sub bar, which goes to the form as a root of its
  // own; the entry then lands on it.
  file->SetParent(sub);
  ASSERT_EQ(file->Parent(), sub);
  EXPECT_EQ(In::Buttons(main), std::vector<TQVMenuButton*>{});
  std::vector<TQVMenuButton*> listed = In::Buttons(sub);
  std::sort(listed.begin(), listed.end());
  std::vector<TQVMenuButton*> expected{open, file};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(listed, expected);
}

TEST_F(MenuBar, AnEntryWhoseArrivalMovesItsBarIntoAnotherTreeIsListedOnceThere) {
  TQVMenuBar* main = AddMainBar();
  TQVMenuButton* file = AddEntry(main, "File");
  TQVMenuBar* sub = AddBar(main);
  sub->SetTargetButton(file);
  TQVMenuButton* recent = AddEntry(sub, "Recent");
  TQVMenuBar* alone = AddBar(nullptr);
  auto* entry = new TQVMenuButton(Form.get());
  entry->SetSize(37, 11);  // the bar's layout changes it
  // Laid out on arrival, the entry hangs its new bar on an entry of the main tree.
  entry->SetOnResize([&](TObject*) { alone->SetTargetButton(recent); });
  entry->SetParent(alone);
  ASSERT_EQ(alone->Parent(), sub);
  const std::vector<TQVMenuButton*> listed = In::Buttons(main);
  EXPECT_EQ(std::count(listed.begin(), listed.end(), entry), 1);
}
