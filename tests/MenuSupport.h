// The forms the menu tests stand on.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "FMX.QVMenus.h"
#include "HostTestSupport.h"
#include "MenuInspector.h"

namespace fmx {

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
