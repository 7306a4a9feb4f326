#include "FMX.QVUtils.h"

#include <memory>

#include "host/Shapes.h"
#include "host/StdCtrls.h"
#include "host/TextLayout.h"

namespace fmx {

void __QV_窗体_清除窗体上的残影(TForm* AForm) {
  if (AForm == nullptr || AForm->ChildrenCount() == 0) return;
  if (auto* Background = dynamic_cast<TRectangle*>(AForm->Children(0))) Background->Repaint();
}

TStyleBook* __QV_样式_GetStyleBook(TForm* AForm) {
  if (AForm == nullptr) return nullptr;
  if (AForm->StyleBook() != nullptr) return AForm->StyleBook();
  // The first book among the form's components, found from the few books there are:
  // every menu bar asks on creation, and a form may own a hundred thousand components.
  return TStyleBook::FirstOwnedBy(AForm);
}

TRectF __QV_文本_获取文本高度和宽度(TTextSettings* ATextSettings, const std::string& AText) {
  TRectF Result(0, 0, 0, 0);
  TCanvas* Canvas = TCanvasManager::MeasureCanvas();
  const TTextLayoutClass LayoutClass = TTextLayoutManager::TextLayoutByCanvas(Canvas);
  // Freed on every way out, exceptions included.
  const std::unique_ptr<TTextLayout> Layout = LayoutClass(Canvas);
  Layout->BeginUpdate();
  if (ATextSettings != nullptr) Layout->Font()->Assign(ATextSettings->Font());
  Layout->SetText(AText);
  Layout->EndUpdate();
  Result = Layout->TextRect();
  return Result;
}

Single __QV_文本_获取文本宽度(TTextSettings* ATextSettings, const std::string& AText) {
  return __QV_文本_获取文本高度和宽度(ATextSettings, AText).Width();
}

Single __QV_文本_获取文本高度(TTextSettings* ATextSettings, const std::string& AText) {
  return __QV_文本_获取文本高度和宽度(ATextSettings, AText).Height();
}

TForm* __QV_窗体_获取根窗体(TComponent* AComponent) { return dynamic_cast<TForm*>(AComponent); }

TForm* __QV_窗体_返回主窗体(TFmxObject* AObject) {
  if (AObject == nullptr) return nullptr;
  for (TFmxObject* P = AObject->Parent(); P != nullptr; P = P->Parent())
    if (IsExactly<TForm>(P)) return static_cast<TForm*>(P);
  return nullptr;
}

namespace {

// The object a style-book reader looks at, or nil when the path leads nowhere.
TFmxObject* FindInCurrentStyle(TStyleBook* AStyleBook, const char* First, const char* Second) {
  if (AStyleBook == nullptr || AStyleBook->Styles()->Count() <= 0) return nullptr;
  TStyleCollectionItem* Item = AStyleBook->CurrentItem();
  if (Item == nullptr || Item->Style() == nullptr) return nullptr;
  TFmxObject* Found = Item->Style()->FindStyleResource(First);
  if (Found != nullptr && Second != nullptr) Found = Found->FindStyleResource(Second);
  return Found;
}

}  // namespace

TFont* __QV_颜色_获取样式本中的字体(TStyleBook* AStyleBook) {
  auto* Text = dynamic_cast<TText*>(FindInCurrentStyle(AStyleBook, "buttonstyle", "text"));
  return Text != nullptr ? Text->TextSettings()->Font() : nullptr;
}

TAlphaColor __QV_颜色_获取样式本中字体颜色(TStyleBook* AStyleBook) {
  auto* Text = dynamic_cast<TText*>(FindInCurrentStyle(AStyleBook, "buttonstyle", "text"));
  return Text != nullptr ? Text->TextSettings()->FontColor() : TAlphaColors::Black;
}

TAlphaColor __QV_颜色_获取样式本中窗体背景颜色(TStyleBook* AStyleBook) {
  auto* Background = dynamic_cast<TRectangle*>(FindInCurrentStyle(AStyleBook, "backgroundstyle", nullptr));
  return Background != nullptr ? Background->Fill()->Color() : TAlphaColors::White;
}

}  // namespace fmx
