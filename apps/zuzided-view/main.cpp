// zuzided-view: renders a stored form (or a style file) to a PNG on the headless
// platform, and lists the designer palette.
//
//   zuzided-view [--design] [--style BOOK.style] FILE OUT.png
//   zuzided-view --write FILE        prints the file as the writer writes it
//   zuzided-view --palette           lists the palette pages and their classes
#include <cstdio>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>

#include "FMX.QVMenus.h"
#include "host/Forms.h"
#include "host/Registry.h"
#include "host/Streaming.h"
#include "host/Styles.h"
#include "host/platform/headless/Headless.h"

using namespace fmx;

namespace {

int Usage() {
  std::cerr << "usage: zuzided-view [--design] [--style BOOK.style] FILE OUT.png\n"
               "       zuzided-view --write FILE\n"
               "       zuzided-view --palette\n";
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

}  // namespace

int main(int argc, char** argv) {
  bool design = false;
  std::string style, file, out, mode = "render";
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "--design")
      design = true;
    else if (a == "--palette")
      mode = "palette";
    else if (a == "--write")
      mode = "write";
    else if (a == "--style" && i + 1 < argc)
      style = argv[++i];
    else if (a.rfind("--", 0) == 0)
      return Usage();
    else if (file.empty())
      file = a;
    else if (out.empty())
      out = a;
    else
      return Usage();
  }
  try {
    EnsureHostClasses();
    qvmenus::Register();
    if (mode == "palette") {
      ListPalette();
      return 0;
    }
    if (mode == "write") {
      if (file.empty()) return Usage();
      std::unique_ptr<TComponent> root(ReadComponentFromFile(file, nullptr));
      std::cout << WriteComponentToText(root.get());
      return 0;
    }
    if (file.empty() || out.empty()) return Usage();
    int rc = Render(file, out, style, design);
    ListPalette();
    return rc;
  } catch (const EReadError& e) {
    std::cerr << file << ":" << e.Line() << ":" << e.Column() << ": " << e.What() << "\n";
    return 1;
  } catch (const std::exception& e) {
    std::cerr << "zuzided-view: " << e.what() << "\n";
    return 1;
  }
}
