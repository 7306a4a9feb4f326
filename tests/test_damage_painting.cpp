// Painting only what changed must give exactly the pixels of painting everything.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "DamageSupport.h"
#include "FMX.QVTitleBar.h"
#include "HostTestSupport.h"
#include "host/Canvas.h"
#include "host/Effects.h"
#include "host/Shapes.h"
#include "host/StdCtrls.h"

using namespace fmx;
using namespace fmx::testing;

namespace {

class DamagePainting : public HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    Platform->SetRetainedPainting(true);
  }

  void ExpectSameAsFullPaint(TForm* Form, const std::string& Step) {
    ExpectKeptPictureMatchesFullPaint(Platform, Form, Step);
  }
};

TEST_F(DamagePainting, EveryStepOfAScriptedSessionMatchesAFullRepaint) {
  auto form = std::make_unique<TForm>(nullptr);
  form->SetBounds(0, 0, 900, 640);
  form->SetTransparency(true);
  auto* bar = new TQVTitleBar(form.get());
  bar->SetParent(form.get());
  bar->SetCaption("Damage");
  auto* panel = new TRectangle(form.get());
  panel->SetParent(form.get());
  panel->SetBounds(40, 80, 300, 200);
  panel->Fill()->SetColor(0xFFDDEEFF);
  panel->SetClipChildren(true);
  auto* label = new TLabel(form.get());
  label->SetParent(panel);
  label->SetBounds(10, 10, 60, 20);
  label->SetText("short");
  auto* hover = new TRectangle(form.get());
  hover->SetParent(form.get());
  hover->SetBounds(400, 100, 120, 60);
  hover->Fill()->SetColor(0xFF336699);
  hover->SetOnMouseEnter([hover](TObject*) { hover->Fill()->SetColor(0xFFCC3300); });
  hover->SetOnMouseLeave([hover](TObject*) { hover->Fill()->SetColor(0xFF336699); });
  auto* path = new TPath(form.get());
  path->SetParent(form.get());
  path->SetBounds(600, 300, 80, 80);
  path->Data()->SetData("M0,0 L10,10 L0,10 Z");
  path->Fill()->SetColor(0xFF00AA00);
  auto* floating = new TText(form.get());
  floating->SetParent(form.get());
  floating->SetBounds(100, 400, 50, 20);
  floating->SetText("a text far longer than its box");
  form->Show();
  ExpectSameAsFullPaint(form.get(), "first paint");

  std::vector<std::pair<std::string, std::function<void()>>> steps = {
      {"hover in", [&] { Platform->MouseMove(form.get(), 450, 120); }},
      {"hover out", [&] { Platform->MouseMove(form.get(), 700, 500); }},
      {"move by position", [&] { panel->Position()->SetX(60); }},
      {"move and resize", [&] { panel->SetBounds(80, 300, 200, 100); }},
      {"longer text", [&] { label->SetText("a much longer text that overflows its box"); }},
      {"text spilling left",
       [&] { floating->TextSettings()->SetHorzAlign(TTextAlign::Trailing); }},
      {"font size", [&] { floating->TextSettings()->Font()->SetSize(20); }},
      {"hide", [&] { hover->SetVisible(false); }},
      {"show", [&] { hover->SetVisible(true); }},
      {"opacity of a parent", [&] { panel->SetOpacity(0.5f); }},
      {"disable", [&] { panel->SetEnabled(false); }},
      {"shadow", [&] {
         auto* shadow = new TShadowEffect(form.get());
         shadow->SetParent(hover);
       }},
      {"reparent", [&] { path->SetParent(panel); }},
      {"bring to front", [&] { panel->SendToBack(); }},
      {"align", [&] { hover->SetAlign(TAlignLayout::Bottom); }},
      {"margins", [&] { hover->Margins()->SetBottom(30); }},
      {"free", [&] { delete label; }},
      {"caption", [&] { bar->SetCaption("A new caption, longer than before"); }},
      {"form resize", [&] { form->SetBounds(0, 0, 1000, 700); }},
      {"free the title bar", [&] { delete bar; }},
  };
  for (auto& [name, step] : steps) {
    step();
    ExpectSameAsFullPaint(form.get(), name);
  }
}

TEST_F(DamagePainting, AHoverRepaintsOnlyTheControlItChanges) {
  auto form = MakeForm(800, 600);
  std::vector<TRectangle*> cells;
  for (int i = 0; i < 50; ++i) {
    auto* cell = new TRectangle(form.get());
    cell->SetParent(form.get());
    cell->SetBounds(10.0f + (i % 10) * 70, 10.0f + (i / 10) * 70, 60, 60);
    cell->SetOnMouseEnter([cell](TObject*) { cell->Fill()->SetColor(0xFFFF0000); });
    cells.push_back(cell);
  }
  Platform->PaintAll();
  Platform->MouseMove(form.get(), 15, 15);
  const TPaintRegion& painted = Platform->LastPainted(form.get());
  // The cell and a pixel of anti-aliasing slack around it.
  EXPECT_LE(painted.Area(), 62.0f * 62.0f);
  EXPECT_GE(painted.Area(), 60.0f * 60.0f);
}

TEST_F(DamagePainting, AClippingParentKeepsHiddenChildrenFromBeingPainted) {
  auto form = MakeForm(400, 400);
  auto* list = new TLayout(form.get());
  list->SetParent(form.get());
  list->SetBounds(0, 0, 200, 100);
  list->SetClipChildren(true);
  int painted = 0;
  for (int i = 0; i < 40; ++i) {
    auto* row = new TLabel(form.get());
    row->SetParent(list);
    row->SetBounds(0, i * 20.0f, 200, 20);
    row->SetText("row " + std::to_string(i));
    row->SetOnPaint([&painted](TObject*) { ++painted; });
  }
  Platform->PaintAll();
  painted = 0;
  Platform->Snapshot(form.get());
  EXPECT_LE(painted, 6);  // the five rows inside, and the one that touches the edge
}

}  // namespace

namespace {

// At a device scale of 2 the same form paints twice as many pixels each way; what is
// drawn lands at twice the coordinates and the form's own coordinates do not change.
TEST_F(DamagePainting, ADeviceScaleDoublesThePixelsNotTheFormsCoordinates) {
  auto form = MakeForm(200, 100);
  auto* box = new TRectangle(form.get());
  box->SetParent(form.get());
  box->SetBounds(20, 10, 40, 30);
  box->Fill()->SetColor(0xFF2060C0);
  box->Stroke()->SetKind(TBrushKind::None);
  auto* text = new TLabel(form.get());
  text->SetParent(form.get());
  text->SetBounds(80, 10, 100, 30);
  text->SetText("Sharp 清晰");
  Platform->SetDeviceScale(2);
  auto shot = Platform->Snapshot(form.get());
  EXPECT_EQ(shot->Width(), 400);
  EXPECT_EQ(shot->Height(), 200);
  EXPECT_EQ(shot->Pixel(41, 21), 0xFF2060C0u);   // just inside the box's corner
  EXPECT_EQ(shot->Pixel(119, 79), 0xFF2060C0u);  // and the opposite one
  EXPECT_NE(shot->Pixel(121, 81), 0xFF2060C0u);
  EXPECT_EQ(form->Width(), 200);
  EXPECT_EQ(box->Width(), 40.0f);
  // The retained picture is painted at the same scale, damage included.
  ExpectSameAsFullPaint(form.get(), "first paint at 2x");
  text->SetText("Sharper 更清晰");
  ExpectSameAsFullPaint(form.get(), "new text at 2x");
  if (const char* out = std::getenv("ZZ_TEST_PNG_DIR"))
    shot->SaveToFile(std::string(out) + "/scale2.png");
  Platform->SetDeviceScale(1);
}

}  // namespace

// Without a canvas nothing is clipped or skipped, so however many rectangles the damage
// has, each control's paint runs once a pass (its handlers may change state).
TEST_F(DamagePainting, WithoutACanvasDamageInSeveralPlacesPaintsEachControlOnce) {
  auto form = MakeForm(400, 400);
  auto* back = new TRectangle(form.get());
  back->SetParent(form.get());
  back->SetBounds(0, 0, 400, 400);
  int painted = 0;
  back->SetOnPaint([&painted](TObject*) { ++painted; });
  TRectangle* corners[2];
  for (int i = 0; i < 2; ++i) {
    corners[i] = new TRectangle(form.get());
    corners[i]->SetParent(form.get());
    corners[i]->SetBounds(i * 300.0f, i * 300.0f, 20, 20);
  }
  form->PaintDirty(nullptr, nullptr, true);
  painted = 0;
  corners[0]->Fill()->SetColor(0xFF102030);
  corners[1]->Fill()->SetColor(0xFF302010);
  form->PaintDirty(nullptr, nullptr, false);
  EXPECT_EQ(painted, 1);
}
