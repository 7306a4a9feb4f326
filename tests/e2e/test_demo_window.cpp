// The demo in a real SDL window under a private X server, driven by xdotool and read
// back through the X tools: what a user of the window would see happen.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <memory>

#include "../../apps/zuzided-demo/DemoForm.h"
#include "XHarness.h"

namespace {

using demo::TFrameGeometry;
using e2e::TChild;
using e2e::TWindowInfo;
using e2e::TXSession;
using e2e::WaitUntil;

const char* const kTitle = "ZUZided 演示";
constexpr int kX = 100, kY = 100, kW = 800, kH = 600;
constexpr uint32_t kActive = TFrameGeometry::ActiveBorder & 0xFFFFFF;
constexpr uint32_t kInactive = TFrameGeometry::InactiveBorder & 0xFFFFFF;

std::string Hex(std::optional<uint32_t> C) {
  if (!C) return "unreadable";
  char buf[16];
  std::snprintf(buf, sizeof buf, "#%06X", *C);
  return buf;
}

// One X server per suite (starting one costs a few hundred ms); a fresh demo per test.
class DemoWindow : public ::testing::Test {
 protected:
  static void StartServer(std::unique_ptr<TXSession>& X, bool WithWm) {
    X = std::make_unique<TXSession>();
    std::string why;
    if (!X->Start(WithWm, &why)) {
      X.reset();
      FAIL() << "no X server for the window tests: " << why;
    }
  }

  void Launch(TXSession* X) {
    ASSERT_NE(X, nullptr);
    Xs = X;
    Log = (std::filesystem::temp_directory_path() /
           ("zuzided-e2e-" + std::to_string(getpid()) + ".log"))
              .string();
    const std::string geometry = std::to_string(kW) + "x" + std::to_string(kH) + "+" +
                                 std::to_string(kX) + "+" + std::to_string(kY);
    ASSERT_TRUE(Demo.Start({ZZ_DEMO_BINARY, "--sdl", "--geometry", geometry}, X->Env(), Log));
    // Shown and painted: the window is listed and its left border has a colour.
    const bool up = WaitUntil(
        [&] {
          auto w = X->FindWindow(kTitle);
          if (!w || X->MapState(w->Id) != "IsViewable") return false;
          Win = *w;
          auto c = X->ScreenPixel(w->X, w->Y + w->Height / 2);
          return c && (*c == kActive || *c == kInactive);
        },
        30000, 50);
    ASSERT_TRUE(up) << "the demo window did not appear; its output:\n" << Output();
  }

  void TearDown() override {
    Demo.Stop();
    if (!Log.empty()) std::filesystem::remove(Log);
  }

  std::string Output() const {
    std::string s;
    if (FILE* f = std::fopen(Log.c_str(), "r")) {
      char buf[512];
      size_t n;
      while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) s.append(buf, n);
      std::fclose(f);
    }
    return s;
  }

  TWindowInfo Current() const {
    auto w = Xs->FindWindow(kTitle);
    return w ? *w : TWindowInfo{};
  }
  bool WindowAt(int X, int Y, int W, int H, int TimeoutMs = 6000) {
    return WaitUntil(
        [&] {
          const TWindowInfo w = Current();
          return w.X == X && w.Y == Y && w.Width == W && w.Height == H;
        },
        TimeoutMs);
  }
  std::string Describe() const {
    const TWindowInfo w = Current();
    return std::to_string(w.Width) + "x" + std::to_string(w.Height) + "+" + std::to_string(w.X) +
           "+" + std::to_string(w.Y);
  }
  // A point of the strip clear of the caption buttons, in screen pixels.
  int StripX(const TWindowInfo& W) const { return W.X + 200; }
  int StripY(const TWindowInfo& W) const { return W.Y + TFrameGeometry::StripHeight / 2; }
  void ClickAt(int X, int Y, const std::string& Button = "1") {
    ASSERT_TRUE(Xs->Xdo({"mousemove", std::to_string(X), std::to_string(Y)}));
    ASSERT_TRUE(Xs->Xdo({"click", Button}));
  }
  void DoubleClickAt(int X, int Y) {
    ASSERT_TRUE(Xs->Xdo({"mousemove", std::to_string(X), std::to_string(Y)}));
    ASSERT_TRUE(Xs->Xdo({"click", "--repeat", "2", "--delay", "80", "1"}));
  }
  std::optional<uint32_t> BorderPixel() const {
    const TWindowInfo w = Current();
    return Xs->ScreenPixel(w.X, w.Y + w.Height / 2);
  }
  bool BorderBecomes(uint32_t Colour, int TimeoutMs) {
    return WaitUntil([&] { return BorderPixel() == Colour; }, TimeoutMs, 40);
  }

  void DragStripBy(int DX, int DY) {
    const TWindowInfo w = Current();
    const int x0 = StripX(w), y0 = StripY(w);
    ASSERT_TRUE(Xs->Xdo({"mousemove", std::to_string(x0), std::to_string(y0)}));
    ASSERT_TRUE(Xs->Xdo({"mousedown", "1"}));
    constexpr int kSteps = 6;
    for (int i = 1; i <= kSteps; ++i) {
      ASSERT_TRUE(Xs->Xdo({"mousemove", std::to_string(x0 + DX * i / kSteps),
                           std::to_string(y0 + DY * i / kSteps)}));
      usleep(30000);
    }
    ASSERT_TRUE(Xs->Xdo({"mouseup", "1"}));
  }

  // Presses at screen point X, Y and moves by DX, DY in steps before releasing.
  void DragFromBy(int X, int Y, int DX, int DY) {
    ASSERT_TRUE(Xs->Xdo({"mousemove", std::to_string(X), std::to_string(Y)}));
    ASSERT_TRUE(Xs->Xdo({"mousedown", "1"}));
    constexpr int kSteps = 6;
    for (int i = 1; i <= kSteps; ++i) {
      ASSERT_TRUE(Xs->Xdo({"mousemove", std::to_string(X + DX * i / kSteps),
                           std::to_string(Y + DY * i / kSteps)}));
      usleep(30000);
    }
    ASSERT_TRUE(Xs->Xdo({"mouseup", "1"}));
  }
  // The right edge out by 120, then the bottom-left corner out by 90 and down by 70;
  // the window follows both, and the pointer moving on afterwards leaves it alone.
  void ExpectEdgeAndCornerResize() {
    DragFromBy(Win.X + Win.Width - 2, Win.Y + Win.Height / 2, 120, 0);
    ASSERT_TRUE(WindowAt(kX, kY, kW + 120, kH)) << Describe();
    const TWindowInfo w = Current();
    DragFromBy(w.X + 2, w.Y + w.Height - 2, -90, 70);
    ASSERT_TRUE(WindowAt(kX - 90, kY, kW + 210, kH + 70)) << Describe();
    ASSERT_TRUE(Xs->Xdo({"mousemove_relative", "--", "-40", "40"}));
    usleep(150000);
    EXPECT_TRUE(WindowAt(kX - 90, kY, kW + 210, kH + 70, 200)) << Describe();
  }

  void ExpectEndsWithStatusZero() {
    int status = 0;
    ASSERT_TRUE(Demo.WaitExit(10000, &status)) << "the demo is still running";
    EXPECT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status) << "\n" << Output();
    if (WIFEXITED(status)) {
      EXPECT_EQ(WEXITSTATUS(status), 0) << Output();
    }
  }

  TXSession* Xs = nullptr;
  TChild Demo;
  TWindowInfo Win;
  std::string Log;
};

// --- no window manager: what SDL and the platform do on their own ------------------

class BareServer : public DemoWindow {
 protected:
  static void SetUpTestSuite() { StartServer(X, false); }
  static void TearDownTestSuite() { X.reset(); }
  void SetUp() override { Launch(X.get()); }
  static std::unique_ptr<TXSession> X;
};
std::unique_ptr<TXSession> BareServer::X;

TEST_F(BareServer, OpensBorderlessAtTheGivenGeometryAndActive) {
  EXPECT_EQ(Describe(), "800x600+100+100");
  EXPECT_EQ(BorderPixel(), kActive) << Hex(BorderPixel());
}

TEST_F(BareServer, DraggingTheStripMovesTheWindowByTheDrag) {
  DragStripBy(150, 90);
  EXPECT_TRUE(WindowAt(kX + 150, kY + 90, kW, kH)) << Describe();
  // The release ended the drag: moving the pointer on does not take the window along.
  ASSERT_TRUE(Xs->Xdo({"mousemove_relative", "--", "40", "40"}));
  usleep(150000);
  EXPECT_TRUE(WindowAt(kX + 150, kY + 90, kW, kH, 200)) << Describe();
}

TEST_F(BareServer, DraggingTheRightEdgeAndTheBottomLeftCornerResizesByTheDrag) {
  ExpectEdgeAndCornerResize();
}

TEST_F(BareServer, DragIntoNegativeCoordinatesFollowsThePointer) {
  DragStripBy(-150, -80);
  EXPECT_TRUE(WindowAt(kX - 150, kY - 80, kW, kH)) << Describe();
}

TEST_F(BareServer, DoubleClickOnTheStripMaximisesAndAgainRestores) {
  DoubleClickAt(StripX(Win), StripY(Win));
  ASSERT_TRUE(WindowAt(0, 0, 1920, 1080)) << Describe();
  // The strip moved with the window: double-click it where it is now.
  const TWindowInfo max = Current();
  DoubleClickAt(StripX(max), StripY(max));
  EXPECT_TRUE(WindowAt(kX, kY, kW, kH)) << Describe();
}

TEST_F(BareServer, CloseButtonEndsTheProcessWithStatusZero) {
  ClickAt(Win.X + Win.Width - TFrameGeometry::CloseWidth / 2, StripY(Win));
  ExpectEndsWithStatusZero();
}

TEST_F(BareServer, TerminationSignalEndsTheProcessWithStatusZero) {
  kill(Demo.Pid(), SIGTERM);
  ExpectEndsWithStatusZero();
}

TEST_F(BareServer, MinimiseWithoutWindowManagerHidesTheWindow) {
  ClickAt(Win.X + Win.Width - TFrameGeometry::CloseWidth - TFrameGeometry::MaxWidth -
              TFrameGeometry::MinWidth / 2,
          StripY(Win));
  EXPECT_TRUE(WaitUntil([&] { return Xs->MapState(Win.Id) == "IsUnMapped"; }, 5000))
      << Xs->MapState(Win.Id);
  EXPECT_TRUE(Demo.Running()) << Output();
}

TEST_F(BareServer, LosingTheFocusGreysTheBorderAndRegainingItRestoresIt) {
  // Without a window manager focus moves only when set: give it to the root window.
  const std::string info = Xs->Run({"xwininfo", "-root"});
  const auto at = info.find("Window id: ");
  ASSERT_NE(at, std::string::npos);
  const std::string root = info.substr(at + 11, info.find(' ', at + 11) - (at + 11));
  ASSERT_TRUE(Xs->Xdo({"windowfocus", root}));
  EXPECT_TRUE(BorderBecomes(kInactive, 5000)) << Hex(BorderPixel());
  ASSERT_TRUE(Xs->Xdo({"windowfocus", Win.Id}));
  EXPECT_TRUE(BorderBecomes(kActive, 5000)) << Hex(BorderPixel());
}

TEST_F(BareServer, RightPressOnTheStripDoesNotCrash) {
  ClickAt(StripX(Win), StripY(Win), "3");
  usleep(300000);
  ClickAt(StripX(Win) + 40, StripY(Win), "3");
  usleep(300000);
  EXPECT_TRUE(Demo.Running()) << Output();
  EXPECT_EQ(Xs->MapState(Win.Id), "IsViewable");
  EXPECT_EQ(Describe(), "800x600+100+100");
}

// --- the main menu -------------------------------------------------------------------
// Points of the light-look demo at 800 x 600, relative to the window: the File entry on
// the main bar, the drop-down's right border (its background is the form's), rows of
// the drop-down (blank between caption and shortcut) and the first entry of the cascade
// that opens to the right of "最近的文件".
constexpr int kFileX = 20, kFileY = 46;
constexpr int kEdgeX = 166, kEdgeY = 80;
constexpr int kRowX = 85, kNewY = 72, kSaveY = 126, kRecentY = 158;
constexpr int kCascadeX = 230;
constexpr int kBodyX = 400, kBodyY = 450;

// The highlight is a translucent cornflower blue: blue well above red.
bool Blueish(std::optional<uint32_t> C) {
  if (!C) return false;
  const int r = (*C >> 16) & 0xFF, b = *C & 0xFF;
  return b - r >= 30;
}

class DemoMenu : public BareServer {
 protected:
  std::optional<uint32_t> At(int X, int Y) const { return Xs->ScreenPixel(Win.X + X, Win.Y + Y); }
  void MoveTo(int X, int Y) {
    ASSERT_TRUE(Xs->Xdo({"mousemove", std::to_string(Win.X + X), std::to_string(Win.Y + Y)}));
  }
  void OpenFileMenu() {
    ASSERT_TRUE(BorderBecomes(kActive, 5000));
    Before = At(kEdgeX, kEdgeY);
    ClickAt(Win.X + kFileX, Win.Y + kFileY);
    ASSERT_TRUE(WaitUntil([&] { return At(kEdgeX, kEdgeY) != Before; }, 3000))
        << "no drop-down at the File entry: " << Hex(At(kEdgeX, kEdgeY));
  }
  bool MenuGone(int TimeoutMs) {
    return WaitUntil([&] { return At(kEdgeX, kEdgeY) == Before; }, TimeoutMs, 20);
  }
  std::optional<uint32_t> Before;
};

TEST_F(DemoMenu, TheHighlightFollowsTheMouseTheCascadeOpensAndChoosingSaysSo) {
  OpenFileMenu();
  MoveTo(kRowX, kSaveY);
  EXPECT_TRUE(WaitUntil([&] { return Blueish(At(kRowX, kSaveY)); }, 2000)) << Hex(At(kRowX, kSaveY));
  MoveTo(kRowX, kNewY);
  EXPECT_TRUE(WaitUntil([&] { return Blueish(At(kRowX, kNewY)) && !Blueish(At(kRowX, kSaveY)); },
                        2000))
      << Hex(At(kRowX, kNewY)) << " " << Hex(At(kRowX, kSaveY));
  // Hovering the entry with an arrow opens its cascade to the right; its first entry
  // takes the highlight.
  MoveTo(kRowX, kRecentY);
  ASSERT_TRUE(WaitUntil([&] { return Blueish(At(kRowX, kRecentY)); }, 2000));
  MoveTo(kCascadeX + 50, kRecentY);
  EXPECT_TRUE(WaitUntil([&] { return Blueish(At(kCascadeX + 50, kRecentY)); }, 2000))
      << Hex(At(kCascadeX + 50, kRecentY));
  ClickAt(Win.X + kCascadeX, Win.Y + kRecentY);
  EXPECT_TRUE(MenuGone(2000)) << Hex(At(kEdgeX, kEdgeY));
  EXPECT_TRUE(WaitUntil([&] { return Output().find("Status: 已选择：报告.txt") != std::string::npos; },
                        3000))
      << Output();
  EXPECT_TRUE(Demo.Running());
}

TEST_F(DemoMenu, AClickOnTheFormBodyClosesTheMenuWithinATick) {
  OpenFileMenu();
  MoveTo(kBodyX, kBodyY);
  usleep(250000);  // a tick or two: the form's handler is borrowed
  ClickAt(Win.X + kBodyX, Win.Y + kBodyY);
  EXPECT_TRUE(MenuGone(1000)) << Hex(At(kEdgeX, kEdgeY));
  // Nothing was chosen.
  EXPECT_EQ(Output().find("Status: 已选择"), std::string::npos) << Output();
}

TEST_F(DemoMenu, FocusingAnotherWindowClosesTheMenuWithinATick) {
  OpenFileMenu();
  MoveTo(kRowX, kNewY);  // on the menu: no foreign control is borrowed
  usleep(150000);
  const std::string info = Xs->Run({"xwininfo", "-root"});
  const auto at = info.find("Window id: ");
  ASSERT_NE(at, std::string::npos);
  const std::string root = info.substr(at + 11, info.find(' ', at + 11) - (at + 11));
  ASSERT_TRUE(Xs->Xdo({"windowfocus", root}));
  ASSERT_TRUE(BorderBecomes(kInactive, 5000));
  EXPECT_TRUE(MenuGone(1000)) << Hex(At(kEdgeX, kEdgeY));
}

TEST_F(DemoMenu, AltLetterOpensArrowsWalkEnterChoosesAndAShortCutFiresWithTheMenusClosed) {
  ASSERT_TRUE(BorderBecomes(kActive, 5000));
  Before = At(kEdgeX, kEdgeY);
  auto said = [&](const std::string& What) {
    return WaitUntil([&] { return Output().find("Status: 已选择：" + What) != std::string::npos; },
                     3000);
  };
  ASSERT_TRUE(Xs->Xdo({"key", "alt+f"}));
  ASSERT_TRUE(WaitUntil([&] { return At(kEdgeX, kEdgeY) != Before; }, 3000))
      << "Alt+F opened no drop-down: " << Hex(At(kEdgeX, kEdgeY)) << "\n" << Output();
  EXPECT_TRUE(WaitUntil([&] { return Blueish(At(kRowX, kNewY)); }, 2000)) << Hex(At(kRowX, kNewY));
  ASSERT_TRUE(Xs->Xdo({"key", "Down", "Down"}));
  EXPECT_TRUE(WaitUntil([&] { return Blueish(At(kRowX, kSaveY)) && !Blueish(At(kRowX, kNewY)); },
                        2000))
      << Hex(At(kRowX, kSaveY)) << " " << Hex(At(kRowX, kNewY));
  ASSERT_TRUE(Xs->Xdo({"key", "Return"}));
  EXPECT_TRUE(MenuGone(2000)) << Hex(At(kEdgeX, kEdgeY));
  EXPECT_TRUE(said("保存")) << Output();
  // With the menus closed a shortcut chooses its entry; nothing drops down.
  ASSERT_TRUE(Xs->Xdo({"key", "ctrl+n"}));
  EXPECT_TRUE(said("新建")) << Output();
  EXPECT_EQ(At(kEdgeX, kEdgeY), Before);
  // F10 lights 文件(F), Down drops it down, Escape twice leaves nothing open or lit.
  ASSERT_TRUE(Xs->Xdo({"key", "F10", "Down", "Escape", "Escape"}));
  usleep(300000);
  EXPECT_EQ(At(kEdgeX, kEdgeY), Before);
  EXPECT_FALSE(Blueish(At(kFileX, kFileY))) << Hex(At(kFileX, kFileY));
  EXPECT_TRUE(Demo.Running());
}

// --- the title bar's system menu -------------------------------------------------------
// Its entries are 27 pixels high, stacked from the menu's top left corner, which lies 3
// pixels right of and below the right press; a separator of 5 pixels stands before
// 关闭. The menu borrows the entry under the mouse on its next 100 ms tick, so each
// choice rests on the entry a little before the click.
constexpr int kSysEntryHeight = 27, kSysSeparator = 5, kSysTextX = 60;

class SystemMenuWindow : public BareServer {
 protected:
  // Opens the menu at the strip and clicks the entry in row Row (0 is 还原).
  void Choose(int Row, bool AfterSeparator = false) {
    const TWindowInfo w = Current();
    const int x = StripX(w), y = StripY(w);
    ClickAt(x, y, "3");
    const int entryY = y + 3 + Row * kSysEntryHeight + (AfterSeparator ? kSysSeparator : 0) +
                       kSysEntryHeight / 2;
    ASSERT_TRUE(Xs->Xdo({"mousemove", std::to_string(x + 3 + kSysTextX), std::to_string(entryY)}));
    usleep(350000);
    ASSERT_TRUE(Xs->Xdo({"click", "1"}));
  }
};

TEST_F(SystemMenuWindow, MaximiseFillsTheScreenRestoreBringsTheOldRectangleBackCloseEnds) {
  ASSERT_TRUE(BorderBecomes(kActive, 5000));
  Choose(4);  // 最大化
  ASSERT_TRUE(WindowAt(0, 0, 1920, 1080)) << Describe() << "\n" << Output();
  usleep(200000);
  Choose(0);  // 还原
  ASSERT_TRUE(WindowAt(kX, kY, kW, kH)) << Describe() << "\n" << Output();
  usleep(200000);
  Choose(5, true);  // 关闭
  ExpectEndsWithStatusZero();
}

TEST_F(SystemMenuWindow, TheLogoOpensItBelowItselfAndClosesItAgain) {
  ASSERT_TRUE(BorderBecomes(kActive, 5000));
  // The logo's middle; the menu hangs from 6 pixels above the strip's bottom edge, and
  // the entry under the mouse (最小化, row 3) takes the dark highlight.
  const int logoX = Win.X + 18, logoY = StripY(Win);
  const int rowX = Win.X + 150, rowY = Win.Y + TFrameGeometry::StripHeight - 6 +
                                       3 * kSysEntryHeight + kSysEntryHeight / 2;
  auto dark = [&] {
    const auto c = Xs->ScreenPixel(rowX, rowY);
    return c && ((*c >> 16) & 0xFF) < 0x90 && ((*c >> 8) & 0xFF) < 0x90 && (*c & 0xFF) < 0x90;
  };
  ASSERT_FALSE(dark()) << Hex(Xs->ScreenPixel(rowX, rowY));
  ClickAt(logoX, logoY);
  ASSERT_TRUE(Xs->Xdo({"mousemove", std::to_string(rowX), std::to_string(rowY)}));
  EXPECT_TRUE(WaitUntil(dark, 3000)) << Hex(Xs->ScreenPixel(rowX, rowY));
  ClickAt(logoX, logoY);
  EXPECT_TRUE(WaitUntil([&] { return !dark(); }, 3000)) << Hex(Xs->ScreenPixel(rowX, rowY));
  EXPECT_EQ(Describe(), "800x600+100+100");
}

// --- with openbox: minimise, focus and activation as on a desktop -------------------

class WithWindowManager : public DemoWindow {
 protected:
  static void SetUpTestSuite() { StartServer(X, true); }
  static void TearDownTestSuite() { X.reset(); }
  void SetUp() override { Launch(X.get()); }
  static std::unique_ptr<TXSession> X;
};
std::unique_ptr<TXSession> WithWindowManager::X;

TEST_F(WithWindowManager, OpensWhereAskedWithoutAFrame) {
  EXPECT_EQ(Describe(), "800x600+100+100");
}

TEST_F(WithWindowManager, DraggingTheStripMovesTheWindowByTheDrag) {
  DragStripBy(200, 120);
  EXPECT_TRUE(WindowAt(kX + 200, kY + 120, kW, kH)) << Describe();
}

TEST_F(WithWindowManager, DraggingTheRightEdgeAndTheBottomLeftCornerResizesByTheDrag) {
  ExpectEdgeAndCornerResize();
}

TEST_F(WithWindowManager, MinimiseIconifiesAndActivationBringsItBack) {
  ClickAt(Win.X + Win.Width - TFrameGeometry::CloseWidth - TFrameGeometry::MaxWidth -
              TFrameGeometry::MinWidth / 2,
          StripY(Win));
  EXPECT_TRUE(WaitUntil(
      [&] { return Xs->Run({"xprop", "-id", Win.Id, "WM_STATE"}).find("Iconic") != std::string::npos; },
      5000))
      << Xs->Run({"xprop", "-id", Win.Id, "WM_STATE"});
  EXPECT_NE(Xs->MapState(Win.Id), "IsViewable");
  ASSERT_TRUE(Xs->Xdo({"windowactivate", Win.Id}));
  EXPECT_TRUE(WaitUntil([&] { return Xs->MapState(Win.Id) == "IsViewable"; }, 5000));
  EXPECT_TRUE(BorderBecomes(kActive, 5000)) << Hex(BorderPixel());
  EXPECT_EQ(Describe(), "800x600+100+100");
}

TEST_F(WithWindowManager, AnotherWindowTakingTheFocusGreysTheBorderAndAClickBringsItBack) {
  ASSERT_TRUE(BorderBecomes(kActive, 5000)) << Hex(BorderPixel());
  TChild other;
  ASSERT_TRUE(other.Start({"xmessage", "-geometry", "+1300+800", "another window"}, Xs->Env()));
  EXPECT_TRUE(BorderBecomes(kInactive, 5000)) << Hex(BorderPixel());
  ClickAt(Win.X + Win.Width / 2, Win.Y + Win.Height / 2);
  EXPECT_TRUE(BorderBecomes(kActive, 5000)) << Hex(BorderPixel());
  other.Stop();
}

TEST_F(WithWindowManager, CloseButtonEndsTheProcessWithStatusZero) {
  ClickAt(Win.X + Win.Width - TFrameGeometry::CloseWidth / 2, StripY(Win));
  ExpectEndsWithStatusZero();
}

}  // namespace
