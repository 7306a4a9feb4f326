#include "FormPreview.h"

#include <gio/gio.h>

#include <filesystem>

#include "host/Shapes.h"
#include "host/StdCtrls.h"
#include "host/Streaming.h"
#include "host/Styles.h"

using namespace fmx;

namespace zzview {

std::string DescribeReadError(const std::exception& Error, const std::string& File) {
  const auto* read = dynamic_cast<const EReadError*>(&Error);
  if (read == nullptr) return File + ": " + Error.what();
  const std::string& file = read->FileName().empty() ? File : read->FileName();
  if (read->Line() > 0)
    return file + ":" + std::to_string(read->Line()) + ":" + std::to_string(read->Column()) + ": " +
           read->What();
  // Line 0: the file itself could not be read, which is about the file, not a place in it.
  std::error_code ec;
  const auto status = std::filesystem::status(file, ec);
  if (status.type() == std::filesystem::file_type::not_found) return file + ": no such file";
  if (status.type() == std::filesystem::file_type::directory) return file + ": is a directory";
  return file + ": " + read->What();
}

// What is on screen: the stored tree, and the plain form hosting it when it is no form.
struct TFormPreview::TShown {
  std::unique_ptr<TComponent> Root;
  std::unique_ptr<TForm> Host;
  TCommonCustomForm* Form = nullptr;

  ~TShown() {
    // The hosted tree is its own root: take it off the host before either goes.
    if (Host)
      if (auto* visual = dynamic_cast<TFmxObject*>(Root.get())) visual->SetParent(nullptr);
    Root.reset();
    Host.reset();
  }
};

// Both files' monitors. GLib reports to the thread's default main context, which
// nothing else here iterates; Poll does, without blocking.
struct TFormPreview::TMonitor {
  std::vector<GFileMonitor*> Monitors;
  bool* Changed;

  explicit TMonitor(bool* AChanged) : Changed(AChanged) {}
  ~TMonitor() {
    for (GFileMonitor* m : Monitors) {
      g_signal_handlers_disconnect_by_data(m, this);
      g_file_monitor_cancel(m);
      g_object_unref(m);
    }
  }
  void Watch(const std::string& Path) {
    // A file monitor watches the folder, so an editor that saves by writing a new file
    // and renaming it over the old one is seen, and so is a file that does not exist yet.
    GFile* file = g_file_new_for_path(Path.c_str());
    GFileMonitor* m = g_file_monitor_file(file, G_FILE_MONITOR_WATCH_MOVES, nullptr, nullptr);
    g_object_unref(file);
    if (m == nullptr) return;
    g_file_monitor_set_rate_limit(m, 100);
    g_signal_connect(m, "changed", G_CALLBACK(&TMonitor::OnChanged), this);
    Monitors.push_back(m);
  }
  static void OnChanged(GFileMonitor*, GFile*, GFile*, GFileMonitorEvent Event, gpointer Self) {
    if (Event == G_FILE_MONITOR_EVENT_ATTRIBUTE_CHANGED || Event == G_FILE_MONITOR_EVENT_PRE_UNMOUNT ||
        Event == G_FILE_MONITOR_EVENT_UNMOUNTED)
      return;
    *static_cast<TMonitor*>(Self)->Changed = true;
  }
};

TFormPreview::TFormPreview(std::string File, std::string StyleFile, bool Designing)
    : FFile(std::move(File)), FStyleFile(std::move(StyleFile)), FDesigning(Designing) {}

TFormPreview::~TFormPreview() {
  FTimer.reset();
  FMonitor.reset();
  if (FShown && Application->MainForm() == FShown->Form) Application->SetMainForm(nullptr);
  FShown.reset();
}

TCommonCustomForm* TFormPreview::Form() const { return FShown ? FShown->Form : nullptr; }

bool TFormPreview::Reload() {
  std::string text, styleText;
  auto next = std::make_unique<TShown>();
  try {
    text = ReadTextFile(FFile);
    if (!FStyleFile.empty()) styleText = ReadTextFile(FStyleFile);
    // An editor's save can tell of a change more than once; the same texts are the same form.
    if (FShown && FError.empty() && text == FText && styleText == FStyleText) return false;
    TReadOptions options;
    options.Designing = FDesigning;
    try {
      next->Root.reset(ReadComponentFromText(text, nullptr, options));
    } catch (const EReadError& e) {
      throw e.InFile(FFile);
    }
    next->Form = dynamic_cast<TCommonCustomForm*>(next->Root.get());
    if (next->Form == nullptr) {
      auto* visual = dynamic_cast<TFmxObject*>(next->Root.get());
      if (visual == nullptr)
        throw EReadError(1, 1, "a form or a visual object, found " + next->Root->ClassName(), FFile);
      next->Host = std::make_unique<TForm>(nullptr);
      next->Host->SetBounds(0, 0, 480, 360);
      if (FDesigning) next->Host->SetDesigning(true);
      visual->SetParent(next->Host.get());
      next->Form = next->Host.get();
    }
    if (!FStyleFile.empty()) {
      auto* book = new TStyleBook(next->Form);
      try {
        LoadStyleBook(book, styleText);
      } catch (const EReadError& e) {
        throw e.InFile(FStyleFile);
      }
      next->Form->SetStyleBook(book);
    }
  } catch (const std::exception& e) {
    FError = DescribeReadError(e, FFile);
    if (FLog != nullptr) *FLog << FError << std::endl;
    if (!FShown) {
      // Nothing good read yet: a blank window that says why.
      auto blank = std::make_unique<TShown>();
      blank->Host = std::make_unique<TForm>(nullptr);
      blank->Host->SetBounds(100, 100, 640, 240);
      blank->Host->SetCaption(FFile);
      blank->Form = blank->Host.get();
      Show(std::move(blank));
    }
    ShowError();
    return false;
  }
  FText = std::move(text);
  FStyleText = std::move(styleText);
  FError.clear();
  ++FGeneration;
  Show(std::move(next));
  return true;
}

void TFormPreview::Show(std::unique_ptr<TShown> Next) {
  TCommonCustomForm* form = Next->Form;
  // The window stays where the user put it; its size is the stored form's.
  if (FShown)
    form->SetBounds(FShown->Form->Left(), FShown->Form->Top(), form->Width(), form->Height());
  if (form->Caption().empty()) form->SetCaption(FFile);
  Application->SetMainForm(form);
  form->Show();
  FShown = std::move(Next);  // the old form goes only once the new one shows
}

void TFormPreview::ShowError() {
  delete FErrorStrip.Get();
  TCommonCustomForm* form = Form();
  auto* strip = new TRectangle(form);
  strip->SetStored(false);
  strip->SetParent(form);
  strip->SetAlign(TAlignLayout::MostBottom);
  strip->SetHeight(56);
  strip->Fill()->SetColor(0xF0FFE4E1);
  strip->Stroke()->SetColor(0xFFC0392B);
  auto* text = new TText(form);
  text->SetStored(false);
  text->SetParent(strip);
  text->SetAlign(TAlignLayout::Client);
  text->Margins()->SetLeft(10);
  text->Margins()->SetRight(10);
  text->TextSettings()->SetFontColor(0xFF8B0000);
  text->SetWordWrap(true);
  text->SetTextAlign(TTextAlign::Leading);
  text->SetText(FError);
  FErrorStrip = strip;
}

void TFormPreview::StartWatching() {
  FMonitor = std::make_unique<TMonitor>(&FChanged);
  FMonitor->Watch(FFile);
  if (!FStyleFile.empty()) FMonitor->Watch(FStyleFile);
  FTimer = std::make_unique<TTimer>(nullptr);
  FTimer->SetInterval(100);
  FTimer->SetOnTimer([this](TObject*) { Poll(); });
  FTimer->SetEnabled(true);
}

void TFormPreview::Poll() {
  while (g_main_context_iteration(nullptr, FALSE)) {
  }
  if (!FChanged) return;
  FChanged = false;
  Reload();
}

}  // namespace zzview
