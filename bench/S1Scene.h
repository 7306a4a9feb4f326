// The window users compare us on: a 1280 x 800 transparent form with a title bar, a
// main menu bar of five menus and the 窗口(W) drop-down open. Shared by the scene
// benchmarks and the first-frame program so that both measure the same window.
#pragma once

#include <memory>
#include <vector>

#include "FMX.QVMenus.h"
#include "FMX.QVTitleBar.h"
#include "host/Forms.h"
#include "host/platform/headless/Headless.h"

namespace fmx::bench {

constexpr int FrameW = 1280, FrameH = 800;

inline TQVMenuButton* Entry(TForm* F, TQVMenuBar* Bar, const char* Text, const char* ShortCut = "") {
  auto* b = new TQVMenuButton(F);
  b->SetParent(Bar);
  b->SetButtonText(Text);
  if (*ShortCut != 0) b->SetShortCut(ShortCut);
  return b;
}

inline void Separator(TForm* F, TQVMenuBar* Bar) {
  auto* b = new TQVMenuButton(F);
  b->SetParent(Bar);
  b->SetMenuButtonStyle(TQVMenuButtonStyle::mbSeparatorBar);
}

inline TQVMenuBar* SubMenu(TForm* F, TQVMenuBar* Parent, TQVMenuButton* Target) {
  auto* bar = new TQVMenuBar(F);
  bar->SetParent(Parent);
  bar->SetTargetButton(Target);
  Target->SetMoreArrow(true);
  return bar;
}

struct TS1Scene {
  std::unique_ptr<TForm> Form;
  TQVMenuButton* WindowEntry = nullptr;
  // The drop-down's entries a pointer can rest on (the separators left out).
  std::vector<TQVMenuButton*> DropDown;

  TS1Scene() {
    Form = std::make_unique<TForm>(nullptr);
    TForm* F = Form.get();
    F->SetBounds(0, 0, FrameW, FrameH);
    F->SetTransparency(true);
    auto* bar = new TQVTitleBar(F);
    bar->SetParent(F);
    bar->SetCaption("ZUZided 演示 — 主窗口");
    auto* menu = new TQVMenuBar(F);
    menu->SetParent(F);
    menu->SetBounds(0, 32, FrameW, 26);
    menu->SetMenuBarStyle(TQVMenuBarStyle::msMainMenuBar);
    TQVMenuButton* mains[5];
    const char* titles[] = {"文件(F)", "编辑(E)", "视图(V)", "窗口(W)", "帮助(H)"};
    for (int i = 0; i < 5; ++i) mains[i] = Entry(F, menu, titles[i]);
    WindowEntry = mains[3];
    TQVMenuBar* window = SubMenu(F, menu, WindowEntry);
    auto add = [&](TQVMenuButton* b) { DropDown.push_back(b); };
    TQVMenuButton* restore = Entry(F, window, "还原(R)");
    restore->SetEnabled(false);
    add(restore);
    add(Entry(F, window, "最小化(N)"));
    add(Entry(F, window, "最大化(X)"));
    TQVMenuButton* ontop = Entry(F, window, "总在最前(T)");
    ontop->SetIsCheck(true);
    add(ontop);
    Separator(F, window);
    TQVMenuButton* arrange = Entry(F, window, "排列(A)");
    add(arrange);
    TQVMenuBar* arrangeMenu = SubMenu(F, window, arrange);
    Entry(F, arrangeMenu, "层叠");
    Entry(F, arrangeMenu, "平铺");
    Separator(F, window);
    add(Entry(F, window, "关闭(C)", "Alt+F4"));
    F->Show();
  }

  // Opens the 窗口(W) drop-down the way a user does, with a click on its entry.
  void OpenWindowMenu(THeadlessPlatform& P) {
    const TRectF r = WindowEntry->AbsoluteRect();
    P.Click(Form.get(), (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  }
};

}  // namespace fmx::bench
