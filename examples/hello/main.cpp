// hello: a borderless window whose frame is ZUZided's title bar and whose size stays
// between 480 x 320 and 1024 x 768. A real window when there is a display; otherwise
// (or with --headless) the same form on the headless platform, which reports what the
// limits did and writes a picture with --png FILE.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "FMX.QVConstrainedForm.h"
#include "FMX.QVMenus.h"
#include "FMX.QVTitleBar.h"
#include "ZUZided.h"
#include "host/StdCtrls.h"
#include "host/platform/headless/Headless.h"
#include "host/platform/sdl/SdlPlatform.h"

using namespace fmx;

namespace {

class THelloForm : public TQVConstrainedForm {
 public:
  THelloForm() : TQVConstrainedForm(nullptr) {
    SetCaption("Hello, ZUZided");
    Constraints()->SetMinWidth(480);
    Constraints()->SetMinHeight(320);
    Constraints()->SetMaxWidth(1024);
    Constraints()->SetMaxHeight(768);
    SetBounds(200, 150, 640, 400);
    SetTransparency(true);  // the title bar is the frame

    auto* bar = new TQVTitleBar(this);
    bar->SetParent(this);
    bar->SetCaption("Hello, ZUZided");
    bar->SetCaptionAlignment(TCaptionAlignment::caLeft);
    bar->SetSizeGripVisible(true);
    // The main menu right below the title bar.
    auto* menu = new TQVMenuBar(this);
    menu->SetParent(this);
    menu->SetMenuBarStyle(TQVMenuBarStyle::msMainMenuBar);
    for (const char* caption : {"文件(F)", "帮助(H)"}) {
      auto* entry = new TQVMenuButton(this);
      entry->SetParent(menu);
      entry->SetButtonText(caption);
    }

    auto* text = new TLabel(this);
    text->SetParent(this);
    text->SetAlign(TAlignLayout::Client);
    text->Margins()->SetLeft(16);
    text->SetText("Resize me: I stay between 480 x 320 and 1024 x 768.");
  }
};

int RunWindow(std::unique_ptr<TSdlPlatform> Sdl) {
  Application->SetPlatform(std::move(Sdl));
  {
    THelloForm form;
    form.Show();
    Application->Run();
  }
  Application->SetPlatform(nullptr);
  return 0;
}

int RunHeadless(const char* Png) {
  THeadlessPlatform& platform = THeadlessPlatform::Install();
  THelloForm form;
  form.Show();
  platform.Advance(200);
  form.SetBounds(form.Left(), form.Top(), 100, 100);
  std::printf("hello: asked for 100 x 100, got %d x %d\n", form.Width(), form.Height());
  form.SetBounds(form.Left(), form.Top(), 4000, 3000);
  std::printf("hello: asked for 4000 x 3000, got %d x %d\n", form.Width(), form.Height());
  form.SetBounds(form.Left(), form.Top(), 640, 400);
  platform.SetActive(&form, true);
  platform.Advance(200);
  if (Png != nullptr) platform.SaveSnapshotPng(&form, Png);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  bool headless = false;
  const char* png = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--headless") == 0) {
      headless = true;
    } else if (std::strcmp(argv[i], "--png") == 0 && i + 1 < argc) {
      png = argv[++i];
    } else {
      std::fprintf(stderr, "usage: hello [--headless] [--png FILE]\n");
      return 2;
    }
  }
  // Makes the library's classes known to stored forms and the palette.
  ZUZided::Register();

  const char* display = std::getenv("DISPLAY");
  if (!headless && display != nullptr && *display != '\0')
    if (auto sdl = TSdlPlatform::Create()) return RunWindow(std::move(sdl));
  return RunHeadless(png);
}
