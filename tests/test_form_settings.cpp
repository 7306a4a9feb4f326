// The form settings the host acts on: OnCreate, OnShow, OnHide, OnDestroy, the client
// size and the background style lookup.
#include <gtest/gtest.h>

#include "HostTestSupport.h"
#include "host/Shapes.h"
#include "host/StdCtrls.h"
#include "host/Streaming.h"
#include "host/Styles.h"

using namespace fmx;

namespace {

class FormSettings : public fmx::testing::HeadlessTest {};

}  // namespace

TEST_F(FormSettings, AFormsLifeRaisesCreateShowHideAndDestroyInOrder) {
  std::vector<std::string> heard;
  RegisterEventHandler<TNotifyEvent>("LifeCreate", [&heard](TObject* Sender) {
    auto* f = static_cast<TForm*>(Sender);
    // Called once the whole stored form is in.
    heard.push_back("create " + std::to_string(f->ComponentCount()) + (f->IsLoading() ? " loading" : ""));
  });
  std::unique_ptr<TComponent> root(ReadComponentFromText(
      "object Life: TForm\n  OnCreate = LifeCreate\n  object L: TLabel\n  end\nend\n", nullptr));
  auto* form = static_cast<TForm*>(root.release());
  form->SetOnShow([&heard](TObject*) { heard.push_back("show"); });
  form->SetOnHide([&heard](TObject*) { heard.push_back("hide"); });
  form->SetOnDestroy([&heard](TObject* Sender) {
    heard.push_back("destroy " + static_cast<TForm*>(Sender)->Name());
  });
  form->Show();
  form->Show();  // already visible: nothing
  form->Close();  // the main form or not, closing hides it
  delete form;
  EXPECT_EQ(heard, (std::vector<std::string>{"create 1", "show", "hide", "destroy Life"}));
  UnregisterEventHandler("LifeCreate");
}

TEST_F(FormSettings, ClientSizeAndStyleLookupAct) {
  TForm form(nullptr);
  form.SetClientWidth(333);
  form.SetClientHeight(222);
  EXPECT_EQ(form.Width(), 333);
  EXPECT_EQ(form.Height(), 222);

  auto* book = new TStyleBook(&form);
  auto* styles = new TLayout(nullptr);
  for (auto [name, colour] : {std::pair{"backgroundstyle", 0xFF101010u}, {"panelstyle", 0xFF202020u}}) {
    auto* r = new TRectangle(nullptr);
    r->SetStyleName(name);
    r->Fill()->SetColor(colour);
    r->SetParent(styles);
  }
  book->Styles()->Add(styles);
  form.SetStyleBook(book);
  EXPECT_EQ(form.BackgroundColor(), 0xFF101010u);
  form.SetStyleLookup("panelstyle");
  EXPECT_EQ(form.BackgroundColor(), 0xFF202020u);
}
