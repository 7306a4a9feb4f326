// A handler frees something during each kind of dispatch the host drives. When its
// delete returns, everything anyone can observe has happened (links read null, the
// object is off its parent, its owner and the form, listeners were told, the title
// bar gave the form its frame back); the memory goes once the dispatch is over, so
// the code after the handler reads nothing freed (the sanitizer build checks that).
#include <gtest/gtest.h>

#include <algorithm>

#include "FMX.QVMenus.h"
#include "FMX.QVTitleBar.h"
#include "HostTestSupport.h"
#include "host/Timers.h"

using namespace fmx;

namespace {

enum class TDispatch { Click, Key, Tick, Paint, BatchEnd };
enum class TVictim { Control, Parent, TitleBar, MenuBar, Form };

class TListener : public TComponent {
 public:
  using TComponent::TComponent;
  std::vector<TComponent*> Removed;

 protected:
  void Notification(TComponent* C, TOperation Op) override {
    if (Op == TOperation::opRemove) Removed.push_back(C);
  }
};

bool OwnsAChildOf(const TComponent* Owner, const TFmxObject* Parent) {
  const auto& kids = Parent->ChildrenList();
  return std::any_of(kids.begin(), kids.end(), [Owner](TFmxObject* c) { return c->Owner() == Owner; });
}

class DispatchScope : public fmx::testing::HeadlessTest {};

}  // namespace

TEST_F(DispatchScope, AHandlerFreesAnythingInEveryDispatchAndItsEffectsAreThereAtOnce) {
  for (TDispatch dispatch :
       {TDispatch::Click, TDispatch::Key, TDispatch::Tick, TDispatch::Paint, TDispatch::BatchEnd}) {
    for (TVictim victim :
         {TVictim::Control, TVictim::Parent, TVictim::TitleBar, TVictim::MenuBar, TVictim::Form}) {
      SCOPED_TRACE(::testing::Message() << "dispatch " << static_cast<int>(dispatch) << ", victim "
                                        << static_cast<int>(victim));
      auto* form = new TForm(nullptr);
      form->SetBounds(0, 0, 900, 650);
      form->Show();
      form->SetTransparency(true);
      auto* title = new TQVTitleBar(form);
      title->SetParent(form);
      // A main menu with its drop-down and a cascade showing.
      auto* main = new TQVMenuBar(form);
      main->SetParent(form);
      main->SetMenuBarStyle(TQVMenuBarStyle::msMainMenuBar);
      auto entry = [form](TQVMenuBar* Bar, const char* Text) {
        auto* b = new TQVMenuButton(form);
        b->SetParent(Bar);
        b->SetButtonText(Text);
        return b;
      };
      TQVMenuButton* file = entry(main, "File");
      auto* drop = new TQVMenuBar(form);
      drop->SetParent(main);
      drop->SetTargetButton(file);
      TQVMenuButton* recent = entry(drop, "Recent");
      recent->SetMoreArrow(true);
      auto* cascade = new TQVMenuBar(form);
      cascade->SetParent(drop);
      cascade->SetTargetButton(recent);
      entry(cascade, "notes.md");
      drop->SetVisible(true);
      cascade->SetVisible(true);
      auto* panel = new TControl(form);
      panel->SetParent(form);
      panel->SetBounds(100, 300, 200, 200);
      auto* control = new TControl(form);
      control->SetParent(panel);
      control->SetAlign(TAlignLayout::Client);
      Platform->PaintAll();

      TComponent* target = victim == TVictim::Control    ? static_cast<TComponent*>(control)
                           : victim == TVictim::Parent   ? static_cast<TComponent*>(panel)
                           : victim == TVictim::TitleBar ? static_cast<TComponent*>(title)
                           : victim == TVictim::MenuBar  ? static_cast<TComponent*>(main)
                                                         : form;
      auto* targetObject = dynamic_cast<TFmxObject*>(target);
      TFmxObject* targetParent = targetObject->Parent();
      TListener listener(nullptr);
      target->FreeNotification(&listener);
      TWeak<TComponent> link(target), cascadeLink(cascade);
      bool freed = false;
      auto freeIt = [&] {
        if (freed) return;
        freed = true;
        delete target;
        // Still readable inside the dispatch, and already gone for everyone.
        EXPECT_TRUE(target->IsDestroying());
        EXPECT_FALSE(link);
        EXPECT_EQ(target->Owner(), nullptr);
        EXPECT_EQ(targetObject->Parent(), nullptr);
        EXPECT_EQ(listener.Removed, std::vector<TComponent*>{target});
        if (targetParent != nullptr) {
          const auto& kids = targetParent->ChildrenList();
          EXPECT_EQ(std::find(kids.begin(), kids.end(), targetObject), kids.end());
        }
        if (victim == TVictim::TitleBar) {
          EXPECT_FALSE(form->Transparency());
          EXPECT_FALSE(OwnsAChildOf(title, form));  // its status strip and form background
        }
        if (victim == TVictim::MenuBar) {
          EXPECT_FALSE(cascadeLink);
        }
        if (victim == TVictim::Form) {
          const auto& forms = Application->Forms();
          EXPECT_EQ(std::find(forms.begin(), forms.end(), form), forms.end());
          EXPECT_FALSE(form->Visible());
        }
      };
      // The rest of the dispatch (the release after the press, the key's release) goes
      // on without asking; a freed form hears none of it.
      int heardAfterFree = 0;
      auto hear = [&] { heardAfterFree += freed && victim == TVictim::Form; };
      form->SetOnMouseUp([&](TObject*, TMouseButton, TShiftState, float, float) { hear(); });
      form->SetOnKeyUp([&](TObject*, uint16_t&, Char&, TShiftState) { hear(); });
      form->SetOnMouseMove([&](TObject*, TShiftState, float, float) { hear(); });

      switch (dispatch) {
        case TDispatch::Click:
          control->SetOnClick([&](TObject*) { freeIt(); });
          Platform->Click(form, 150, 350);
          break;
        case TDispatch::Key:
          form->SetOnKeyDown([&](TObject*, uint16_t&, Char&, TShiftState) { freeIt(); });
          Platform->KeyPress(form, 'A', u'a');
          break;
        case TDispatch::Tick: {
          auto* timer = new TTimer(form);
          timer->SetInterval(10);
          timer->SetOnTimer([&](TObject*) { freeIt(); });
          Platform->Advance(25);
          if (!freed) delete timer;
          break;
        }
        case TDispatch::Paint:
          control->SetOnPaint([&](TObject*) { freeIt(); });
          form->InvalidateAll();
          Platform->PaintAll();
          break;
        case TDispatch::BatchEnd:
          control->SetOnResize([&](TObject*) { freeIt(); });
          {
            TRealignBatch batch;
            panel->SetSize(250, 150);
          }
          break;
      }
      EXPECT_TRUE(freed);
      EXPECT_EQ(heardAfterFree, 0);
      if (victim != TVictim::Form) {
        // What is left works on.
        Platform->Click(form, 150, 350);
        Platform->PaintAll();
        delete form;
      }
      EXPECT_TRUE(Application->Forms().empty());
    }
  }
}
