// The demo: the library's window in a real SDL window when there is a display, or a
// scripted tour of the same form on the headless platform, written out as PNGs.
//
//   zuzided-demo [--sdl | --headless] [--geometry WxH+X+Y] [--dark] [--out DIR]
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "DemoForm.h"
#include "host/platform/headless/Headless.h"
#include "host/platform/sdl/SdlPlatform.h"

using namespace fmx;

namespace {

struct TOptions {
  enum class Mode { Auto, Sdl, Headless } WantMode = Mode::Auto;
  bool HasGeometry = false;
  int X = 0, Y = 0, W = 0, H = 0;
  bool Dark = false;
  std::string OutDir = "out";
};

int Usage(const char* Why) {
  std::fprintf(stderr,
               "zuzided-demo: %s\n"
               "usage: zuzided-demo [--sdl | --headless] [--geometry WxH+X+Y] [--dark] [--out DIR]\n",
               Why);
  return 2;
}

bool ParseGeometry(const char* Text, TOptions& O) {
  char tail = 0;
  if (std::sscanf(Text, "%dx%d%d%d%c", &O.W, &O.H, &O.X, &O.Y, &tail) != 4) return false;
  return O.W > 0 && O.H > 0;
}

void ApplyOptions(demo::TDemoForm& Form, const TOptions& O) {
  if (O.HasGeometry) Form.SetBounds(O.X, O.Y, O.W, O.H);
  Form.SetDark(O.Dark);
}

int RunWindow(std::unique_ptr<TSdlPlatform> Sdl, const TOptions& O) {
  TSdlPlatform* platform = Sdl.get();
  Application->SetPlatform(std::move(Sdl));
  {
    demo::TDemoForm form(nullptr);
    ApplyOptions(form, O);
    platform->SetOnKeyDown([&form](TCommonCustomForm*, uint16_t Key, TShiftState) {
      if (Key == vk::F2) form.ToggleStyle();
    });
    form.SetOnStatus([](const std::string& Text) {
      std::printf("Status: %s\n", Text.c_str());
      std::fflush(stdout);
    });
    form.Show();
    const bool wayland = platform->VideoDriver() == "wayland";
    const char* display = std::getenv(wayland ? "WAYLAND_DISPLAY" : "DISPLAY");
    std::printf("Showing \"%s\" at %dx%d%+d%+d on %s %s (%s). F2 switches light/dark.\n",
                form.Caption().c_str(), form.Width(), form.Height(), form.Left(), form.Top(),
                platform->VideoDriver().c_str(), display != nullptr ? display : "",
                wayland ? "the compositor places the window"
                : platform->HasWindowManager() ? "with a window manager" : "no window manager");
    std::fflush(stdout);
    Application->Run();
    platform->SetOnKeyDown({});
  }
  Application->SetPlatform(nullptr);
  return 0;
}

int RunTour(const TOptions& O) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::create_directories(O.OutDir, ec);
  if (ec) {
    std::fprintf(stderr, "zuzided-demo: cannot create %s: %s\n", O.OutDir.c_str(),
                 ec.message().c_str());
    return 1;
  }
  THeadlessPlatform& platform = THeadlessPlatform::Install();
  demo::TDemoForm form(nullptr);
  ApplyOptions(form, O);
  form.Show();
  platform.Advance(200);

  std::printf("No display: the demo form on the headless platform, %dx%d screen.\n",
              platform.ScreenSize().X, platform.ScreenSize().Y);
  int step = 0;
  auto shoot = [&](const char* Name, const char* What) {
    const std::string file = (fs::path(O.OutDir) / (std::to_string(++step) + "-" + Name + ".png")).string();
    platform.SaveSnapshotPng(&form, file);
    std::printf("  %-44s %dx%d%+d%+d  -> %s\n", What, form.Width(), form.Height(), form.Left(),
                form.Top(), file.c_str());
  };
  const float stripX = 200, stripY = demo::TFrameGeometry::StripHeight / 2.0f;
  shoot("normal", "the window as it opens");
  platform.DoubleClick(&form, stripX, stripY);
  platform.Advance(200);
  auto settle = [&](bool WantMaximised) {
    if (form.Maximised() != WantMaximised)
      std::printf("  (the title bar did not answer the double-click)\n");
  };
  settle(true);
  shoot("maximised", "double-click on the strip: maximised");
  platform.DoubleClick(&form, stripX, stripY);
  platform.Advance(200);
  settle(false);
  shoot("restored", "double-click again: restored");
  platform.SetActive(&form, false);
  platform.Advance(200);
  shoot("inactive", "another window active: grey border");
  platform.SetActive(&form, true);
  platform.Advance(200);
  shoot("active", "active again: green border");
  // The menu: open the first main entry, hover the cascade, choose an entry.
  auto centre = [](const TControl* C) {
    TRectF r = C->AbsoluteRect();
    return TPointF{(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
  };
  auto findEntry = [](TFmxObject* Bar, const std::string& Text) -> TQVMenuButton* {
    for (TFmxObject* child : Bar->ChildrenList())
      if (auto* b = dynamic_cast<TQVMenuButton*>(child); b != nullptr && b->ButtonText() == Text)
        return b;
    return nullptr;
  };
  auto findSubBar = [](TFmxObject* Bar, const TQVMenuButton* Target) -> TQVMenuBar* {
    for (TFmxObject* child : Bar->ChildrenList())
      if (auto* m = dynamic_cast<TQVMenuBar*>(child); m != nullptr && m->TargetButton() == Target)
        return m;
    return nullptr;
  };
  TQVMenuButton* fileEntry = findEntry(form.MainMenu(), "文件(F)");
  TQVMenuBar* fileBar = fileEntry != nullptr ? findSubBar(form.MainMenu(), fileEntry) : nullptr;
  TQVMenuButton* recent = fileBar != nullptr ? findEntry(fileBar, "最近的文件") : nullptr;
  TQVMenuButton* save = fileBar != nullptr ? findEntry(fileBar, "保存") : nullptr;
  if (recent != nullptr && save != nullptr) {
    TPointF p = centre(fileEntry);
    platform.Click(&form, p.X, p.Y);
    p = centre(recent);
    platform.MouseMove(&form, p.X, p.Y);
    platform.Advance(200);
    shoot("menu", "the File menu open, its cascade on hover");
    p = centre(save);
    platform.MouseMove(&form, p.X, p.Y);
    platform.Click(&form, p.X, p.Y);
    platform.Advance(200);
    shoot("chosen", ("chosen: " + form.Status()).c_str());
    // The same menu by keyboard: Alt+F drops it down, Down walks it.
    platform.KeyDown(&form, vk::Menu, 0, {TShiftStateItem::ssAlt});
    platform.KeyPress(&form, 'F', u'f', {TShiftStateItem::ssAlt});
    platform.KeyUp(&form, vk::Menu);
    platform.KeyPress(&form, vk::Down);
    platform.Advance(200);
    shoot("keyboard", "Alt+F, Down: the File menu by keyboard");
    platform.KeyPress(&form, vk::Escape);
    platform.KeyPress(&form, vk::Escape);
    platform.Advance(200);
  }
  // The system menu: a right press on the strip opens it at the mouse; after a tick on
  // an entry a click chooses it. The logo opens it below itself.
  TQVMenuBar* systemMenu = nullptr;
  TControl* logo = nullptr;
  for (TFmxObject* child : form.TitleBar()->ChildrenList()) {
    if (auto* m = dynamic_cast<TQVMenuBar*>(child)) systemMenu = m;
    if (auto* i = dynamic_cast<TImage*>(child)) logo = i;
  }
  TQVMenuButton* maximise = systemMenu != nullptr ? findEntry(systemMenu, "最大化") : nullptr;
  TQVMenuButton* restore = systemMenu != nullptr ? findEntry(systemMenu, "还原") : nullptr;
  if (maximise != nullptr && restore != nullptr && logo != nullptr) {
    platform.Advance(1000);
    platform.MouseDown(&form, TMouseButton::mbRight, stripX, stripY);
    platform.MouseUp(&form, TMouseButton::mbRight, stripX, stripY);
    TPointF p = centre(maximise);
    platform.MouseMove(&form, p.X, p.Y);
    platform.Advance(200);
    shoot("system-menu", "right press on the strip: the system menu");
    platform.Click(&form, p.X, p.Y);
    platform.Advance(200);
    settle(true);
    shoot("system-maximised", "最大化 chosen: maximised");
    const TPointF l = centre(logo);
    platform.Click(&form, l.X, l.Y);
    p = centre(restore);
    platform.MouseMove(&form, p.X, p.Y);
    platform.Advance(200);
    shoot("system-menu-logo", "a press on the logo: the menu below it");
    platform.Click(&form, p.X, p.Y);
    platform.Advance(200);
    settle(false);
  }
  form.ToggleStyle();
  platform.Advance(200);
  shoot(form.Dark() ? "dark" : "light", form.Dark() ? "F2: dark style" : "F2: light style");
  std::printf("Wrote %d pictures under %s/%s\n", step, O.OutDir.c_str(),
              form.StyleSource().empty() ? " (built-in colours; no style books found)" : "");
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  TOptions o;
  for (int i = 1; i < argc; ++i) {
    const char* a = argv[i];
    if (std::strcmp(a, "--sdl") == 0) {
      o.WantMode = TOptions::Mode::Sdl;
    } else if (std::strcmp(a, "--headless") == 0) {
      o.WantMode = TOptions::Mode::Headless;
    } else if (std::strcmp(a, "--dark") == 0) {
      o.Dark = true;
    } else if (std::strcmp(a, "--geometry") == 0 && i + 1 < argc) {
      if (!ParseGeometry(argv[++i], o)) return Usage("bad --geometry, expected WxH+X+Y");
      o.HasGeometry = true;
    } else if (std::strcmp(a, "--out") == 0 && i + 1 < argc) {
      o.OutDir = argv[++i];
    } else {
      return Usage((std::string("unknown argument ") + a).c_str());
    }
  }

  if (o.WantMode != TOptions::Mode::Headless) {
    auto set = [](const char* Name) {
      const char* v = std::getenv(Name);
      return v != nullptr && *v != '\0';
    };
    std::string why = "neither DISPLAY nor WAYLAND_DISPLAY is set";
    std::unique_ptr<TSdlPlatform> sdl;
    if (set("DISPLAY") || set("WAYLAND_DISPLAY")) sdl = TSdlPlatform::Create(&why);
    if (sdl) return RunWindow(std::move(sdl), o);
    if (o.WantMode == TOptions::Mode::Sdl) {
      std::fprintf(stderr, "zuzided-demo: no window system: %s\n", why.c_str());
      return 3;
    }
  }
  return RunTour(o);
}
