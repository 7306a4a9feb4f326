// Menu entries: the built tree, the three looks, the width an entry asks for, marks,
// check state, arrow and shortcut, and what may be dropped on an entry.
#include <gtest/gtest.h>

#include <cmath>

#include "FMX.QVUtils.h"
#include "MenuSupport.h"
#include "host/Effects.h"

using namespace fmx;
using fmx::testing::Lists;

namespace {

class MenuButton : public fmx::testing::MenuTest {
 protected:
  float TextWidth(TLabel* L, const std::string& S) {
    return __QV_文本_获取文本宽度(L->TextSettings(), S);
  }
  static void Paint(TBitmap& B) {
    B.SetSize(8, 8);
    B.Clear(0xFF0000FF);
  }
};

}  // namespace

TEST_F(MenuButton, AnEntryOnNoBarKeepsTheTreeAsBuilt) {
  auto* b = new TQVMenuButton(Form.get());
  EXPECT_EQ(b->Width(), 200);
  EXPECT_EQ(b->Height(), 27);
  EXPECT_EQ(b->MenuButtonStyle(), TQVMenuButtonStyle::mbSubMenuButton);
  for (TControl* c : std::initializer_list<TControl*>{In::MarkColumn(b), In::Caption(b),
                                                      In::ShortCutLabel(b), In::ArrowColumn(b),
                                                      In::Arrow(b)})
    EXPECT_TRUE(c->Visible());
  for (TControl* c : std::initializer_list<TControl*>{In::Glyph(b), In::Icon(b), In::Tick(b),
                                                      In::CharLabel(b), In::Line(b)})
    EXPECT_FALSE(c->Visible());
  // Column widths follow the heights the layout reports: 27 less the margins.
  EXPECT_EQ(In::MarkColumn(b)->Width(), 21);
  EXPECT_EQ(In::ArrowColumn(b)->Width(), 13);
  EXPECT_FLOAT_EQ(In::Arrow(b)->Width(), 13 - 13 / 2.5f);
  EXPECT_EQ(In::Arrow(b)->Stroke()->Color(), 0xFFFFFFFFu);
  EXPECT_EQ(In::CharLabel(b)->TextSettings()->Font()->Family(), "Webdings");
  // The parts belong to the entry and are never stored.
  EXPECT_EQ(In::Tick(b)->Owner(), b);
  EXPECT_FALSE(In::Tick(b)->Stored());
  EXPECT_FALSE(In::Caption(b)->HitTest());
}

TEST_F(MenuButton, OnAMainBarOnlyTheCentredCaptionShowsAndTheWidthFollowsIt) {
  TQVMenuBar* main = AddMainBar();
  TQVMenuButton* file = AddEntry(main, "File");
  TQVMenuButton* blank = AddEntry(main, "  ");
  EXPECT_EQ(file->MenuButtonStyle(), TQVMenuButtonStyle::mbMainMenuButton);
  EXPECT_FALSE(In::MarkColumn(file)->Visible());
  EXPECT_FALSE(In::ArrowColumn(file)->Visible());
  EXPECT_FALSE(In::ShortCutLabel(file)->Visible());
  EXPECT_EQ(In::Caption(file)->TextSettings()->HorzAlign(), TTextAlign::Center);
  EXPECT_FLOAT_EQ(file->Width(), TextWidth(In::Caption(file), "File") + 12);
  EXPECT_EQ(blank->Width(), 92);
  EXPECT_EQ(file->Align(), TAlignLayout::Left);
  // Entries stand left to right in the order they were added.
  Platform->PaintAll();
  EXPECT_LT(file->Position()->X(), blank->Position()->X());
}

TEST_F(MenuButton, ASubEntryAsksForBothColumnsCaptionShortcutAndThirtyShownOrNot) {
  TQVMenuBar* sub = AddBar();
  TQVMenuButton* b = AddEntry(sub, "Open");
  const float columns = 27 + 20;
  const float caption = TextWidth(In::Caption(b), "Open");
  EXPECT_FLOAT_EQ(In::AskedWidth(b), columns + caption + 30);
  b->SetShortCut("Ctrl+O");
  const float withShortcut = columns + caption + TextWidth(In::ShortCutLabel(b), "Ctrl+O") + 30;
  EXPECT_FLOAT_EQ(In::AskedWidth(b), withShortcut);
  // Hiding the arrow or showing a mark changes nothing; neither does the font size.
  b->SetMark(TQVMark::mChar);
  b->SetMenuButtonFontSize(20);
  EXPECT_FLOAT_EQ(In::AskedWidth(b), withShortcut);
  // Both columns count even while hidden.
  In::MarkColumn(b)->SetVisible(false);
  In::ArrowColumn(b)->SetVisible(false);
  b->SetMenuButtonFontSize(14);
  b->SetButtonText("Open");
  EXPECT_FLOAT_EQ(In::AskedWidth(b), withShortcut);
  b->SetMenuButtonStyle(TQVMenuButtonStyle::mbSubMenuButton);
  // A shortcut of blanks is shown as it is but adds nothing, and leaves the arrow.
  TQVMenuButton* more = AddEntry(sub, "More");
  more->SetMoreArrow(true);
  more->SetShortCut("   ");
  EXPECT_EQ(In::ShortCutLabel(more)->Text(), "   ");
  EXPECT_TRUE(more->MoreArrow());
  EXPECT_FLOAT_EQ(In::AskedWidth(more), columns + TextWidth(In::Caption(more), "More") + 30);
  // The bar is as wide as its widest entry; every entry stretches to it.
  Platform->PaintAll();
  EXPECT_FLOAT_EQ(sub->Width(), withShortcut);
  EXPECT_FLOAT_EQ(more->Width(), withShortcut);
}

TEST_F(MenuButton, MarksFollowTheirRulesAndIgnoreTheWrongStyles) {
  TQVMenuBar* main = AddMainBar();
  TQVMenuButton* top = AddEntry(main, "Top");
  top->SetMark(TQVMark::mImageList);
  EXPECT_EQ(top->Mark(), TQVMark::mNone);
  TQVMenuBar* sub = AddBar(main);
  TQVMenuButton* b = AddEntry(sub, "Entry");
  b->SetImageIndex(3);  // no image list: only kept
  EXPECT_EQ(b->ImageIndex(), 3);
  EXPECT_EQ(b->Mark(), TQVMark::mNone);
  EXPECT_FALSE(In::Glyph(b)->Visible());

  // An icon entry without a picture shows an empty column; removing the picture it
  // never had hides the column, and it reads an empty picture.
  b->SetMark(TQVMark::mIcon);
  EXPECT_TRUE(In::Icon(b)->Visible());
  b->SetGroupIndex(1);
  b->SetMoreArrow(true);  // a radio entry given an arrow loses its mark and its icon
  EXPECT_EQ(b->Mark(), TQVMark::mNone);
  EXPECT_FALSE(In::Icon(b)->Visible());
  b->SetMoreArrow(false);
  b->SetMark(TQVMark::mIcon);
  b->SetIconBitmap(nullptr);
  EXPECT_FALSE(In::Icon(b)->Visible());
  EXPECT_TRUE(b->IconBitmap()->IsEmpty());
  b->SetMark(TQVMark::mNone);

  // A picture turns a ticked entry into an icon entry; an empty one only hides the icon.
  b->SetIsCheck(true);
  EXPECT_EQ(b->Mark(), TQVMark::mTick);
  TBitmap picture;
  Paint(picture);
  b->SetIconBitmap(&picture);
  EXPECT_EQ(b->Mark(), TQVMark::mIcon);
  EXPECT_FALSE(b->IsCheck());
  EXPECT_FALSE(In::Tick(b)->Visible());
  EXPECT_TRUE(In::Icon(b)->Visible());
  EXPECT_EQ(In::Icon(b)->Bitmap()->Pixel(2, 2), 0xFF0000FFu);
  picture.SetPixel(0, 0, 0xFF00FF00);
  EXPECT_EQ(b->IconBitmap()->Pixel(0, 0), 0xFF0000FFu);  // a copy, not the caller's
  TBitmap empty;
  b->SetIconBitmap(&empty);
  EXPECT_FALSE(In::Icon(b)->Visible());
  EXPECT_EQ(b->Mark(), TQVMark::mIcon);

  // Checking an ungrouped entry with an arrow makes it a tick entry without arrow or icon.
  b->SetIconBitmap(&picture);
  b->SetMark(TQVMark::mNone);
  EXPECT_TRUE(b->IconBitmap()->IsEmpty());
  b->SetMoreArrow(true);
  b->SetIsCheck(true);
  EXPECT_EQ(b->Mark(), TQVMark::mTick);
  EXPECT_FALSE(b->MoreArrow());
  EXPECT_FALSE(In::Arrow(b)->Visible());
  EXPECT_TRUE(In::Tick(b)->Visible());

  // The arrow and the shortcut exclude each other; the arrow also ends the check.
  b->SetGroupIndex(4);
  b->SetShortCut("F5");
  b->SetMoreArrow(true);
  EXPECT_EQ(b->ShortCut(), "");
  EXPECT_EQ(In::ShortCutLabel(b)->Text(), "");
  EXPECT_FALSE(b->IsCheck());
  EXPECT_EQ(b->GroupIndex(), 0);
  EXPECT_EQ(b->Mark(), TQVMark::mNone);
  EXPECT_TRUE(In::Arrow(b)->Visible());
  b->SetShortCut("F6");
  EXPECT_FALSE(b->MoreArrow());
  EXPECT_FALSE(In::Arrow(b)->Visible());

  // A character mark shows its one character; NUL shows nothing, half a pair a stand-in.
  b->SetMark(TQVMark::mChar);
  b->SetChar(u'a');
  EXPECT_TRUE(In::CharLabel(b)->Visible());
  EXPECT_EQ(In::CharLabel(b)->Text(), "a");
  b->SetChar(u'中');
  EXPECT_EQ(In::CharLabel(b)->Text(), "中");
  b->SetChar(0);
  EXPECT_EQ(In::CharLabel(b)->Text(), "");
  b->SetChar(0xD800);
  EXPECT_EQ(In::CharLabel(b)->Text(), "\xEF\xBF\xBD");
}

TEST_F(MenuButton, ReapplyingTheSubStyleKeepsTheArrowOfAnEntryWithoutMark) {
  TQVMenuBar* sub = AddBar();
  TQVMenuButton* b = AddEntry(sub, "More");
  b->SetMoreArrow(true);
  b->SetMenuButtonStyle(TQVMenuButtonStyle::mbSubMenuButton);
  EXPECT_TRUE(b->MoreArrow());
  EXPECT_TRUE(In::Arrow(b)->Visible());
  TQVMenuButton* plain = AddEntry(sub, "Plain");
  EXPECT_FALSE(In::Arrow(plain)->Visible());
}

TEST_F(MenuButton, ASeparatorIsAThinIndentedLineInTheFontColourThatTakesNoMouse) {
  TQVMenuBar* sub = AddBar();
  TQVMenuButton* before = AddEntry(sub, "Before");
  TQVMenuButton* sep = AddEntry(sub, "");
  sep->SetMenuButtonStyle(TQVMenuButtonStyle::mbSeparatorBar);
  TQVMenuButton* after = AddEntry(sub, "After");
  Platform->PaintAll();
  EXPECT_EQ(sep->Height(), 1);
  EXPECT_FALSE(sep->HitTest());
  EXPECT_EQ(sep->Margins()->Top(), 3);
  EXPECT_EQ(sep->Margins()->Bottom(), 1);
  TLine* line = In::Line(sep);
  EXPECT_TRUE(line->Visible());
  EXPECT_FALSE(In::Caption(sep)->Visible());
  EXPECT_FLOAT_EQ(line->Opacity(), 0.8f);
  EXPECT_EQ(line->Stroke()->Color(), sub->FontColor());
  EXPECT_EQ(line->Margins()->Left(), 27);
  EXPECT_EQ(line->Margins()->Right(), 6);
  // Before, separator, after, stacked with the separator's margins.
  EXPECT_EQ(before->Position()->Y(), 0);
  EXPECT_EQ(sep->Position()->Y(), 30);
  EXPECT_EQ(after->Position()->Y(), 32);
  EXPECT_FLOAT_EQ(sub->Height(), 27 + 5 + 27 + 2.5f);
}

TEST_F(MenuButton, OnlyEffectsAndTheEntrysOwnControlsStayOnAnEntry) {
  TQVMenuBar* sub = AddBar();
  TQVMenuButton* b = AddEntry(sub, "Entry");
  auto* rect = new TRectangle(Form.get());
  rect->SetParent(b);
  EXPECT_EQ(rect->Parent(), Form.get());
  auto* frame = new TFrame(Form.get());
  frame->SetParent(Form.get());
  auto* inFrame = new TRectangle(frame);
  inFrame->SetParent(b);
  EXPECT_EQ(inFrame->Parent(), frame);
  auto* glow = new TGlowEffect(Form.get());
  glow->SetParent(b);
  EXPECT_EQ(glow->Parent(), b);
  auto* mine = new TRectangle(b);
  mine->SetParent(b);
  EXPECT_EQ(mine->Parent(), b);
  // An entry dropped on an entry becomes its sibling, and joins the bar's tree.
  auto* other = new TQVMenuButton(Form.get());
  other->SetParent(b);
  EXPECT_EQ(other->Parent(), sub);
  EXPECT_TRUE(Lists(In::Buttons(sub), other));
  EXPECT_TRUE(Platform->Messages().empty());
}

TEST_F(MenuButton, FontColourAndSizeGoToTheTextsAndStrokesWhileTheSymbolKeepsItsSize) {
  TQVMenuBar* sub = AddBar();
  TQVMenuButton* b = AddEntry(sub, "Entry");
  b->SetMenuButtonFontColor(0xFF123456);
  for (TLabel* l : {In::Caption(b), In::ShortCutLabel(b), In::CharLabel(b)}) {
    EXPECT_FALSE(l->StyledSettings().Contains(TStyledSetting::FontColor));
    EXPECT_EQ(l->ResolvedFontColor(), 0xFF123456u);
  }
  EXPECT_EQ(In::Tick(b)->Stroke()->Color(), 0xFF123456u);
  EXPECT_EQ(In::Arrow(b)->Stroke()->Color(), 0xFF123456u);
  EXPECT_EQ(In::Line(b)->Stroke()->Color(), 0xFF123456u);
  b->SetMenuButtonFontSize(18);
  EXPECT_EQ(In::Caption(b)->ResolvedFont().Size(), 18);
  EXPECT_EQ(In::ShortCutLabel(b)->ResolvedFont().Size(), 18);
  EXPECT_EQ(In::CharLabel(b)->ResolvedFont().Size(), 14);
  // Sizes no text can have are ignored.
  for (float bad : {NAN, -3.0f, 0.0f, INFINITY}) b->SetMenuButtonFontSize(bad);
  EXPECT_EQ(b->MenuButtonFontSize(), 18);
  // Moving onto a bar hands the entry that bar's font colour.
  TQVMenuBar* other = AddBar();
  other->SetFontColor(0xFF00AA00);
  b->SetParent(other);
  EXPECT_EQ(b->MenuButtonFontColor(), 0xFF00AA00u);
}
