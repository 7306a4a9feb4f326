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

TEST_F(KeyTest, PreviewsHearKeysBeforeTheFocusedControlAndMayConsumeThem) {
  auto form = MakeForm();
  std::vector<std::string> heard;
  auto* field = new TRectangle(form.get());
  field->SetParent(form.get());
  field->SetFocus();
  field->SetOnKeyDown([&](TObject*, uint16_t& Key, Char&, TShiftState) {
    heard.push_back("field " + std::to_string(Key));
  });
  form->SetOnKeyDown([&](TObject*, uint16_t& Key, Char&, TShiftState) {
    heard.push_back("form " + std::to_string(Key));
  });
  form->SetOnKeyUp([&](TObject*, uint16_t& Key, Char&, TShiftState) {
    heard.push_back("form up " + std::to_string(Key));
  });
  auto* first = new TComponent(nullptr);
  auto* second = new TComponent(nullptr);
  form->AddKeyPreview(
      first,
      [&](TObject* Sender, uint16_t& Key, Char& KeyChar, TShiftState) {
        heard.push_back(std::string(Sender == form.get() ? "first " : "first? ") + std::to_string(Key));
        if (Key == vk::F10) Key = KeyChar = 0;
      },
      [&](TObject*, uint16_t& Key, Char& KeyChar, TShiftState) {
        heard.push_back("first up " + std::to_string(Key));
        if (Key == vk::Menu) Key = KeyChar = 0;
      });
  form->AddKeyPreview(second, [&](TObject*, uint16_t& Key, Char&, TShiftState) {
    heard.push_back("second " + std::to_string(Key));
  }, nullptr);
  Platform->KeyDown(form.get(), 'A', u'a');
  Platform->KeyDown(form.get(), vk::F10);  // consumed by the first preview
  Platform->KeyUp(form.get(), vk::Menu);   // consumed on the way up
  EXPECT_EQ(heard, (std::vector<std::string>{"first 65", "second 65", "field 65", "form 65",
                                             "first 121", "first up 18"}));
  // A freed owner drops out; removing and adding again replaces.
  heard.clear();
  delete first;
  form->AddKeyPreview(second, nullptr, nullptr);
  Platform->KeyDown(form.get(), 'B');
  EXPECT_EQ(heard, (std::vector<std::string>{"field 66", "form 66"}));
  heard.clear();
  form->AddKeyPreview(second, [&](TObject*, uint16_t&, Char&, TShiftState) { heard.push_back("again"); }, nullptr);
  form->RemoveKeyPreview(second);
  Platform->KeyDown(form.get(), 'C');
  EXPECT_EQ(heard, (std::vector<std::string>{"field 67", "form 67"}));
  delete second;
}

TEST_F(KeyTest, APreviewThatFreesTheFormEndsTheKeyCleanly) {
  auto* form = new TForm(nullptr);
  form->Show();
  auto* watcher = new TComponent(form);
  bool fieldHeard = false;
  auto* field = new TRectangle(form);
  field->SetParent(form);
  field->SetFocus();
  field->SetOnKeyDown([&](TObject*, uint16_t&, Char&, TShiftState) { fieldHeard = true; });
  form->AddKeyPreview(watcher, [form](TObject*, uint16_t&, Char&, TShiftState) { delete form; }, nullptr);
  Platform->KeyPress(form, 'X');
  EXPECT_FALSE(fieldHeard);
  EXPECT_TRUE(Application->Forms().empty());
}

}  // namespace
