// The big menus users compare us on: a main bar of 10 menus of N entries with caption
// and shortcut, every 10th a tick, every 25th with an arrow to a sub-menu of 4 entries.
// Shared by the loop benchmark and the cold runner so that both build the same tree.
#pragma once

#include <optional>
#include <string>

#include "S1Scene.h"

namespace fmx::bench {

// Builds the menus on F under one realign batch. LayoutSeconds, when given, receives
// the time of the one deferred layout at the batch's end, read with Clock.
template <typename TClock>
inline void BuildS2(TForm* F, int N, TClock Clock, double* LayoutSeconds = nullptr) {
  std::optional<TRealignBatch> batch;
  batch.emplace();
  auto* menu = new TQVMenuBar(F);
  menu->SetParent(F);
  menu->SetMenuBarStyle(TQVMenuBarStyle::msMainMenuBar);
  for (int m = 0; m < 10; ++m) {
    TQVMenuButton* top = Entry(F, menu, ("菜单" + std::to_string(m + 1)).c_str());
    TQVMenuBar* drop = SubMenu(F, menu, top);
    for (int e = 0; e < N; ++e) {
      TQVMenuButton* b = Entry(F, drop, ("条目 " + std::to_string(e + 1)).c_str(), "Ctrl+Shift+N");
      if (e % 10 == 0) b->SetIsCheck(true);
      if (e % 25 == 0) {
        TQVMenuBar* sub = SubMenu(F, drop, b);
        for (int s = 0; s < 4; ++s) Entry(F, sub, "子条目");
      }
    }
  }
  const double laidOut = Clock();
  batch.reset();
  if (LayoutSeconds != nullptr) *LayoutSeconds += Clock() - laidOut;
}

}  // namespace fmx::bench
