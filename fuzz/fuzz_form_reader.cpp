// Feeds arbitrary bytes to the stored-form reader, with the host's classes and the
// library's (title bar, menus, constrained form) known by name. Anything it accepts
// must write back to text that reads again and writes the same way.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "host/Forms.h"
#include "host/Streaming.h"
#include "host/platform/headless/Headless.h"
#include "FMX.QVConstrainedForm.h"
#include "ZUZided.h"

using namespace fmx;

namespace {

// A constrained form keeps bounds that were read before its limits (or never read)
// until its bounds next change; writing them and reading them back is such a change.
// Settle them first, so that the round trip compares what loading alone does.
void SettleConstrainedForms(TComponent* Component) {
  if (auto* form = dynamic_cast<TQVConstrainedForm*>(Component))
    form->SetBounds(form->Left(), form->Top(), form->Width(), form->Height());
  for (int i = 0; i < Component->ComponentCount(); ++i)
    SettleConstrainedForms(Component->Components(i));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  static bool ready = [] {
    THeadlessPlatform::Install();
    EnsureHostClasses();
    ZUZided::Register();
    return true;
  }();
  (void)ready;
  std::string_view text(reinterpret_cast<const char*>(Data), Size);
  std::unique_ptr<TComponent> root;
  try {
    root.reset(ReadComponentFromText(text, nullptr));
  } catch (const EReadError&) {
    return 0;
  }
  SettleConstrainedForms(root.get());
  std::string first = WriteComponentToText(root.get());
  root.reset();
  std::unique_ptr<TComponent> again;
  try {
    again.reset(ReadComponentFromText(first, nullptr));
  } catch (const EReadError& e) {
    // What the writer writes must read back.
    std::fprintf(stderr, "written text does not read back: %s\n%s\n", e.what(), first.c_str());
    std::abort();
  }
  if (WriteComponentToText(again.get()) != first) {
    std::fprintf(stderr, "second write differs from the first:\n%s\n", first.c_str());
    std::abort();
  }
  return 0;
}
