#include "DemoForm.h"

#include <unistd.h>

#include <exception>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "host/Streaming.h"

using namespace fmx;

namespace demo {

namespace {

struct TLook {
  TAlphaColor Window, Text, Card, CardBorder, Strip;
};
constexpr TLook kLight{0xFFF3F3F3, 0xFF202020, 0xFFFFFFFF, 0xFFD0D0D0, 0xFF2B579A};
constexpr TLook kDark{0xFF1F1F1F, 0xFFE8E8E8, 0xFF2B2B2B, 0xFF3C3C3C, 0xFF3A3A3A};

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

TStyleBook* ReadStyleBook(TComponent* Owner, const std::string& File) {
  std::ifstream in(File);
  std::stringstream text;
  text << in.rdbuf();
  TComponent* root = ReadComponentFromText(text.str(), nullptr);
  if (auto* book = dynamic_cast<TStyleBook*>(root)) {
    Owner->InsertComponent(book);
    return book;
  }
  auto* styleRoot = dynamic_cast<TFmxObject*>(root);
  if (styleRoot == nullptr) {
    delete root;
    return nullptr;
  }
  auto* book = new TStyleBook(Owner);
  book->Styles()->Add(styleRoot);
  return book;
}

}  // namespace

TDemoForm::TDemoForm(TComponent* AOwner) : TForm(AOwner) {
  SetCaption("ZUZided 演示");
  SetBounds(160, 120, 800, 600);
  SetTransparency(true);
  BuildFrame();
  BuildContent();
  FLight = MakeStyleBook(false);
  FDarkBook = MakeStyleBook(true);
  FDark = true;  // so that SetDark(false) applies the light look
  SetDark(false);
  SetOnActivate([this](TObject*) { ShowActivity(); });
  SetOnDeactivate([this](TObject*) { ShowActivity(); });
  ShowActivity();
}

TDemoForm::~TDemoForm() = default;

TStyleBook* TDemoForm::MakeStyleBook(bool DarkStyle) {
  const std::string file = FindExample(DarkStyle ? "dark.style" : "light.style");
  if (!file.empty()) {
    try {
      if (TStyleBook* book = ReadStyleBook(this, file)) {
        FStyleSource = std::filesystem::path(file).parent_path().string();
        return book;
      }
    } catch (const std::exception&) {
      // An unreadable book leaves the demo on its built-in colours.
    }
  }
  // The colours the shipped books hold, for a tree without them.
  const TLook& look = DarkStyle ? kDark : kLight;
  auto* book = new TStyleBook(this);
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
  book->Styles()->Add(root);
  return book;
}

void TDemoForm::BuildFrame() {
  // The window's background and its one-pixel border, behind everything.
  FBackground = new TRectangle(this);
  FBackground->SetParent(this);
  FBackground->SetAlign(TAlignLayout::Contents);
  FBackground->SetHitTest(false);
  FBackground->Stroke()->SetThickness(1);

  FStrip = new TRectangle(this);
  FStrip->SetName("TitleStrip");
  FStrip->SetParent(this);
  FStrip->SetAlign(TAlignLayout::MostTop);
  FStrip->SetHeight(TFrameGeometry::StripHeight);
  FStrip->Stroke()->SetKind(TBrushKind::None);
  FStrip->SetOnMouseDown([this](TObject*, TMouseButton Button, TShiftState Shift, float, float) {
    // Like a system caption: a maximised window stays put.
    if (Button == TMouseButton::mbLeft && !FMaximised) StartWindowDrag();
  });
  FStrip->SetOnDblClick([this](TObject*) { ToggleMaximised(); });

  FCaption = new TLabel(this);
  FCaption->SetParent(FStrip);
  FCaption->SetAlign(TAlignLayout::Client);
  FCaption->SetHitTest(false);
  FCaption->Margins()->SetLeft(12);
  FCaption->SetStyledSettings({});
  FCaption->TextSettings()->SetFontColor(0xFFFFFFFF);
  FCaption->TextSettings()->Font()->SetSize(14);
  FCaption->SetText(Caption());

  struct Cell {
    const char* Name;
    const char* Glyph;
    int Width;
    TAlphaColor Hover;
  };
  const Cell cells[] = {{"btnclose", "r", TFrameGeometry::CloseWidth, 0xFFE81123},
                        {"btnmax", "1", TFrameGeometry::MaxWidth, 0x4DFFFFFF},
                        {"btnmin", "0", TFrameGeometry::MinWidth, 0x4DFFFFFF}};
  // Each cell starts left of the one placed before it, so that the right-aligned
  // cells keep close, maximise, minimise from the right edge leftwards.
  float x = 10000;
  for (const Cell& c : cells) {
    auto* cell = new TRectangle(this);
    cell->SetName(c.Name);
    cell->SetParent(FStrip);
    cell->SetWidth(static_cast<float>(c.Width));
    cell->Position()->SetX(x - c.Width - 3);
    cell->SetAlign(TAlignLayout::MostRight);
    x = cell->Position()->X();
    cell->Stroke()->SetKind(TBrushKind::None);
    cell->Fill()->SetColor(0x00000000);
    const TAlphaColor hover = c.Hover;
    cell->SetOnMouseEnter([cell, hover](TObject*) { cell->Fill()->SetColor(hover); });
    cell->SetOnMouseLeave([cell](TObject*) { cell->Fill()->SetColor(0x00000000); });
    auto* glyph = new TLabel(this);
    glyph->SetParent(cell);
    glyph->SetAlign(TAlignLayout::Client);
    glyph->SetHitTest(false);
    glyph->SetStyledSettings({});
    glyph->TextSettings()->Font()->SetFamily("Webdings");
    glyph->TextSettings()->Font()->SetSize(16);
    glyph->TextSettings()->SetFontColor(0xFFFFFFFF);
    glyph->TextSettings()->SetHorzAlign(TTextAlign::Center);
    glyph->TextSettings()->SetVertAlign(TTextAlign::Center);
    glyph->SetText(c.Glyph);
    const std::string name = c.Name;
    if (name == "btnclose") cell->SetOnClick([this](TObject*) { Close(); });
    if (name == "btnmax") {
      FMaxGlyph = glyph;
      cell->SetOnClick([this](TObject*) { ToggleMaximised(); });
    }
    if (name == "btnmin")
      cell->SetOnClick([this](TObject*) { SetWindowState(TWindowState::wsMinimized); });
  }
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
  SetStyleBook(FDark ? FDarkBook : FLight);
  TAlphaColor window = look.Window;
  if (auto* r = dynamic_cast<TRectangle*>(StyleBook()->FindStyleResource("backgroundstyle")))
    window = r->Fill()->Color();
  FBackground->Fill()->SetColor(window);
  FStrip->Fill()->SetColor(look.Strip);
  FHeading->TextSettings()->SetFontColor(look.Text);
  FBody->TextSettings()->SetFontColor(look.Text);
  FCard->Fill()->SetColor(look.Card);
  FCard->Stroke()->SetColor(look.CardBorder);
}

void TDemoForm::ShowActivity() {
  FBackground->Stroke()->SetColor(Active() ? TFrameGeometry::ActiveBorder
                                           : TFrameGeometry::InactiveBorder);
}

void TDemoForm::ToggleMaximised() {
  const int sw = Screen->Width(), sh = Screen->Height();
  if (!FMaximised) {
    if (Width() == sw && Height() == sh) return;
    FNormalRect = {Left(), Top(), Left() + Width(), Top() + Height()};
    SetBounds(0, 0, sw, sh);
    FMaximised = true;
    FMaxGlyph->SetText("2");
  } else {
    SetBounds(FNormalRect.Left, FNormalRect.Top, FNormalRect.Width(), FNormalRect.Height());
    FMaximised = false;
    FMaxGlyph->SetText("1");
  }
}

}  // namespace demo
