// zuzided-doc-pages: what the reference documentation shows that the headers cannot.
// It builds the "Getting started" form on the headless platform and writes its
// pictures, and lists every registered class's published properties with the values
// a new object has, which are their stored defaults. Run on each docs build, so the
// pages show what this build does. The snippets between the //! markers are quoted
// by the Getting started page.
//
//   zuzided-doc-pages OUT_DIR
#include <cstdio>
#include <fstream>
#include <iomanip>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <variant>
#include <vector>

//! [includes]
#include "FMX.QVConstrainedForm.h"
#include "FMX.QVMenus.h"
#include "FMX.QVTitleBar.h"
#include "ZUZided.h"
#include "host/StdCtrls.h"
#include "host/platform/headless/Headless.h"
//! [includes]
#include "host/Registry.h"

using namespace fmx;

namespace {

//! [form]
// A borderless window whose frame is the title bar, a main menu below it, and a size
// that stays between 480 x 320 and 1024 x 768 whatever asks for another.
class TMainForm : public TQVConstrainedForm {
 public:
  TMainForm() : TQVConstrainedForm(nullptr) {
    Constraints()->SetMinWidth(480);
    Constraints()->SetMinHeight(320);
    Constraints()->SetMaxWidth(1024);
    Constraints()->SetMaxHeight(768);
    SetBounds(0, 0, 560, 340);
    SetTransparency(true);  // no system frame: the title bar draws it

    auto* bar = new TQVTitleBar(this);
    bar->SetParent(this);
    bar->SetCaption("Getting started");
    bar->SetRadian(8);  // rounded window corners
    bar->SetSizeGripVisible(true);

    auto* menu = new TQVMenuBar(this);
    menu->SetParent(this);
    menu->SetMenuBarStyle(TQVMenuBarStyle::msMainMenuBar);
    FileEntry = new TQVMenuButton(this);
    FileEntry->SetParent(menu);
    FileEntry->SetButtonText("File(F)");  // Alt+F opens it
    auto* help = new TQVMenuButton(this);
    help->SetParent(menu);
    help->SetButtonText("Help(H)");

    auto* fileMenu = new TQVMenuBar(this);  // hangs on the File entry
    fileMenu->SetParent(menu);
    fileMenu->SetTargetButton(FileEntry);
    for (const char* text : {"New", "Open...", "Save"}) {
      auto* entry = new TQVMenuButton(this);
      entry->SetParent(fileMenu);
      entry->SetButtonText(text);
      if (std::string(text) == "Save") entry->SetShortCut("Ctrl+S");
    }
    menu->SetShortCutsEnabled(true);

    auto* text = new TLabel(this);
    text->SetParent(this);
    text->SetAlign(TAlignLayout::Client);
    text->Margins()->SetLeft(16);
    text->SetText("Resize me: I stay between 480 x 320 and 1024 x 768.");
  }
  TQVMenuButton* FileEntry;
};
//! [form]

void Pictures(const std::string& Dir) {
  //! [test]
  THeadlessPlatform& platform = THeadlessPlatform::Install();  // a virtual 1920 x 1080 screen
  TMainForm form;
  form.Show();
  platform.SetActive(&form, true);
  platform.SaveSnapshotPng(&form, Dir + "/getting-started-window.png");

  // The constrained form holds its limits against every change of its bounds.
  form.SetBounds(0, 0, 100, 100);
  std::printf("asked for 100 x 100, got %d x %d\n", form.Width(), form.Height());  // 480 x 320
  form.SetBounds(0, 0, 560, 340);

  // Input goes in at form coordinates; the virtual clock runs the controls' timers.
  TRectF file = form.FileEntry->AbsoluteRect();
  platform.Click(&form, (file.Left + file.Right) / 2, (file.Top + file.Bottom) / 2);
  platform.Advance(200);
  platform.SaveSnapshotPng(&form, Dir + "/getting-started-menu.png");
  //! [test]
}

std::string Quote(const std::string& S) {
  std::string out = "'";
  for (char c : S) out += c == '\'' ? std::string("''") : std::string(1, c);
  return out + "'";
}

// A value as the stored form writes it.
std::string Format(const TPropInfo& Prop, const detail::TWire& Value) {
  const detail::TWireType& type = Prop.Type();
  using K = detail::TWireKind;
  std::ostringstream s;
  if (const auto* i = std::get_if<int64_t>(&Value)) {
    const auto n = static_cast<uint64_t>(*i);
    if (type.Kind == K::Color) {
      s << "x" << std::uppercase << std::hex << std::setw(8) << std::setfill('0') << n;
    } else if (type.Kind == K::Enum && type.Names && n < type.Names->size()) {
      s << (*type.Names)[n];
    } else if (type.Kind == K::Set) {
      s << "[";
      const char* sep = "";
      for (size_t b = 0; type.Names && b < type.Names->size() && b < 64; ++b)
        if (n & (uint64_t{1} << b)) s << std::exchange(sep, ", ") << (*type.Names)[b];
      s << "]";
    } else {
      s << *i;
    }
  } else if (const auto* d = std::get_if<double>(&Value)) {
    s << *d;
  } else if (const auto* b = std::get_if<bool>(&Value)) {
    s << (*b ? "True" : "False");
  } else if (const auto* t = std::get_if<std::string>(&Value)) {
    return type.Kind == K::Binary ? "{}" : Quote(*t);
  } else if (const auto* c = std::get_if<TComponent*>(&Value)) {
    return *c ? (*c)->Name() : "(none)";
  } else {
    return "(none)";
  }
  return s.str();
}

// Each class's published properties, the way its objects are written: in declaration
// order, the value a new object has, and whether that value is left out.
void Properties(const std::string& Dir, const std::vector<std::string>& Classes) {
  std::ofstream md(Dir + "/properties.md");
  md << "# Published properties {#published_properties}\n\n"
        "What each class stores with a form, in the order the writer writes it. A property "
        "that still holds its stored default is left out of the stored form; one without a "
        "default is written whatever its value, and the table shows the value a new object "
        "has. This page is made from the class registry on every documentation build.\n\n";
  auto owner = std::make_unique<TForm>(nullptr);
  for (const std::string& name : Classes) {
    TClass cls = GetClass(name);
    if (cls == nullptr || !cls->CanCreate()) continue;
    std::unique_ptr<TComponent> object(cls->Create(owner.get()));
    md << "## " << name << " {#props_" << name << "}\n\n"
       << "Class: fmx::" << name << "\n\n"
       << "| Property | Type | Stored default |\n|---|---|---|\n";
    for (const auto& prop : cls->Properties()) {
      if (prop->IsCollection()) {
        md << "| " << prop->Name() << " | collection | no items |\n";
        continue;
      }
      // As HTML: Doxygen's markdown takes '' inside backticks for the start of a quote.
      std::string value = "<code>";
      for (char c : Format(*prop, prop->Get(object.get())))
        value += c == '<' ? "&lt;" : c == '>' ? "&gt;" : c == '&' ? "&amp;" : std::string(1, c);
      value += "</code>";
      md << "| " << prop->Name() << " | " << prop->Type().TypeName << " | "
         << (prop->IsStored(object.get()) ? "none: written (a new object has " + value + ")" : value)
         << " |\n";
    }
    md << "\n";
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: zuzided-doc-pages OUT_DIR\n");
    return 2;
  }
  const std::string dir = argv[1];
  EnsureHostClasses();
  ZUZided::Register();
  Pictures(dir);
  Properties(dir, {"TQVTitleBar", "TQVMenuBar", "TQVMenuButton", "TQVConstrainedForm", "TForm",
                   "TFrame", "TLayout", "TRectangle", "TPath", "TLine", "TLabel", "TText", "TMemo",
                   "TImage", "TGlyph", "TSizeGrip", "TButton", "TShadowEffect", "TGlowEffect",
                   "TTimer", "TStyleBook", "TImageList"});
  return 0;
}
