#include <gtest/gtest.h>

#include "FMX.QVUtils.h"
#include "HostTestSupport.h"
#include "host/Shapes.h"
#include "host/StdCtrls.h"
#include "host/Styles.h"

using namespace fmx;
using fmx::testing::MakeForm;

namespace {

class QVUtils : public fmx::testing::HeadlessTest {};

class TDerivedForm : public TForm {
 public:
  using TForm::TForm;
};

// A style tree: root -> backgroundstyle, buttonstyle -> text. The caller chooses the
// classes of the background and the text objects.
template <class TBackground, class TTextObj>
TStyleBook* MakeStyleBook(TComponent* Owner, TAlphaColor Background, TAlphaColor FontColor) {
  auto* Book = new TStyleBook(Owner);
  auto* Root = new TLayout(nullptr);
  auto* Bg = new TBackground(nullptr);
  Bg->SetStyleName("backgroundstyle");
  if constexpr (std::is_base_of_v<TShape, TBackground>) Bg->Fill()->SetColor(Background);
  Bg->SetParent(Root);
  auto* Button = new TLayout(nullptr);
  Button->SetStyleName("buttonstyle");
  Button->SetParent(Root);
  auto* Text = new TTextObj(nullptr);
  Text->SetStyleName("text");
  Text->TextSettings()->SetFontColor(FontColor);
  Text->TextSettings()->Font()->SetSize(15);
  Text->SetParent(Button);
  Book->Styles()->Add(Root);
  return Book;
}

}  // namespace

TEST_F(QVUtils, StyleBookLookupPrefersThePropertyThenTheFirstOwned) {
  EXPECT_EQ(__QV_样式_GetStyleBook(nullptr), nullptr);
  auto Form = MakeForm();
  EXPECT_EQ(__QV_样式_GetStyleBook(Form.get()), nullptr);
  new TLayout(Form.get());  // owned components that are not style books are skipped
  auto* First = new TStyleBook(Form.get());
  auto* Second = new TStyleBook(Form.get());
  EXPECT_EQ(__QV_样式_GetStyleBook(Form.get()), First);
  Form->SetStyleBook(Second);
  EXPECT_EQ(__QV_样式_GetStyleBook(Form.get()), Second);
}

TEST_F(QVUtils, StyleReadersFollowTheResourcePath) {
  auto Form = MakeForm();
  TStyleBook* Book = MakeStyleBook<TRectangle, TText>(Form.get(), 0xFF202020, 0xFFEEEEEE);
  EXPECT_EQ(__QV_颜色_获取样式本中窗体背景颜色(Book), 0xFF202020u);
  EXPECT_EQ(__QV_颜色_获取样式本中字体颜色(Book), 0xFFEEEEEEu);
  TFont* Font = __QV_颜色_获取样式本中的字体(Book);
  ASSERT_NE(Font, nullptr);
  EXPECT_EQ(Font->Size(), 15);

  // A background that is a plain layout and one that really is white read the same.
  TStyleBook* LayoutBg = MakeStyleBook<TLayout, TText>(Form.get(), 0, 0xFF000080);
  EXPECT_EQ(__QV_颜色_获取样式本中窗体背景颜色(LayoutBg), TAlphaColors::White);
  TStyleBook* WhiteBg = MakeStyleBook<TRectangle, TText>(Form.get(), TAlphaColors::White, 0);
  EXPECT_EQ(__QV_颜色_获取样式本中窗体背景颜色(WhiteBg), TAlphaColors::White);

  // A label where a TText is expected gives the defaults.
  TStyleBook* LabelText = MakeStyleBook<TRectangle, TLabel>(Form.get(), 0xFF101010, 0xFFFF0000);
  EXPECT_EQ(__QV_颜色_获取样式本中字体颜色(LabelText), TAlphaColors::Black);
  EXPECT_EQ(__QV_颜色_获取样式本中的字体(LabelText), nullptr);
}

TEST_F(QVUtils, EmptyOrOddStyleBooksGiveDefaults) {
  auto Form = MakeForm();
  auto* Empty = new TStyleBook(Form.get());
  EXPECT_EQ(__QV_颜色_获取样式本中窗体背景颜色(Empty), TAlphaColors::White);
  EXPECT_EQ(__QV_颜色_获取样式本中字体颜色(Empty), TAlphaColors::Black);
  EXPECT_EQ(__QV_颜色_获取样式本中的字体(Empty), nullptr);
  // A current index outside the collection, and no book at all, are no faults either.
  TStyleBook* Book = MakeStyleBook<TRectangle, TText>(Form.get(), 0xFF123456, 0xFF654321);
  Book->SetCurrentItemIndex(5);
  EXPECT_EQ(Book->CurrentItem(), nullptr);
  EXPECT_EQ(__QV_颜色_获取样式本中窗体背景颜色(Book), TAlphaColors::White);
  EXPECT_EQ(__QV_颜色_获取样式本中字体颜色(nullptr), TAlphaColors::Black);
}

TEST_F(QVUtils, RootFormIsTheComponentItselfWhenItIsAForm) {
  EXPECT_EQ(__QV_窗体_获取根窗体(nullptr), nullptr);
  auto Form = MakeForm();
  auto* Layout = new TLayout(Form.get());
  Layout->SetParent(Form.get());
  EXPECT_EQ(__QV_窗体_获取根窗体(Layout), nullptr);  // no walking up
  EXPECT_EQ(__QV_窗体_获取根窗体(Form.get()), Form.get());
  TFrame Frame(nullptr);
  EXPECT_EQ(__QV_窗体_获取根窗体(&Frame), nullptr);
  TDerivedForm Derived(nullptr);
  EXPECT_EQ(__QV_窗体_获取根窗体(&Derived), &Derived);
}

TEST_F(QVUtils, MainFormWalksParentsForExactlyTForm) {
  EXPECT_EQ(__QV_窗体_返回主窗体(nullptr), nullptr);
  auto Form = MakeForm();
  auto* Outer = new TLayout(Form.get());
  Outer->SetParent(Form.get());
  auto* Inner = new TLayout(Form.get());
  Inner->SetParent(Outer);
  EXPECT_EQ(__QV_窗体_返回主窗体(Outer), Form.get());
  EXPECT_EQ(__QV_窗体_返回主窗体(Inner), Form.get());
  EXPECT_EQ(__QV_窗体_返回主窗体(Form.get()), nullptr);  // never the object itself

  TDerivedForm Derived(nullptr);
  auto* OnDerived = new TLayout(&Derived);
  OnDerived->SetParent(&Derived);
  EXPECT_EQ(__QV_窗体_返回主窗体(OnDerived), nullptr);
  TLayout Loose(nullptr);
  EXPECT_EQ(__QV_窗体_返回主窗体(&Loose), nullptr);
}

// A plain rectangle shows nothing stale (each change repaints it), so clearing
// repaints only a background that draws from something the host does not see.
TEST_F(QVUtils, ClearingGhostsRepaintsOnlyABackgroundThatMayBeStale) {
  __QV_窗体_清除窗体上的残影(nullptr);
  auto Form = MakeForm();
  __QV_窗体_清除窗体上的残影(Form.get());  // no children: nothing to do

  int Paints = 0;
  auto* Other = new TLayout(Form.get());
  Other->SetParent(Form.get());
  Other->SetOnPaint([&](TObject*) { ++Paints; });
  auto clearCounts = [&] {
    Platform->PaintAll();
    const int Before = Paints;
    __QV_窗体_清除窗体上的残影(Form.get());
    Platform->PaintAll();
    return Paints - Before;
  };
  EXPECT_EQ(clearCounts(), 0);  // first child is a layout

  auto* Background = new TRectangle(Form.get());
  Background->SetParent(Form.get());
  Background->SendToBack();
  EXPECT_EQ(clearCounts(), 0);

  Background->SetOnPaint([](TObject*) {});
  EXPECT_GT(clearCounts(), 0);
  delete Background;

  struct TOwnDrawn : TRectangle {
    using TRectangle::TRectangle;
  };
  auto* Drawn = new TOwnDrawn(Form.get());
  Drawn->SetParent(Form.get());
  Drawn->SendToBack();
  EXPECT_GT(clearCounts(), 0);
}

TEST_F(QVUtils, MeasuringUsesOnlyTheFontOfTheSettings) {
  TTextSettings Settings;
  Settings.Font()->SetSize(12);
  const TRectF Small = __QV_文本_获取文本高度和宽度(&Settings, "Menu");
  EXPECT_EQ(Small.Left, 0);
  EXPECT_EQ(Small.Top, 0);
  EXPECT_GT(Small.Width(), 0);
  EXPECT_FLOAT_EQ(__QV_文本_获取文本宽度(&Settings, "Menu"), Small.Width());
  EXPECT_FLOAT_EQ(__QV_文本_获取文本高度(&Settings, "Menu"), Small.Height());

  // Colour, alignment and wrapping are ignored.
  TTextSettings Styled;
  Styled.Assign(&Settings);
  Styled.SetFontColor(TAlphaColors::Red);
  Styled.SetHorzAlign(TTextAlign::Trailing);
  Styled.SetWordWrap(true);
  EXPECT_EQ(__QV_文本_获取文本高度和宽度(&Styled, "Menu"), Small);

  Settings.Font()->SetSize(24);
  EXPECT_GT(__QV_文本_获取文本宽度(&Settings, "Menu"), 1.8f * Small.Width());
  Settings.Font()->SetSize(12);

  // The layout's own rules: empty text is one line high, a line break adds a line,
  // a long line is never wrapped.
  const TRectF Empty = __QV_文本_获取文本高度和宽度(&Settings, "");
  EXPECT_EQ(Empty.Width(), 0);
  EXPECT_FLOAT_EQ(Empty.Height(), Small.Height());
  EXPECT_NEAR(__QV_文本_获取文本高度(&Settings, "File\nEdit"), 2 * Small.Height(), 1);
  std::string Long;
  for (int I = 0; I < 100; ++I) Long += "文件 ";
  Styled.Font()->SetSize(12);
  EXPECT_FLOAT_EQ(__QV_文本_获取文本高度(&Styled, Long), __QV_文本_获取文本高度(&Styled, "文件"));
  EXPECT_GT(__QV_文本_获取文本宽度(&Styled, Long), 1000);
}
