// zuzided-view: shows stored forms. It renders a stored form (or a style file) to a PNG
// on the headless platform, keeps one on screen while it is edited (--watch), and lists
// the designer palette. It loads the ZUZided package first, as the designer does, so
// stored forms may hold the library's classes.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>

#include "FormPreview.h"
#include "ZUZided.h"
#include "host/Forms.h"
#include "host/Packages.h"
#include "host/Registry.h"
#include "host/Streaming.h"
#include "host/Styles.h"
#include "host/platform/headless/Headless.h"
#include "host/platform/sdl/SdlPlatform.h"

using namespace fmx;

namespace {

constexpr const char* UsageText =
    "usage: zuzided-view [--design] [--style BOOK.style] FILE OUT.png\n"
    "       zuzided-view --watch [--design] [--style BOOK.style] FILE\n"
    "       zuzided-view --write FILE\n"
    "       zuzided-view --palette\n"
    "\n"
    "Shows a stored form (.fmx) or a style file with the ZUZided controls known.\n"
    "\n"
    "  FILE OUT.png      render FILE to the picture OUT.png without a window\n"
    "  --watch FILE      show FILE in a window and read it again whenever it (or the\n"
    "                    style book) changes; a file that does not read keeps the last\n"
    "                    good form on screen with the error (file:line:column) below it\n"
    "  --style FILE      draw with the style book in FILE\n"
    "  --design          show the form as the designer does\n"
    "  --write FILE      print FILE as the form writer writes it\n"
    "  --palette         list the designer palette pages and their classes\n"
    "  -h, --help        print this help and exit\n";

int Usage(const std::string& Problem) {
  std::cerr << "zuzided-view: " << Problem << "\n" << UsageText;
  return 2;
}

void ListPalette() {
  for (const TPalettePage& page : PalettePages()) {
    std::cout << page.Name << ":";
    for (TClass c : page.Classes) std::cout << " " << c->ClassName();
    std::cout << "\n";
  }
}

int Render(const std::string& File, const std::string& Out, const std::string& Style, bool Design) {
  THeadlessPlatform& platform = THeadlessPlatform::Install();
  TReadOptions options;
  options.Designing = Design;
  std::unique_ptr<TComponent> root(ReadComponentFromFile(File, nullptr, options));

  // A tree that is not a form (a style file, a frame) is shown on a plain form.
  std::unique_ptr<TForm> host;
  auto* form = dynamic_cast<TCommonCustomForm*>(root.get());
  auto* visual = dynamic_cast<TFmxObject*>(root.get());
  if (!form) {
    if (!visual) {
      std::cerr << File << ": the root " << root->ClassName() << " has nothing to show\n";
      return 1;
    }
    host = std::make_unique<TForm>(nullptr);
    host->SetBounds(0, 0, 480, 360);
    if (Design) host->SetDesigning(true);
    visual->SetParent(host.get());
    form = host.get();
  }
  if (!Style.empty()) {
    auto* book = new TStyleBook(form);
    LoadStyleBookFromFile(book, Style);
    form->SetStyleBook(book);
  }
  platform.SaveSnapshotPng(form, Out);
  if (host) visual->SetParent(nullptr);
  std::cout << "wrote " << Out << " (" << form->Width() << " x " << form->Height() << ")\n";
  return 0;
}

int Watch(const std::string& File, const std::string& Style, bool Design) {
  auto set = [](const char* Name) {
    const char* v = std::getenv(Name);
    return v != nullptr && *v != '\0';
  };
  std::unique_ptr<TSdlPlatform> sdl;
  if (set("DISPLAY") || set("WAYLAND_DISPLAY")) sdl = TSdlPlatform::Create();
  if (!sdl) {
    std::cerr << "zuzided-view: --watch needs a window, and no display could be opened"
                 " (is DISPLAY or WAYLAND_DISPLAY set?)\n";
    return 1;
  }
  Application->SetPlatform(std::move(sdl));
  {
    zzview::TFormPreview preview(File, Style, Design);
    preview.SetLog(&std::cerr);
    preview.Reload();
    preview.StartWatching();
    std::cout << "watching " << File << (Style.empty() ? "" : " and " + Style)
              << "; close the window to stop\n";
    std::cout.flush();
    Application->Run();
  }
  Application->SetPlatform(nullptr);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  bool design = false;
  std::string style, file, out, mode = "render";
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "-h" || a == "--help") {
      std::cout << UsageText;
      return 0;
    }
    if (a == "--design")
      design = true;
    else if (a == "--palette")
      mode = "palette";
    else if (a == "--write")
      mode = "write";
    else if (a == "--watch")
      mode = "watch";
    else if (a == "--style") {
      if (i + 1 == argc) return Usage("--style needs a file");
      style = argv[++i];
    } else if (a.rfind("-", 0) == 0 && a.size() > 1)
      return Usage("unknown option " + a);
    else if (file.empty())
      file = a;
    else if (out.empty())
      out = a;
    else
      return Usage("one file too many: " + a);
  }
  try {
    EnsureHostClasses();
    LoadPackage(ZUZided::Package());
    if (mode == "palette") {
      ListPalette();
      return 0;
    }
    if (file.empty()) return Usage("no file given");
    if (mode == "write") {
      THeadlessPlatform::Install();  // a form read is a form made, even when only written
      std::unique_ptr<TComponent> root(ReadComponentFromFile(file, nullptr));
      std::cout << WriteComponentToText(root.get());
      return 0;
    }
    if (mode == "watch") {
      if (!out.empty()) return Usage("--watch shows one file and writes no picture");
      return Watch(file, style, design);
    }
    if (out.empty()) return Usage("no picture to write (FILE OUT.png)");
    return Render(file, out, style, design);
  } catch (const std::exception& e) {
    std::cerr << zzview::DescribeReadError(e, file.empty() ? "zuzided-view" : file) << "\n";
    return 1;
  }
}
