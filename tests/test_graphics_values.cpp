#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "host/Graphics.h"

using namespace fmx;

namespace {

std::vector<TPathPointKind> Kinds(const std::vector<TPathPoint>& Pts) {
  std::vector<TPathPointKind> K;
  for (const auto& P : Pts) K.push_back(P.Kind);
  return K;
}

void ExpectPoint(TPointF P, float X, float Y) {
  EXPECT_NEAR(P.X, X, 1e-4f);
  EXPECT_NEAR(P.Y, Y, 1e-4f);
}

std::string TempPath(const std::string& Name) {
  return (std::filesystem::temp_directory_path() /
          ("zz_gv_" + std::to_string(::getpid()) + "_" + Name))
      .string();
}

void WriteFile(const std::string& Name, const std::vector<uint8_t>& Bytes) {
  std::ofstream Out(Name, std::ios::binary);
  Out.write(reinterpret_cast<const char*>(Bytes.data()), static_cast<std::streamsize>(Bytes.size()));
}

}  // namespace

using K = TPathPointKind;

TEST(PathData, LinesAbsoluteRelativeAndImplicitRepeats) {
  // After M the extra pairs are line-tos; after m relative line-tos.
  auto P = ParsePathData("M10,20 30,40 m5 5 1 1 H 0 h2 V7 v-3 L1 1 l1,1 Z");
  EXPECT_EQ(Kinds(P), (std::vector<K>{K::MoveTo, K::LineTo, K::MoveTo, K::LineTo, K::LineTo,
                                       K::LineTo, K::LineTo, K::LineTo, K::LineTo, K::LineTo,
                                       K::Close}));
  ExpectPoint(P[1].Point, 30, 40);
  ExpectPoint(P[2].Point, 35, 45);
  ExpectPoint(P[3].Point, 36, 46);
  ExpectPoint(P[4].Point, 0, 46);
  ExpectPoint(P[5].Point, 2, 46);
  ExpectPoint(P[6].Point, 2, 7);
  ExpectPoint(P[7].Point, 2, 4);
  ExpectPoint(P[9].Point, 2, 2);
  ExpectPoint(P[10].Point, 35, 45);  // close returns to the subpath start
}

TEST(PathData, NumberForms) {
  // Exponents, leading dots, a second dot starting the next number, signs as separators.
  auto P = ParsePathData("M1e-3-.5L.5.5 +2E1,-1.5e+1");
  ASSERT_EQ(P.size(), 3u);
  ExpectPoint(P[0].Point, 0.001f, -0.5f);
  ExpectPoint(P[1].Point, 0.5f, 0.5f);
  ExpectPoint(P[2].Point, 20, -15);
}

TEST(PathData, CubicsAndSmoothReflection) {
  auto P = ParsePathData("M0,0 C10,0 20,10 20,20 S30,40 40,40 s10,0 10,10");
  ASSERT_EQ(Kinds(P), (std::vector<K>{K::MoveTo, K::CurveTo, K::CurveTo, K::CurveTo}));
  ExpectPoint(P[2].Control1, 20, 30);  // reflection of (20,10) about (20,20)
  ExpectPoint(P[2].Control2, 30, 40);
  ExpectPoint(P[3].Control1, 50, 40);  // reflection of (30,40) about (40,40)
  ExpectPoint(P[3].Control2, 50, 40);
  ExpectPoint(P[3].Point, 50, 50);
  // S without a preceding cubic uses the current point as its first control.
  auto Q = ParsePathData("M5,5 S10,10 20,20");
  ExpectPoint(Q[1].Control1, 5, 5);
}

TEST(PathData, QuadraticsBecomeEquivalentCubics) {
  auto P = ParsePathData("M0,0 Q30,30 60,0 T120,0 q0,10 10,10");
  ASSERT_EQ(Kinds(P), (std::vector<K>{K::MoveTo, K::CurveTo, K::CurveTo, K::CurveTo}));
  ExpectPoint(P[1].Control1, 20, 20);
  ExpectPoint(P[1].Control2, 40, 20);
  ExpectPoint(P[1].Point, 60, 0);
  // T reflects the quadratic control (30,30) about (60,0) to (90,-30).
  ExpectPoint(P[2].Control1, 80, -20);
  ExpectPoint(P[2].Control2, 100, -20);
  ExpectPoint(P[3].Point, 130, 10);
}

TEST(PathData, ArcsBecomeCubicsThroughTheRightPoints) {
  // A half circle of radius 10 from (0,0) to (20,0): two quarter cubics whose middle
  // point lies on the circle, above or below depending on the sweep flag.
  auto Up = ParsePathData("M0,0 A10,10 0 0,1 20,0");
  ASSERT_EQ(Kinds(Up), (std::vector<K>{K::MoveTo, K::CurveTo, K::CurveTo}));
  ExpectPoint(Up[1].Point, 10, -10);
  ExpectPoint(Up[2].Point, 20, 0);
  auto Down = ParsePathData("M0,0 a10,10 0 0 0 20,0");
  ExpectPoint(Down[1].Point, 10, 10);
  // Radii too small are scaled up; a zero radius is a straight line; flags may touch.
  auto Small = ParsePathData("M0,0 A1,1 0 0,1 20,0");
  ExpectPoint(Small[1].Point, 10, -10);
  EXPECT_EQ(Kinds(ParsePathData("M0,0 A0,5 0 0 1 10,10")), (std::vector<K>{K::MoveTo, K::LineTo}));
  EXPECT_EQ(ParsePathData("M0,0a6,6 0 1110,0").size(), 4u);  // large arc, 3 segments
  EXPECT_EQ(ParsePathData("M0,0 L2,2,3,3").size(), 3u);
}

TEST(PathData, DrawingAfterCloseRestartsAtTheSubpathStart) {
  auto P = ParsePathData("M10,10 L20,10 Z l5,5");
  ASSERT_EQ(Kinds(P), (std::vector<K>{K::MoveTo, K::LineTo, K::Close, K::MoveTo, K::LineTo}));
  ExpectPoint(P[3].Point, 10, 10);
  ExpectPoint(P[4].Point, 15, 15);
}

TEST(PathData, TheLibrarysOwnShapesParseWithTheirBounds) {
  TPathData Tick;
  Tick.SetData("M50,174 L63,183 L76,157 L76,157 L63,183 ");
  EXPECT_EQ(Tick.GetBounds(), TRectF(50, 157, 76, 183));
  TPathData Arrow;
  Arrow.SetData("M108,0 L243,127 L108,254 L108,254 L243,127 ");
  EXPECT_EQ(Arrow.GetBounds(), TRectF(108, 0, 243, 254));
  EXPECT_TRUE(ParsePathData("").empty());
  EXPECT_TRUE(ParsePathData("  \n ").empty());
}

TEST(PathData, MalformedDataNamesOffsetAndExpectation) {
  struct Case {
    const char* Data;
    const char* Fragment;
  };
  const Case Cases[] = {
      {"L10,10", "expected a move-to command (M or m) at offset 0"},
      {"M10", "expected a number at offset 3, found the end"},
      {"M10,x", "expected a number at offset 4, found 'x'"},
      {"M1,1 K2,2", "expected a path command"},
      {"M1,1 L2,2,,3,3", "expected a number at offset 10"},
      {"M1e,2", "exponent"},
      {"M0,0 A5,5 0 2 0 1,1", "arc flag"},
      {"M0,0 Z 5", "path command"},
      {"M1e99,0", "within range"},
      {"M.,1", "expected a number at offset 1"},
  };
  for (const Case& C : Cases) {
    try {
      ParsePathData(C.Data);
      ADD_FAILURE() << "no error for " << C.Data;
    } catch (const EPathDataError& E) {
      EXPECT_NE(std::string(E.what()).find(C.Fragment), std::string::npos)
          << C.Data << " -> " << E.what();
    }
  }
}

// Settings held by nothing, freed by their own handler while their font changes: the
// font's change ends there (the sanitizer build reads any freed byte as a failure). A
// handler read before it is cleared stays a valid (empty) handler.
TEST(TextSettings, AHandlerFreeingTheSettingsEndsTheFontsChange) {
  auto* Settings = new TTextSettings;
  int FontCalls = 0;
  Settings->Font()->SetOnChange([&](TObject*) { ++FontCalls; });
  Settings->SetOnChange([&](TObject*) { delete Settings; });
  Settings->Font()->SetSize(20);
  EXPECT_EQ(FontCalls, 0);

  TBrush Brush(TBrushKind::Solid, TAlphaColors::Red);
  Brush.SetOnChange([](TObject*) {});
  const TNotifyEvent& Handler = Brush.OnChange();
  Brush.SetOnChange(nullptr);
  EXPECT_FALSE(Handler);
  Brush.SetColor(TAlphaColors::Black);
}

TEST(PathData, FailedSetDataKeepsThePreviousPathAndTellsNoOne) {
  TPathData Path;
  int Changes = 0;
  Path.SetOnChange([&](TObject*) { ++Changes; });
  Path.SetData("M0,0 L10,10");
  EXPECT_EQ(Changes, 1);
  EXPECT_THROW(Path.SetData("M0,0 L10,10 L20"), EPathDataError);
  EXPECT_EQ(Path.Data(), "M0,0 L10,10");
  EXPECT_EQ(Path.Points().size(), 2u);
  EXPECT_EQ(Changes, 1);
  Path.SetData("M0,0 L10,10");  // same data: no change
  EXPECT_EQ(Changes, 1);
  Path.Clear();
  EXPECT_TRUE(Path.IsEmpty());
  EXPECT_EQ(Changes, 2);
}

TEST(ValueObjects, SettersNotifyOnlyOnRealChangeAndAssignCopies) {
  TStrokeBrush Stroke(TBrushKind::Solid, TAlphaColors::Black);
  int Changes = 0;
  Stroke.SetOnChange([&](TObject*) { ++Changes; });
  Stroke.SetColor(TAlphaColors::Black);
  Stroke.SetThickness(1);
  EXPECT_EQ(Changes, 0);
  Stroke.SetThickness(2);
  Stroke.SetThickness(std::nanf(""));  // undrawable values become 0
  EXPECT_EQ(Stroke.Thickness(), 0);
  EXPECT_EQ(Changes, 2);
  TStrokeBrush Other(TBrushKind::None, TAlphaColors::Red);
  Other.SetThickness(3);
  Stroke.Assign(&Other);
  EXPECT_EQ(Changes, 3);  // one notification for the whole copy
  EXPECT_EQ(Stroke.Kind(), TBrushKind::None);
  EXPECT_EQ(Stroke.Color(), TAlphaColors::Red);
  EXPECT_EQ(Stroke.Thickness(), 3);

  TTextSettings A, B;
  int SettingsChanges = 0;
  A.SetOnChange([&](TObject*) { ++SettingsChanges; });
  A.Font()->SetSize(20);  // a font change reaches the settings' listener
  EXPECT_EQ(SettingsChanges, 1);
  B.Font()->SetFamily("WenQuanYi Micro Hei");
  B.Font()->SetStyle({TFontStyle::fsBold});
  B.SetFontColor(TAlphaColors::Red);
  B.SetHorzAlign(TTextAlign::Trailing);
  B.SetWordWrap(true);
  A.Assign(&B);
  EXPECT_EQ(SettingsChanges, 2);
  // A family is the same whichever string names it; naming the one a font has is no change.
  TFont C(std::string("WenQuanYi Micro ") + "Hei", B.Font()->Size(), B.Font()->Style());
  EXPECT_TRUE(C.Equals(*B.Font()));
  int FontChanges = 0;
  C.SetOnChange([&](TObject*) { ++FontChanges; });
  C.SetFamily("WenQuanYi Micro Hei");
  EXPECT_EQ(FontChanges, 0);
  C.SetFamily("DejaVu Sans");
  EXPECT_EQ(C.Family(), "DejaVu Sans");
  EXPECT_FALSE(C.Equals(*B.Font()));
  EXPECT_EQ(FontChanges, 1);
  EXPECT_TRUE(A.Font()->Equals(*B.Font()));
  EXPECT_EQ(A.FontColor(), TAlphaColors::Red);
  EXPECT_EQ(A.HorzAlign(), TTextAlign::Trailing);
  EXPECT_TRUE(A.WordWrap());
  A.Assign(&B);
  EXPECT_EQ(SettingsChanges, 2);
}

TEST(Bitmap, PixelsRoundTripThroughPremultipliedStorage) {
  TBitmap B(4, 3);
  EXPECT_EQ(B.Pixel(0, 0), 0u);
  B.SetPixel(1, 1, 0x80FF8000);
  EXPECT_EQ(B.Data()[1 * 4 + 1], 0x80804000u);  // stored premultiplied
  EXPECT_EQ(B.Pixel(1, 1), 0x80FF8000u);
  B.SetPixel(2, 2, 0x00123456);  // fully transparent keeps no colour
  EXPECT_EQ(B.Pixel(2, 2), 0u);
  // Outside the picture: reads are transparent, writes are clipped away.
  B.SetPixel(-1, 0, TAlphaColors::Red);
  B.SetPixel(4, 0, TAlphaColors::Red);
  EXPECT_EQ(B.Pixel(4, 0), 0u);
  EXPECT_EQ(B.Pixel(0, -1), 0u);
}

TEST(Bitmap, SizeLimitsAndAssign) {
  TBitmap B;
  EXPECT_TRUE(B.IsEmpty());
  EXPECT_THROW(B.SetSize(-1, 5), EBitmapError);
  EXPECT_THROW(B.SetSize(5, TBitmap::MaxSide + 1), EBitmapError);
  EXPECT_THROW(TBitmap(TBitmap::MaxSide + 1, 1), EBitmapError);
  EXPECT_TRUE(B.IsEmpty());
  B.SetSize(2, 2);
  B.Clear(TAlphaColors::Green);
  int Changes = 0;
  B.SetOnChange([&](TObject*) { ++Changes; });
  TBitmap Copy;
  Copy.Assign(&B);
  EXPECT_EQ(Copy.Pixel(1, 1), TAlphaColors::Green);
  B.Assign(&Copy);  // same pixels, still a notification
  EXPECT_EQ(Changes, 1);
  B.Assign(nullptr);
  EXPECT_TRUE(B.IsEmpty());
  EXPECT_EQ(Changes, 2);
}

TEST(Bitmap, PngRoundTripKeepsEveryPixel) {
  TBitmap B(3, 2);
  B.SetPixel(0, 0, TAlphaColors::Red);
  B.SetPixel(1, 0, 0x80336699);
  B.SetPixel(2, 1, TAlphaColors::White);
  const std::string File = TempPath("round.png");
  B.SaveToFile(File);
  TBitmap L;
  L.LoadFromFile(File);
  std::remove(File.c_str());
  ASSERT_EQ(L.Width(), 3);
  ASSERT_EQ(L.Height(), 2);
  EXPECT_EQ(L.Pixel(0, 0), TAlphaColors::Red);
  EXPECT_EQ(L.Pixel(2, 1), TAlphaColors::White);
  EXPECT_EQ(L.Pixel(0, 1), 0u);
  // Half-transparent colours survive up to premultiplication rounding.
  const TAlphaColor Half = L.Pixel(1, 0);
  EXPECT_EQ(Half >> 24, 0x80u);
  EXPECT_NEAR(static_cast<int>((Half >> 16) & 0xFF), 0x33, 2);
  EXPECT_NEAR(static_cast<int>(Half & 0xFF), 0x99, 2);
  EXPECT_THROW(TBitmap().SaveToPngBytes(), EBitmapError);
}

TEST(Bitmap, BadPicturesGiveClearErrorsAndLeaveTheBitmapAlone) {
  TBitmap Good(2, 2);
  Good.Clear(TAlphaColors::Red);
  const std::vector<uint8_t> Png = Good.SaveToPngBytes();

  std::vector<uint8_t> Huge = Png;  // header claims 16385 pixels wide
  Huge[16] = 0;
  Huge[17] = 0;
  Huge[18] = 0x40;
  Huge[19] = 0x01;
  std::vector<uint8_t> Truncated(Png.begin(), Png.begin() + static_cast<long>(Png.size() / 2));
  std::vector<uint8_t> Damaged = Png;  // break the image data's CRC
  Damaged[Damaged.size() - 16] ^= 0xFF;
  const std::string Text = "GIF89a definitely not a png";
  // A small file whose text chunk claims 1.7 GB: refused before anything is allocated.
  std::vector<uint8_t> Bomb(Png.begin(), Png.begin() + 33);  // signature and header
  const std::vector<uint8_t> Chunk = {0x69, 0x00, 0x00, 0x25, 't', 'E', 'X', 't', 'a', 0, 'b', 'c', 'd', 'e'};
  Bomb.insert(Bomb.end(), Chunk.begin(), Chunk.end());

  struct Case {
    std::vector<uint8_t> Bytes;
    const char* Fragment;
  };
  const Case Cases[] = {
      {{Text.begin(), Text.end()}, "not a PNG"},
      {{}, "not a PNG"},
      {Huge, "16385 x 2"},
      {Truncated, "PNG"},
      {Damaged, "PNG"},
      {std::vector<uint8_t>(Png.begin(), Png.begin() + 20), "truncated"},
      {Bomb, "runs past the end"},
  };
  TBitmap B(1, 1);
  B.SetPixel(0, 0, TAlphaColors::Green);
  int Changes = 0;
  B.SetOnChange([&](TObject*) { ++Changes; });
  for (const Case& C : Cases) {
    try {
      B.LoadFromPngBytes(C.Bytes);
      ADD_FAILURE() << "no error for a case expecting " << C.Fragment;
    } catch (const EBitmapError& E) {
      EXPECT_NE(std::string(E.what()).find(C.Fragment), std::string::npos) << E.what();
    }
    EXPECT_EQ(B.Width(), 1);
    EXPECT_EQ(B.Pixel(0, 0), TAlphaColors::Green);
  }
  EXPECT_EQ(Changes, 0);

  const std::string Missing = TempPath("does_not_exist.png");
  try {
    B.LoadFromFile(Missing);
    ADD_FAILURE() << "missing file loaded";
  } catch (const EBitmapError& E) {
    EXPECT_NE(std::string(E.what()).find(Missing), std::string::npos);
  }
  const std::string TruncFile = TempPath("trunc.png");
  WriteFile(TruncFile, Truncated);
  EXPECT_THROW(B.LoadFromFile(TruncFile), EBitmapError);
  std::remove(TruncFile.c_str());
  EXPECT_EQ(B.Pixel(0, 0), TAlphaColors::Green);
}
