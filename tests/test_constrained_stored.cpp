// Stored constrained forms: the example file, the order values arrive in, and bad values.
#include <gtest/gtest.h>

#include <cstdlib>

#include "FMX.QVConstrainedForm.h"
#include "HostTestSupport.h"
#include "ZUZided.h"
#include "host/StdCtrls.h"
#include "host/Streaming.h"

using namespace fmx;

namespace {

class ConstrainedStored : public fmx::testing::HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    ZUZided::Register();
  }
  static std::string Example() {
    const char* root = std::getenv("ZZ_SOURCE_DIR");
    return ReadTextFile(std::string(root ? root : ".") + "/examples/constrained.fmx");
  }
};

std::vector<std::string> PublishedGroups(TClass C) {
  std::vector<std::string> groups;
  for (const auto& p : C->Properties())
    if (groups.empty() || groups.back() != p->Group()) groups.push_back(p->Group());
  return groups;
}

}  // namespace

TEST_F(ConstrainedStored, TheExampleLoadsByClassNameWithItsLimitsAndRoundTripsByteForByte) {
  const std::string text = Example();
  std::unique_ptr<TComponent> root(ReadComponentFromText(text, nullptr));
  auto* form = dynamic_cast<TQVConstrainedForm*>(root.get());
  ASSERT_NE(form, nullptr);
  const TQVConstraints* c = form->Constraints();
  EXPECT_EQ(c->MaxLeft(), 1200);
  EXPECT_EQ(c->MaxTop(), 700);
  EXPECT_EQ(c->MaxWidth(), 1280);
  EXPECT_EQ(c->MaxHeight(), 800);
  EXPECT_EQ(c->MinLeft(), 10);
  EXPECT_EQ(c->MinTop(), 10);
  EXPECT_EQ(c->MinWidth(), 640);
  EXPECT_EQ(c->MinHeight(), 400);
  EXPECT_EQ(form->Width(), 720);
  EXPECT_EQ(WriteComponentToText(form), text);
  form->SetWidth(5000);
  EXPECT_EQ(form->Width(), 1280);
}

TEST_F(ConstrainedStored, ConstraintsComeBeforeTheFormsPropertiesInTheirOrder) {
  const std::vector<std::string> groups = PublishedGroups(ClassOf<TQVConstrainedForm>());
  const std::vector<std::string> expected = {
      "Tag", "StyleName", "Constraints", "Action", "ActiveControl", "BiDiMode", "Border", "BorderIcons",
      "BorderStyle", "Caption", "ClientHeight", "ClientWidth", "Cursor", "Fill", "Height", "Left",
      "Padding", "Position", "Quality", "SystemStatusBar", "StyleBook", "StyleLookup",
      "Transparency", "Top", "FormStyle", "Visible", "WindowState", "Width", "FormFactor",
      "FormFamily", "FullScreen", "ShowFullScreenIcon", "ShowHint", "OnActivate", "OnCreate",
      "OnClose", "OnCloseQuery", "OnDeactivate", "OnDestroy", "OnKeyDown", "OnKeyUp",
      "OnMouseDown", "OnMouseMove", "OnMouseUp", "OnMouseWheel", "OnResize", "OnPaint", "OnShow",
      "OnHide", "OnFocusChanged", "OnVirtualKeyboardShown", "OnVirtualKeyboardHidden", "Touch",
      "OnGesture", "OnSaveState", "OnTap", "OnTouch"};
  ASSERT_EQ(groups.size(), expected.size());
  for (size_t i = 0; i < groups.size(); ++i) EXPECT_EQ(groups[i], expected[i]) << i;
  std::vector<std::string> limits;
  for (const auto& p : ClassOf<TQVConstrainedForm>()->Properties())
    if (p->Group() == "Constraints") limits.push_back(p->Name());
  EXPECT_EQ(limits, (std::vector<std::string>{
                        "Constraints.MaxLeft", "Constraints.MaxTop", "Constraints.MaxWidth",
                        "Constraints.MaxHeight", "Constraints.MinLeft", "Constraints.MinTop",
                        "Constraints.MinWidth", "Constraints.MinHeight"}));
}

TEST_F(ConstrainedStored, LeftAndTopReadBeforeTheLimitsStayUntilTheNextChangeOfBounds) {
  std::unique_ptr<TComponent> root(ReadComponentFromText(
      "object F: TQVConstrainedForm\n"
      "  Left = 5\n"
      "  Top = 6\n"
      "  Constraints.MinLeft = 50\n"
      "  Constraints.MinTop = 60\n"
      "end\n",
      nullptr));
  auto* form = static_cast<TQVConstrainedForm*>(root.get());
  EXPECT_EQ(form->Left(), 5);
  EXPECT_EQ(form->Top(), 6);
  form->SetWidth(700);
  EXPECT_EQ(form->Left(), 50);
  EXPECT_EQ(form->Top(), 60);
}

TEST_F(ConstrainedStored, ALimitThatIsNotA32BitIntegerFailsTheLoadAndCreatesNothing) {
  const struct {
    const char* Value;
    const char* Expected;
  } cases[] = {{"1.5", "an integer"}, {"'wide'", "an integer"}, {"99999999999", "an integer from"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Value);
    const size_t forms = Application->Forms().size();
    const std::string text = std::string("object F: TQVConstrainedForm\n  Constraints.MaxWidth = ") +
                             c.Value + "\n  object L: TLabel\n  end\nend\n";
    try {
      delete ReadComponentFromText(text, nullptr);
      ADD_FAILURE() << "no error";
    } catch (const EReadError& e) {
      EXPECT_EQ(e.Line(), 2);
      EXPECT_EQ(e.Column(), 26);
      EXPECT_NE(e.What().find(c.Expected), std::string::npos) << e.What();
    }
    EXPECT_EQ(Application->Forms().size(), forms);
  }
}

TEST_F(ConstrainedStored, TheFormsOtherSettingsAreWrittenAndReadBack) {
  TQVConstrainedForm form(nullptr);
  form.SetName("Settings");
  auto* edit = new TLayout(&form);
  edit->SetName("Edit1");
  edit->SetParent(&form);
  RegisterEventHandler<TNotifyEvent>("SettingsShow", [](TObject*) {});
  form.SetActiveControl(edit);
  form.SetBiDiMode(TBiDiMode::bdRightToLeft);
  form.Border()->SetStyling(false);
  form.SetBorderIcons({TBorderIcon::biSystemMenu});
  form.SetBorderStyle(TFmxFormBorderStyle::None);
  form.SetPosition(TFormPosition::ScreenCenter);
  form.FormFactor()->SetOrientations({TFormOrientation::Landscape});
  form.Touch()->SetInteractiveGestures({TInteractiveGesture::Zoom, TInteractiveGesture::Pan});
  form.SetShowHint(false);
  form.SetStyleLookup("panelstyle");
  form.SetOnShow(detail::TNamedHandler<TNotifyEvent>{"SettingsShow", [](TObject*) {}});
  const std::string text = WriteComponentToText(&form);
  for (const char* line :
       {"ActiveControl = Edit1", "BiDiMode = bdRightToLeft", "Border.Styling = False",
        "BorderIcons = [biSystemMenu]", "BorderStyle = None", "Position = ScreenCenter",
        "FormFactor.Orientations = [Landscape]", "ShowHint = False", "StyleLookup = 'panelstyle'",
        "Touch.InteractiveGestures = [Zoom, Pan]", "OnShow = SettingsShow"})
    EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
  EXPECT_EQ(text.find("ClientWidth"), std::string::npos);  // Width carries it

  std::unique_ptr<TComponent> copy(ReadComponentFromText(text, nullptr));
  auto* loaded = static_cast<TQVConstrainedForm*>(copy.get());
  EXPECT_EQ(loaded->ActiveControl(), loaded->FindComponent("Edit1"));
  EXPECT_EQ(WriteComponentToText(loaded), text);
  delete loaded->FindComponent("Edit1");
  EXPECT_EQ(loaded->ActiveControl(), nullptr);
  UnregisterEventHandler("SettingsShow");
}
