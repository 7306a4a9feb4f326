// Keys reach the focused control first and then the form; focus follows the tree.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HostTestSupport.h"
#include "host/Shapes.h"
#include "host/StdCtrls.h"

using namespace fmx;
using namespace fmx::testing;

namespace {

using KeyTest = HeadlessTest;

TEST_F(KeyTest, KeysGoToTheFocusedControlThenTheFormUnlessConsumed) {
  auto form = MakeForm();
  std::vector<std::string> heard;
  auto* field = new TRectangle(form.get());
  field->SetParent(form.get());
  field->SetOnKeyDown([&](TObject*, uint16_t& Key, Char& KeyChar, TShiftState Shift) {
    heard.push_back("field " + std::to_string(Key) + (Shift.Contains(TShiftStateItem::ssCtrl) ? " ctrl" : ""));
    if (Key == vk::Escape) Key = 0;  // consumed: the form does not hear it
  });
  form->SetOnKeyDown([&](TObject*, uint16_t& Key, Char& KeyChar, TShiftState) {
    heard.push_back("form " + std::to_string(Key) + " " + std::to_string(KeyChar));
  });
  // Nothing focused: the form alone.
  Platform->KeyPress(form.get(), 'A', u'a');
  field->SetFocus();
  EXPECT_TRUE(field->IsFocused());
  Platform->KeyPress(form.get(), 'S', 0, {TShiftStateItem::ssCtrl});
  Platform->KeyPress(form.get(), vk::Escape);
  EXPECT_EQ(heard, (std::vector<std::string>{"form 65 97", "field 83 ctrl", "form 83 0",
                                             "field 27"}));
}

TEST_F(KeyTest, FocusNeedsAVisibleEnabledControlOnTheFormAndDropsWhenItGoes) {
  auto form = MakeForm();
  auto* a = new TRectangle(form.get());
  a->SetParent(form.get());
  auto* hidden = new TRectangle(form.get());
  hidden->SetParent(form.get());
  hidden->SetVisible(false);
  auto* loose = new TRectangle(nullptr);

  hidden->SetFocus();
  EXPECT_EQ(form->Focused(), nullptr);
  loose->SetFocus();  // on no form: nothing to focus in
  EXPECT_EQ(form->Focused(), nullptr);
  a->SetFocus();
  EXPECT_EQ(form->Focused(), a);
  // Taken off the form alive, then freed: either way the form forgets it.
  a->SetParent(nullptr);
  EXPECT_EQ(form->Focused(), nullptr);
  a->SetParent(form.get());
  a->SetFocus();
  delete a;
  EXPECT_EQ(form->Focused(), nullptr);
  Platform->KeyPress(form.get(), vk::Return);  // no one to hear it, no crash
  delete loose;
}

TEST_F(KeyTest, AHandlerThatFreesTheFormEndsTheKeyCleanly) {
  auto* form = new TForm(nullptr);
  form->Show();
  auto* field = new TRectangle(form);
  field->SetParent(form);
  field->SetFocus();
  field->SetOnKeyDown([form](TObject*, uint16_t&, Char&, TShiftState) { delete form; });
  Platform->KeyPress(form, 'X');
  EXPECT_TRUE(Application->Forms().empty());
}

}  // namespace
