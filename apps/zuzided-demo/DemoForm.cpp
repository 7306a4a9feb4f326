#include "DemoForm.h"

#include <unistd.h>

#include <exception>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "host/Canvas.h"
#include "host/Effects.h"
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

// The menu's pictures, drawn in code like the logo: a page, a folder, a disk and an
// information sign.
void DrawMenuPicture(TBitmap& Picture, int Kind) {
  TCanvas canvas(16, 16);
  canvas.Clear(0x00000000);
  const TBrush blue(TBrushKind::Solid, 0xFF2B579A), amber(TBrushKind::Solid, 0xFFE3A21A),
      white(TBrushKind::Solid, 0xFFFFFFFF), green(TBrushKind::Solid, 0xFF2D7D46);
  switch (Kind) {
    case 0:  // new page
      canvas.FillRect({3, 1, 13, 15}, 1, 1, AllCorners, 1, blue);
      canvas.FillRect({5, 5, 11, 6}, 0, 0, AllCorners, 1, white);
      canvas.FillRect({5, 8, 11, 9}, 0, 0, AllCorners, 1, white);
      break;
    case 1:  // folder
      canvas.FillRect({1, 2, 7, 5}, 1, 1, AllCorners, 1, amber);
      canvas.FillRect({1, 4, 15, 14}, 2, 2, AllCorners, 1, amber);
      break;
    case 2:  // disk
      canvas.FillRect({2, 2, 14, 14}, 2, 2, AllCorners, 1, blue);
      canvas.FillRect({5, 2, 11, 7}, 0, 0, AllCorners, 1, white);
      break;
    default: {  // information
      canvas.FillEllipse({1, 1, 15, 15}, 1, green);
      canvas.FillRect({7, 7, 9, 12}, 0, 0, AllCorners, 1, white);
      canvas.FillRect({7, 4, 9, 6}, 0, 0, AllCorners, 1, white);
      break;
    }
  }
  canvas.CopyTo(Picture);
}

}  // namespace

TDemoForm::TDemoForm(TComponent* AOwner) : TForm(AOwner) {
  SetCaption("ZUZided 演示");
  SetBounds(160, 120, 800, 600);
  SetTransparency(true);
  // The title bar reads its colours from the form's style book, so the book comes first.
  BuildStyles();
  BuildFrame();
  BuildMenu();
  BuildContent();
  // Open menus hang below the bar, over the content: the bar is drawn last.
  FMainMenu->BringToFront();
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

void TDemoForm::BuildMenu() {
  FMenuImages = new TImageList(this);
  for (int kind = 0; kind < 3; ++kind) {
    TBitmap picture;
    DrawMenuPicture(picture, kind);
    FMenuImages->Add(picture);
  }

  FMainMenu = new TQVMenuBar(this);
  FMainMenu->SetName("MainMenu");
  FMainMenu->SetParent(this);
  // Top-aligned controls stack by position: under the title bar, above the content,
  // and already as high as its first paint will make it.
  FMainMenu->SetBounds(0, TFrameGeometry::StripHeight, Width(), TFrameGeometry::MenuHeight);
  FMainMenu->SetMenuBarStyle(TQVMenuBarStyle::msMainMenuBar);
  // Colours follow the style book's current style, as the title bar's do.
  FMainMenu->SetDefaultMenubarColor(true);
  FMainMenu->SetImages(FMenuImages);

  auto entry = [this](TQVMenuBar* Bar, const char* Text, const char* ShortCut = "") {
    auto* b = new TQVMenuButton(this);
    b->SetParent(Bar);
    b->SetButtonText(Text);
    if (*ShortCut != 0) b->SetShortCut(ShortCut);
    if (Bar != FMainMenu) b->SetOnClick([this, b](TObject*) { Chosen(b); });
    return b;
  };
  auto separator = [this](TQVMenuBar* Bar) {
    auto* b = new TQVMenuButton(this);
    b->SetParent(Bar);
    b->SetMenuButtonStyle(TQVMenuButtonStyle::mbSeparatorBar);
  };
  auto symbol = [&](TQVMenuBar* Bar, const char* Text, fmx::Char C, const char* ShortCut = "") {
    TQVMenuButton* b = entry(Bar, Text, ShortCut);
    b->SetMark(TQVMark::mChar);
    b->SetChar(C);
    return b;
  };
  // A sub-menu hangs on the entry that opens it and floats with a soft shadow.
  auto subMenu = [this](TQVMenuBar* Parent, TQVMenuButton* Target) {
    auto* bar = new TQVMenuBar(this);
    bar->SetParent(Parent);
    bar->SetTargetButton(Target);
    Target->SetMoreArrow(true);
    auto* shadow = new TShadowEffect(bar);
    shadow->SetDistance(2);
    shadow->SetSoftness(0.3f);
    shadow->SetOpacity(0.3f);
    shadow->SetParent(bar);
    return bar;
  };

  // The letter in parentheses opens the menu with Alt.
  TQVMenuButton* fileEntry = entry(FMainMenu, "文件(F)");
  TQVMenuButton* editEntry = entry(FMainMenu, "编辑(E)");
  TQVMenuButton* viewEntry = entry(FMainMenu, "视图(V)");
  TQVMenuButton* windowEntry = entry(FMainMenu, "窗口(W)");
  TQVMenuButton* helpEntry = entry(FMainMenu, "帮助(H)");
  FMainMenu->SetShortCutsEnabled(true);

  TQVMenuBar* file = subMenu(FMainMenu, fileEntry);
  entry(file, "新建", "Ctrl+N")->SetImageIndex(0);
  entry(file, "打开...", "Ctrl+O")->SetImageIndex(1);
  TBitmap disk;
  DrawMenuPicture(disk, 2);
  entry(file, "保存", "Ctrl+S")->SetIconBitmap(&disk);
  separator(file);
  TQVMenuButton* recent = entry(file, "最近的文件");
  separator(file);
  // Alt+F4 closes the window through 窗口 > 关闭; each shortcut names one entry.
  FQuit = entry(file, "退出", "Ctrl+Q");
  TQVMenuBar* recentFiles = subMenu(file, recent);
  entry(recentFiles, "报告.txt");
  entry(recentFiles, "notes.md");

  TQVMenuBar* edit = subMenu(FMainMenu, editEntry);
  symbol(edit, "撤销", u'3', "Ctrl+Z");
  symbol(edit, "重做", u'4', "Ctrl+Y");
  separator(edit);
  entry(edit, "剪切", "Ctrl+X");
  entry(edit, "复制", "Ctrl+C");
  // Nothing on the clipboard yet.
  entry(edit, "粘贴", "Ctrl+V")->SetEnabled(false);

  TQVMenuBar* view = subMenu(FMainMenu, viewEntry);
  entry(view, "状态栏")->SetIsCheck(true);
  entry(view, "自动换行")->SetMark(TQVMark::mTick);
  separator(view);
  for (const char* size : {"小图标", "中图标", "大图标"}) entry(view, size)->SetGroupIndex(1);
  // The middle size is the one in use.
  TQVMenuButton* medium = nullptr;
  for (TFmxObject* child : view->ChildrenList())
    if (auto* b = dynamic_cast<TQVMenuButton*>(child); b != nullptr && b->ButtonText() == "中图标")
      medium = b;
  if (medium != nullptr) medium->SetIsCheck(true);

  TQVMenuBar* window = subMenu(FMainMenu, windowEntry);
  FMinimise = symbol(window, "最小化", u'0');
  FMaximise = symbol(window, "最大化", u'1');
  FRestore = symbol(window, "还原", u'2');
  separator(window);
  FCloseWindow = symbol(window, "关闭", u'r', "Alt+F4");

  TQVMenuBar* help = subMenu(FMainMenu, helpEntry);
  entry(help, "帮助主题", "F1");
  TBitmap info;
  DrawMenuPicture(info, 3);
  entry(help, "关于 ZUZided")->SetIconBitmap(&info);
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
      "the light and the dark style. The border turns grey while the window is inactive. "
      "F10 or Alt reaches the menu from the keyboard; Alt+F opens 文件, the arrows walk "
      "it, Enter chooses, Escape goes back; Ctrl+S and the other shortcuts work with the "
      "menus closed.\n"
      "拖动顶部移动窗口，双击最大化或还原。");

  // What the menu last did, on a line of its own under the card.
  FStatus = new TLabel(this);
  FStatus->SetParent(this);
  FStatus->Position()->SetY(260);
  FStatus->SetAlign(TAlignLayout::Top);
  FStatus->SetHeight(32);
  FStatus->Margins()->SetLeft(24);
  FStatus->Margins()->SetTop(8);
  FStatus->SetStyledSettings({});
  FStatus->TextSettings()->Font()->SetSize(16);
  SetStatus("菜单：尚未选择");
}

void TDemoForm::Chosen(TQVMenuButton* Entry) {
  // An entry that opens a further menu is not a choice.
  if (Entry->MoreArrow()) return;
  std::string text = "已选择：" + Entry->ButtonText();
  if (Entry->Mark() == TQVMark::mTick) text += Entry->IsCheck() ? "（开）" : "（关）";
  SetStatus(text);
  ActOnWindow(Entry);
}

void TDemoForm::ActOnWindow(TQVMenuButton* Entry) {
  if (Entry == FQuit || Entry == FCloseWindow) {
    // The demo's one window: closing it ends the application.
    Close();
  } else if (Entry == FMinimise) {
    SetWindowState(TWindowState::wsMinimized);
  } else if (Entry == FMaximise || Entry == FRestore) {
    // As a double-click on the strip: the title bar keeps its glyph and the rectangle
    // to restore.
    if (Maximised() != (Entry == FRestore)) return;
    FTitleBar->DblClick();
  }
}

void TDemoForm::SetStatus(const std::string& Text) {
  FStatusText = Text;
  FStatus->SetText(Text);
  if (FOnStatus) FOnStatus(Text);
}

void TDemoForm::SetDark(bool Value) {
  if (Value == FDark) return;
  FDark = Value;
  const TLook& look = FDark ? kDark : kLight;
  FStyles->SetCurrentItemIndex(FDark ? 1 : 0);
  FHeading->TextSettings()->SetFontColor(look.Text);
  FBody->TextSettings()->SetFontColor(look.Text);
  FStatus->TextSettings()->SetFontColor(look.Text);
  FCard->Fill()->SetColor(look.Card);
  FCard->Stroke()->SetColor(look.CardBorder);
  InvalidateAll();
}

bool TDemoForm::Maximised() const {
  return Width() == Screen->Width() && Height() == Screen->Height();
}

}  // namespace demo
