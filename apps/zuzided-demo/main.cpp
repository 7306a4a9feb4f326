// The demo: a small form of primitives on the headless platform, written to a PNG.
#include <cstdio>
#include <filesystem>
#include <string>

#include "host/Forms.h"
#include "host/Shapes.h"
#include "host/StdCtrls.h"
#include "host/platform/headless/Headless.h"

using namespace fmx;

int main(int argc, char** argv) {
  const std::string outDir = argc > 1 ? argv[1] : "out";
  std::filesystem::create_directories(outDir);
  THeadlessPlatform& platform = THeadlessPlatform::Install();

  TForm form(nullptr);
  form.SetBounds(100, 100, 640, 400);
  form.Fill()->SetKind(TBrushKind::Solid);
  form.Fill()->SetColor(0xFFF5F5F5);
  form.Show();

  auto* header = new TRectangle(&form);
  header->SetParent(&form);
  header->SetHeight(40);
  header->SetAlign(TAlignLayout::MostTop);
  header->Fill()->SetColor(0xFF2B579A);
  header->Stroke()->SetKind(TBrushKind::None);

  auto* title = new TLabel(&form);
  title->SetParent(header);
  title->SetAlign(TAlignLayout::Client);
  title->Margins()->SetLeft(12);
  title->SetStyledSettings({});
  title->TextSettings()->SetFontColor(0xFFFFFFFF);
  title->TextSettings()->Font()->SetSize(16);
  title->SetText("ZUZided host primitives");

  auto* card = new TRectangle(&form);
  card->SetParent(&form);
  card->SetBounds(24, 64, 280, 160);
  card->SetXRadius(8);
  card->SetYRadius(8);
  card->Fill()->SetColor(0xFFFFFFFF);
  card->Stroke()->SetColor(0xFF008000);

  auto* text = new TText(&form);
  text->SetParent(card);
  text->SetAlign(TAlignLayout::Client);
  text->TextSettings()->SetWordWrap(true);
  text->SetText("A rounded rectangle with a one-pixel border, holding wrapped text. 中文文本");

  auto* path = new TPath(&form);
  path->SetParent(&form);
  path->SetBounds(340, 64, 120, 120);
  path->Data()->SetData("M0,0 L100,50 L0,100 Z");
  path->Fill()->SetColor(0xFFE81123);

  auto* line = new TLine(&form);
  line->SetParent(&form);
  line->SetBounds(24, 250, 590, 2);
  line->SetLineType(TLineType::Top);

  auto* glyphs = new TLabel(&form);
  glyphs->SetParent(&form);
  glyphs->SetBounds(480, 64, 140, 40);
  glyphs->SetStyledSettings({});
  glyphs->TextSettings()->Font()->SetFamily("Webdings");
  glyphs->TextSettings()->Font()->SetSize(16);
  glyphs->SetText("012r");

  auto* grip = new TSizeGrip(&form);
  grip->SetParent(&form);
  grip->SetAlign(TAlignLayout::None);
  grip->SetBounds(624, 384, 16, 16);

  const std::string png = outDir + "/demo.png";
  platform.SaveSnapshotPng(&form, png);
  std::printf("Built a %dx%d form on the headless platform with %d controls: header strip with a "
              "label, a rounded card with wrapped text, a filled path, a line, window symbols "
              "and a size grip.\nWrote %s\n",
              form.Width(), form.Height(), form.ComponentCount(), png.c_str());
  return 0;
}
