// Frame and text-measuring costs. The frame is a 1280 x 800 window of the kind the
// library draws: title strip with three caption glyphs, one-pixel border, menu
// strip, an eight-entry CJK drop-down and a dozen lines of text.
#include <cstdlib>
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "FMX.QVUtils.h"
#include "host/AlphaShape.h"
#include "host/Canvas.h"
#include "host/Forms.h"
#include "host/Shapes.h"
#include "host/StdCtrls.h"
#include "host/TextLayout.h"

using namespace fmx;

namespace {

constexpr int FrameW = 1280, FrameH = 800;
const char* const MenuTitles[] = {"文件(F)", "编辑(E)", "视图(V)", "工具(T)", "帮助(H)"};
const char* const DropDown[] = {"新建窗口", "打开文件…", "保存", "另存为…",
                                "打印预览", "页面设置", "最近的文件", "退出"};

std::string BodyLine(int I) {
  return "Line " + std::to_string(I + 1) + ": the quick brown fox jumps over the lazy dog 中文";
}

void DrawRawFrame(TCanvas& C) {
  const TBrush Window(TBrushKind::Solid, 0xFFF5F5F5);
  const TBrush Title(TBrushKind::Solid, 0xFF2B579A);
  const TBrush Hover(TBrushKind::Solid, 0xFFE81123);
  const TBrush Menu(TBrushKind::Solid, 0xFFFFFFFF);
  const TBrush Highlight(TBrushKind::Solid, 0xFFCCE4F7);
  const TStrokeBrush Border(TBrushKind::Solid, 0xFF1E90FF);
  const TStrokeBrush Frame(TBrushKind::Solid, 0xFFA0A0A0);
  const TFont TextFont(DefaultFontFamily, 12);
  const TFont CaptionFont(DefaultFontFamily, 13);
  const TFont Glyphs("Webdings", 16);

  C.Clear(0x00000000);
  C.FillRect({0, 0, FrameW, FrameH}, 6, 6, AllCorners, 1, Window);
  // Title strip with caption and the three caption buttons.
  C.FillRect({0, 0, FrameW, 32}, 6, 6, {TCorner::TopLeft, TCorner::TopRight}, 1, Title);
  C.FillText({40, 0, 800, 32}, "ZUZided 演示 — 主窗口", false, 1, CaptionFont, 0xFFFFFFFF,
             TTextAlign::Leading, TTextAlign::Center);
  const char* Symbols[] = {"0", "1", "r"};
  for (int I = 0; I < 3; ++I) {
    const float L = FrameW - 46.0f * (3 - I);
    if (I == 2) C.FillRect({L, 0, L + 46, 32}, 0, 0, AllCorners, 1, Hover);
    C.FillText({L, 0, L + 46, 32}, Symbols[I], false, 1, Glyphs, 0xFFFFFFFF, TTextAlign::Center,
               TTextAlign::Center);
  }
  // Menu strip.
  C.FillRect({1, 32, FrameW - 1, 58}, 0, 0, AllCorners, 1, Menu);
  for (int I = 0; I < 5; ++I)
    C.FillText({8.0f + I * 70, 32, 78.0f + I * 70, 58}, MenuTitles[I], false, 1, TextFont,
               0xFF000000, TTextAlign::Center, TTextAlign::Center);
  // Drop-down of eight entries.
  const TRectF Panel{8, 58, 208, 58 + 8 * 27 + 2};
  C.FillRect(Panel, 0, 0, AllCorners, 1, Menu);
  C.DrawRect(Panel, 0, 0, AllCorners, 1, Frame);
  for (int I = 0; I < 8; ++I) {
    const float T = Panel.Top + 1 + I * 27.0f;
    if (I == 2) C.FillRect({Panel.Left + 1, T, Panel.Right - 1, T + 27}, 0, 0, AllCorners, 1, Highlight);
    C.FillText({Panel.Left + 30, T, Panel.Right - 10, T + 27}, DropDown[I], false, 1, TextFont,
               0xFF000000, TTextAlign::Leading, TTextAlign::Center);
  }
  // Body text.
  for (int I = 0; I < 12; ++I)
    C.FillText({240, 80.0f + I * 20, 1200, 100.0f + I * 20}, BodyLine(I), false, 1, TextFont,
               0xFF202020, TTextAlign::Leading, TTextAlign::Center);
  C.DrawRect({0, 0, FrameW, FrameH}, 6, 6, AllCorners, 1, Border);
}

void BM_RawCanvasFrame(benchmark::State& State) {
  TCanvas C(FrameW, FrameH);
  DrawRawFrame(C);  // first frame shapes every text
  for (auto _ : State) {
    DrawRawFrame(C);
    benchmark::DoNotOptimize(C.Bits());
  }
}
BENCHMARK(BM_RawCanvasFrame)->Unit(benchmark::kMillisecond);

// The shape of a borderless window with rounded corners: read from the whole frame (a
// new size, or an exposed window), and from the 27 rows a hover repaints, which change
// nothing that shows. counters: rectangles the shape is sent as.
void BM_WindowShape(benchmark::State& State) {
  TCanvas C(FrameW, FrameH);
  DrawRawFrame(C);
  TAlphaShape Shape;
  const bool Whole = State.range(0) == 0;
  Shape.Reset(FrameW, FrameH);
  Shape.Update(C, 0, FrameH);
  for (auto _ : State) {
    if (Whole) Shape.Reset(FrameW, FrameH);
    benchmark::DoNotOptimize(Whole ? Shape.Update(C, 0, FrameH) : Shape.Update(C, 112, 139));
  }
  State.counters["rectangles"] = static_cast<double>(Shape.Rectangles().size());
}
BENCHMARK(BM_WindowShape)->Name("Render/WindowShape/Frame")->Arg(0)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WindowShape)->Name("Render/WindowShape/HoverRows")->Arg(1)->Unit(benchmark::kMicrosecond);

template <class T>
T* Add(TComponent* Owner, TFmxObject* Parent) {
  auto* C = new T(Owner);
  C->SetParent(Parent);
  return C;
}

TText* AddText(TForm* F, TFmxObject* Parent, const std::string& S, TRectF R, TTextAlign H,
               TAlphaColor Colour) {
  auto* T = Add<TText>(F, Parent);
  T->SetBounds(R.Left, R.Top, R.Width(), R.Height());
  T->SetText(S);
  T->TextSettings()->SetHorzAlign(H);
  T->TextSettings()->SetFontColor(Colour);
  return T;
}

// The same frame as controls on a form.
std::unique_ptr<TForm> BuildForm() {
  auto F = std::make_unique<TForm>(nullptr);
  F->SetBounds(0, 0, FrameW, FrameH);
  F->SetTransparency(true);
  TForm* Fm = F.get();
  auto* Back = Add<TRectangle>(Fm, Fm);
  Back->SetAlign(TAlignLayout::Contents);
  Back->SetXRadius(6);
  Back->SetYRadius(6);
  Back->Fill()->SetColor(0xFFF5F5F5);
  Back->Stroke()->SetColor(0xFF1E90FF);

  auto* TitleBar = Add<TRectangle>(Fm, Fm);
  TitleBar->SetBounds(0, 0, FrameW, 32);
  TitleBar->Fill()->SetColor(0xFF2B579A);
  TitleBar->Stroke()->SetKind(TBrushKind::None);
  auto* Caption = Add<TLabel>(Fm, TitleBar);
  Caption->SetBounds(40, 0, 760, 32);
  Caption->SetStyledSettings({});
  Caption->SetText("ZUZided 演示 — 主窗口");
  Caption->TextSettings()->SetFontColor(0xFFFFFFFF);
  Caption->TextSettings()->Font()->SetSize(13);
  const char* Symbols[] = {"0", "1", "r"};
  for (int I = 0; I < 3; ++I) {
    auto* Cell = Add<TRectangle>(Fm, TitleBar);
    Cell->SetBounds(FrameW - 46.0f * (3 - I), 0, 46, 32);
    Cell->Fill()->SetColor(I == 2 ? 0xFFE81123 : 0x00000000);
    Cell->Stroke()->SetKind(TBrushKind::None);
    auto* Glyph = Add<TLabel>(Fm, Cell);
    Glyph->SetAlign(TAlignLayout::Client);
    Glyph->SetStyledSettings({});
    Glyph->SetText(Symbols[I]);
    Glyph->TextSettings()->Font()->SetFamily("Webdings");
    Glyph->TextSettings()->Font()->SetSize(16);
    Glyph->TextSettings()->SetFontColor(0xFFFFFFFF);
    Glyph->TextSettings()->SetHorzAlign(TTextAlign::Center);
  }
  auto* MenuStrip = Add<TRectangle>(Fm, Fm);
  MenuStrip->SetBounds(1, 32, FrameW - 2, 26);
  MenuStrip->Fill()->SetColor(0xFFFFFFFF);
  MenuStrip->Stroke()->SetKind(TBrushKind::None);
  for (int I = 0; I < 5; ++I)
    AddText(Fm, MenuStrip, MenuTitles[I], {7.0f + I * 70, 0, 77.0f + I * 70, 26}, TTextAlign::Center,
            0xFF000000);
  auto* Panel = Add<TRectangle>(Fm, Fm);
  Panel->SetBounds(8, 58, 200, 8 * 27 + 2);
  Panel->Fill()->SetColor(0xFFFFFFFF);
  Panel->Stroke()->SetColor(0xFFA0A0A0);
  for (int I = 0; I < 8; ++I) {
    auto* Row = Add<TRectangle>(Fm, Panel);
    Row->SetBounds(1, 1 + I * 27.0f, 198, 27);
    Row->Fill()->SetColor(I == 2 ? 0xFFCCE4F7 : 0x00000000);
    Row->Stroke()->SetKind(TBrushKind::None);
    AddText(Fm, Row, DropDown[I], {29, 0, 188, 27}, TTextAlign::Leading, 0xFF000000);
  }
  for (int I = 0; I < 12; ++I)
    AddText(Fm, Fm, BodyLine(I), {240, 80.0f + I * 20, 1200, 100.0f + I * 20}, TTextAlign::Leading,
            0xFF202020);
  return F;
}

void BM_FormFrame(benchmark::State& State) {
  std::unique_ptr<TForm> Form = BuildForm();
  TCanvas C(FrameW, FrameH);
  Form->PaintTo(&C);
  // The frame that is measured, for looking at: ZZ_BENCH_SNAPSHOT names the PNG.
  if (const char* File = std::getenv("ZZ_BENCH_SNAPSHOT"); File != nullptr && *File != '\0') {
    TBitmap Picture;
    C.CopyTo(Picture);
    Picture.SaveToFile(File);
  }
  for (auto _ : State) {
    Form->PaintTo(&C);
    benchmark::DoNotOptimize(C.Bits());
  }
}
BENCHMARK(BM_FormFrame)->Unit(benchmark::kMillisecond);

void BM_MeasureCachedLayout(benchmark::State& State) {
  TTextLayout Layout(TCanvasManager::MeasureCanvas());
  Layout.SetText("打开文件…");
  benchmark::DoNotOptimize(Layout.TextRect());
  const std::string Texts[2] = {"打开文件…", "另存为…"};
  int I = 0;
  for (auto _ : State) {
    // A text change each time, so every round is a real cache lookup.
    Layout.SetText(Texts[I ^= 1]);
    benchmark::DoNotOptimize(Layout.TextRect());
  }
}
BENCHMARK(BM_MeasureCachedLayout)->Unit(benchmark::kMicrosecond);

void BM_MeasureTextWidth(benchmark::State& State) {
  // The library's own path: a layout created and freed every call.
  TTextSettings Settings;
  Settings.Font()->SetSize(12);
  const std::string Text = "最近的文件";
  benchmark::DoNotOptimize(__QV_文本_获取文本宽度(&Settings, Text));
  for (auto _ : State) benchmark::DoNotOptimize(__QV_文本_获取文本宽度(&Settings, Text));
}
BENCHMARK(BM_MeasureTextWidth)->Unit(benchmark::kMicrosecond);

}  // namespace
