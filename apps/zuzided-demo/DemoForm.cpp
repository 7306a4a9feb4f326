#include "DemoForm.h"

#include <unistd.h>

#include <exception>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "host/Canvas.h"
#include "host/Streaming.h"

using namespace fmx;

namespace demo {

namespace {

struct TLook {
  TAlphaColor Window, Text, Card, CardBorder;
};
constexpr TLook kLight{0xFFF3F3F3, 0xFF202020, 0xFFFFFFFF, 0xFFD0D0D0};
constexpr TLook kDark{0xFF1F1F1F, 0xFFE8E8E8, 0xFF2B2B2B, 0xFF3C3C3C};

// The style books live in examples/ of the source tree: found from the working
// directory (make demo, the tests) or from the binary's place in the build tree.
std::string FindExample(const std::string& Name) {
  namespace fs = std::filesystem;
  std::vector<fs::path> roots{fs::current_path()};
  if (const char* src = std::getenv("ZZ_SOURCE_DIR")) roots.emplace_back(src);
  std::error_code ec;
  const fs::path self = fs::read_symlink("/proc/self/exe", ec);
  if (!ec) {
    for (fs::path p = self.parent_path(); !p.empty() && p != p.root_path(); p = p.parent_path())
      roots.push_back(p);
  }
  for (const fs::path& r : roots) {
    const fs::path candidate = r / "examples" / Name;
    if (fs::is_regular_file(candidate, ec)) return candidate.string();
  }
  return {};
}

// A small logo drawn in code, so the demo needs no picture files.
void DrawLogo(TBitmap& Logo) {
  TCanvas canvas(24, 24);
  canvas.Clear(0x00000000);
  TBrush fill(TBrushKind::Solid, 0xFF2B579A);
  canvas.FillRect({0, 0, 24, 24}, 5, 5, AllCorners, 1.0f, fill);
  TFont font;
  font.SetSize(15);
  font.SetStyle({TFontStyle::fsBold});
  canvas.FillText({0, 0, 24, 24}, "Z", false, 1.0f, font, 0xFFFFFFFF, TTextAlign::Center,
                  TTextAlign::Center);
  canvas.CopyTo(Logo);
}

}  // namespace

TDemoForm::TDemoForm(TComponent* AOwner) : TForm(AOwner) {
  SetCaption("ZUZided 演示");
  SetBounds(160, 120, 800, 600);
  SetTransparency(true);
  // The title bar reads its colours from the form's style book, so the book comes first.
  BuildStyles();
  BuildFrame();
  BuildContent();
  FDark = true;  // so that SetDark(false) applies the light look
  SetDark(false);
}

TDemoForm::~TDemoForm() = default;

TFmxObject* TDemoForm::ReadStyle(bool DarkStyle) {
  const std::string file = FindExample(DarkStyle ? "dark.style" : "light.style");
  if (!file.empty()) {
    try {
      std::ifstream in(file);
      std::stringstream text;
      text << in.rdbuf();
      TComponent* root = ReadComponentFromText(text.str(), nullptr);
      if (auto* style = dynamic_cast<TFmxObject*>(root)) {
        FStyleSource = std::filesystem::path(file).parent_path().string();
        return style;
      }
      delete root;
    } catch (const std::exception&) {
      // An unreadable book leaves the demo on its built-in colours.
    }
  }
  // The colours the shipped books hold, for a tree without them.
  const TLook& look = DarkStyle ? kDark : kLight;
  auto* root = new TFmxObject(nullptr);
  auto* background = new TRectangle(root);
  background->SetStyleName("backgroundstyle");
  background->Fill()->SetColor(look.Window);
  background->SetParent(root);
  auto* button = new TRectangle(root);
  button->SetStyleName("buttonstyle");
  button->SetParent(root);
  auto* text = new TText(root);
  text->SetStyleName("text");
  text->TextSettings()->SetFontColor(look.Text);
  text->SetParent(button);
  return root;
}

void TDemoForm::BuildStyles() {
  // One book, two styles: switching the current one is all the title bar needs to see.
  FStyles = new TStyleBook(this);
  FStyles->Styles()->Add(ReadStyle(false));
  FStyles->Styles()->Add(ReadStyle(true));
  SetStyleBook(FStyles);
}

void TDemoForm::BuildFrame() {
  FTitleBar = new TQVTitleBar(this);
  FTitleBar->SetParent(this);
  FTitleBar->SetTitleBarEnabled(true);
  FTitleBar->SetCaption(Caption());
  FTitleBar->SetCaptionAlignment(TCaptionAlignment::caCenter);
  FTitleBar->SetRadian(8);
  FTitleBar->SetSizeGripVisible(true);
  // Follow the style book's current style on every paint.
  FTitleBar->SetDefaultFormColor(true);
  TBitmap logo;
  DrawLogo(logo);
  FTitleBar->SetLogoBitmap(&logo);
}

void TDemoForm::BuildContent() {
  FHeading = new TLabel(this);
  FHeading->SetParent(this);
  // Top-aligned siblings stack by position: heading first, then the card.
  FHeading->Position()->SetY(40);
  FHeading->SetAlign(TAlignLayout::Top);
  FHeading->SetHeight(48);
  FHeading->Margins()->SetLeft(24);
  FHeading->Margins()->SetTop(16);
  FHeading->SetStyledSettings({});
  FHeading->TextSettings()->Font()->SetSize(22);
  FHeading->SetText("ZUZided — 自绘窗口框架");

  FCard = new TRectangle(this);
  FCard->SetParent(this);
  FCard->Position()->SetY(100);
  FCard->SetAlign(TAlignLayout::Top);
  FCard->SetHeight(150);
  FCard->Margins()->SetLeft(24);
  FCard->Margins()->SetRight(24);
  FCard->Margins()->SetTop(8);
  FCard->SetXRadius(8);
  FCard->SetYRadius(8);

  FBody = new TText(this);
  FBody->SetParent(FCard);
  FBody->SetAlign(TAlignLayout::Client);
  FBody->Margins()->SetLeft(16);
  FBody->Margins()->SetRight(16);
  FBody->TextSettings()->SetWordWrap(true);
  FBody->TextSettings()->SetHorzAlign(TTextAlign::Leading);
  FBody->SetText(
      "Drag the strip at the top to move the window; double-click it to maximise and "
      "restore. The buttons on the right minimise, maximise and close. F2 switches between "
      "the light and the dark style. The border turns grey while the window is inactive.\n"
      "拖动顶部移动窗口，双击最大化或还原。");
}

void TDemoForm::SetDark(bool Value) {
  if (Value == FDark) return;
  FDark = Value;
  const TLook& look = FDark ? kDark : kLight;
  FStyles->SetCurrentItemIndex(FDark ? 1 : 0);
  FHeading->TextSettings()->SetFontColor(look.Text);
  FBody->TextSettings()->SetFontColor(look.Text);
  FCard->Fill()->SetColor(look.Card);
  FCard->Stroke()->SetColor(look.CardBorder);
  InvalidateAll();
}

bool TDemoForm::Maximised() const {
  return Width() == Screen->Width() && Height() == Screen->Height();
}

}  // namespace demo
