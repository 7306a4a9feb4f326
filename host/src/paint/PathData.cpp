// SVG path data: parsing into move/line/cubic/close points. Quadratic curves and
// elliptical arcs become cubic curves so that everything downstream draws only
// three kinds of segment.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <numbers>

#include "host/Graphics.h"

namespace fmx {

namespace {

bool IsSpace(char C) { return C == ' ' || C == '\t' || C == '\n' || C == '\r' || C == '\f'; }
bool IsDigit(char C) { return C >= '0' && C <= '9'; }

class PathParser {
 public:
  explicit PathParser(const std::string& AText) : S(AText) {}

  std::vector<TPathPoint> Parse() {
    SkipSpace();
    if (AtEnd()) return {};
    char Cmd = 0;
    while (true) {
      SkipSpace();
      if (AtEnd()) break;
      const char C = S[P];
      if (IsCommandLetter(C)) {
        Cmd = C;
        ++P;
      } else if (Cmd != 0 && Cmd != 'Z' && Cmd != 'z' && (StartsNumber() || C == ',')) {
        // A comma may separate one coordinate group from the next.
        if (C == ',') {
          ++P;
          SkipSpace();
          if (!StartsNumber()) Fail("a number");
        }
        // Repeated coordinates repeat the command; after a move they are line-tos.
        if (Cmd == 'M') Cmd = 'L';
        if (Cmd == 'm') Cmd = 'l';
      } else {
        Fail(Cmd == 0 ? "a move-to command (M or m)"
                      : "a path command (M, L, H, V, C, S, Q, T, A or Z)");
      }
      if (Out.empty() && Cmd != 'M' && Cmd != 'm') {
        --P;
        Fail("a move-to command (M or m)");
      }
      RunCommand(Cmd);
    }
    return std::move(Out);
  }

 private:
  static bool IsCommandLetter(char C) {
    switch (C) {
      case 'M': case 'm': case 'L': case 'l': case 'H': case 'h': case 'V': case 'v':
      case 'C': case 'c': case 'S': case 's': case 'Q': case 'q': case 'T': case 't':
      case 'A': case 'a': case 'Z': case 'z':
        return true;
      default:
        return false;
    }
  }

  bool AtEnd() const { return P >= S.size(); }
  void SkipSpace() {
    while (!AtEnd() && IsSpace(S[P])) ++P;
  }
  // Whitespace and at most one comma between arguments.
  void SkipSeparator() {
    SkipSpace();
    if (!AtEnd() && S[P] == ',') {
      ++P;
      SkipSpace();
    }
  }
  bool StartsNumber() const {
    if (AtEnd()) return false;
    const char C = S[P];
    return IsDigit(C) || C == '-' || C == '+' || C == '.';
  }

  [[noreturn]] void Fail(const std::string& Expected) const {
    std::string Found;
    if (AtEnd())
      Found = "the end of the data";
    else if (static_cast<unsigned char>(S[P]) >= 0x20 && static_cast<unsigned char>(S[P]) < 0x7F)
      Found = std::string("'") + S[P] + "'";
    else
      Found = "byte " + std::to_string(static_cast<unsigned char>(S[P]));
    throw EPathDataError("path data: expected " + Expected + " at offset " + std::to_string(P) +
                         ", found " + Found);
  }

  float Number() {
    SkipSeparator();
    const size_t Begin = P;
    size_t Q = P;
    bool Negative = false;
    if (Q < S.size() && (S[Q] == '+' || S[Q] == '-')) {
      Negative = S[Q] == '-';
      ++Q;
    }
    const size_t Mantissa = Q;
    size_t Digits = 0;
    while (Q < S.size() && IsDigit(S[Q])) ++Q, ++Digits;
    if (Q < S.size() && S[Q] == '.') {
      ++Q;
      while (Q < S.size() && IsDigit(S[Q])) ++Q, ++Digits;
    }
    if (Digits == 0) Fail("a number");
    if (Q < S.size() && (S[Q] == 'e' || S[Q] == 'E')) {
      size_t E = Q + 1;
      if (E < S.size() && (S[E] == '+' || S[E] == '-')) ++E;
      if (E >= S.size() || !IsDigit(S[E])) {
        P = E;
        Fail("the digits of an exponent");
      }
      while (E < S.size() && IsDigit(S[E])) ++E;
      Q = E;
    }
    double V = 0;
    const auto R = std::from_chars(S.data() + Mantissa, S.data() + Q, V);
    if (R.ec != std::errc() || R.ptr != S.data() + Q || !std::isfinite(V) ||
        std::fabs(V) > std::numeric_limits<float>::max()) {
      P = Begin;
      Fail("a number within range");
    }
    P = Q;
    return static_cast<float>(Negative ? -V : V);
  }

  bool Flag() {
    SkipSeparator();
    if (AtEnd() || (S[P] != '0' && S[P] != '1')) Fail("an arc flag (0 or 1)");
    return S[P++] == '1';
  }

  TPointF Point(bool Relative) {
    const float X = Number();
    const float Y = Number();
    return Relative ? TPointF{Cur.X + X, Cur.Y + Y} : TPointF{X, Y};
  }

  // A drawing command right after a close starts again at the closed subpath's start.
  void EnsureSubpath() {
    if (!Out.empty() && Out.back().Kind == TPathPointKind::Close)
      Out.push_back({TPathPointKind::MoveTo, Start, {}, {}});
  }

  void MoveTo(TPointF Pt) {
    Out.push_back({TPathPointKind::MoveTo, Pt, {}, {}});
    Cur = Start = Pt;
  }
  void LineTo(TPointF Pt) {
    EnsureSubpath();
    Out.push_back({TPathPointKind::LineTo, Pt, {}, {}});
    Cur = Pt;
  }
  void CurveTo(TPointF C1, TPointF C2, TPointF Pt) {
    EnsureSubpath();
    Out.push_back({TPathPointKind::CurveTo, Pt, C1, C2});
    Cur = Pt;
  }
  void QuadTo(TPointF Q, TPointF Pt) {
    const TPointF C1{Cur.X + 2.0f / 3.0f * (Q.X - Cur.X), Cur.Y + 2.0f / 3.0f * (Q.Y - Cur.Y)};
    const TPointF C2{Pt.X + 2.0f / 3.0f * (Q.X - Pt.X), Pt.Y + 2.0f / 3.0f * (Q.Y - Pt.Y)};
    CurveTo(C1, C2, Pt);
  }

  void RunCommand(char Cmd) {
    const bool Rel = Cmd >= 'a' && Cmd <= 'z';
    const char Upper = static_cast<char>(Rel ? Cmd - 'a' + 'A' : Cmd);
    bool KeepsCubic = false, KeepsQuad = false;
    switch (Upper) {
      case 'M':
        MoveTo(Point(Rel));
        break;
      case 'L':
        LineTo(Point(Rel));
        break;
      case 'H': {
        const float X = Number();
        LineTo({Rel ? Cur.X + X : X, Cur.Y});
        break;
      }
      case 'V': {
        const float Y = Number();
        LineTo({Cur.X, Rel ? Cur.Y + Y : Y});
        break;
      }
      case 'C': {
        const TPointF C1 = Point(Rel);
        const TPointF C2 = Point(Rel);
        const TPointF Pt = Point(Rel);
        CurveTo(C1, C2, Pt);
        LastCubic = C2;
        KeepsCubic = true;
        break;
      }
      case 'S': {
        const TPointF C1 = PrevWasCubic ? TPointF{2 * Cur.X - LastCubic.X, 2 * Cur.Y - LastCubic.Y}
                                        : Cur;
        const TPointF C2 = Point(Rel);
        const TPointF Pt = Point(Rel);
        CurveTo(C1, C2, Pt);
        LastCubic = C2;
        KeepsCubic = true;
        break;
      }
      case 'Q': {
        const TPointF Q = Point(Rel);
        const TPointF Pt = Point(Rel);
        QuadTo(Q, Pt);
        LastQuad = Q;
        KeepsQuad = true;
        break;
      }
      case 'T': {
        const TPointF Q =
            PrevWasQuad ? TPointF{2 * Cur.X - LastQuad.X, 2 * Cur.Y - LastQuad.Y} : Cur;
        const TPointF Pt = Point(Rel);
        QuadTo(Q, Pt);
        LastQuad = Q;
        KeepsQuad = true;
        break;
      }
      case 'A': {
        const float Rx = Number();
        const float Ry = Number();
        const float Rotation = Number();
        const bool LargeArc = Flag();
        const bool Sweep = Flag();
        const TPointF Pt = Point(Rel);
        ArcTo(Rx, Ry, Rotation, LargeArc, Sweep, Pt);
        break;
      }
      case 'Z':
        if (!Out.empty() && Out.back().Kind != TPathPointKind::Close)
          Out.push_back({TPathPointKind::Close, Start, {}, {}});
        Cur = Start;
        break;
    }
    PrevWasCubic = KeepsCubic;
    PrevWasQuad = KeepsQuad;
  }

  // Endpoint to centre parameterisation, then one cubic per quarter turn at most.
  void ArcTo(float Rx, float Ry, float RotationDeg, bool LargeArc, bool Sweep, TPointF Pt) {
    const double X1 = Cur.X, Y1 = Cur.Y, X2 = Pt.X, Y2 = Pt.Y;
    if (X1 == X2 && Y1 == Y2) return;
    double RX = std::fabs(Rx), RY = std::fabs(Ry);
    if (RX == 0 || RY == 0) {
      LineTo(Pt);
      return;
    }
    const double Phi = RotationDeg * std::numbers::pi / 180.0;
    const double CosPhi = std::cos(Phi), SinPhi = std::sin(Phi);
    const double DX = (X1 - X2) / 2, DY = (Y1 - Y2) / 2;
    const double X1p = CosPhi * DX + SinPhi * DY;
    const double Y1p = -SinPhi * DX + CosPhi * DY;
    // Radii too small for the endpoints grow just enough.
    const double Lambda = (X1p * X1p) / (RX * RX) + (Y1p * Y1p) / (RY * RY);
    if (Lambda > 1) {
      const double F = std::sqrt(Lambda);
      RX *= F;
      RY *= F;
    }
    const double Num = RX * RX * RY * RY - RX * RX * Y1p * Y1p - RY * RY * X1p * X1p;
    const double Den = RX * RX * Y1p * Y1p + RY * RY * X1p * X1p;
    double Coef = Den == 0 ? 0 : std::sqrt(std::max(0.0, Num / Den));
    if (LargeArc == Sweep) Coef = -Coef;
    const double Cxp = Coef * (RX * Y1p / RY);
    const double Cyp = Coef * -(RY * X1p / RX);
    const double Cx = CosPhi * Cxp - SinPhi * Cyp + (X1 + X2) / 2;
    const double Cy = SinPhi * Cxp + CosPhi * Cyp + (Y1 + Y2) / 2;

    auto Angle = [](double Ux, double Uy, double Vx, double Vy) {
      return std::atan2(Ux * Vy - Uy * Vx, Ux * Vx + Uy * Vy);
    };
    const double Theta1 = Angle(1, 0, (X1p - Cxp) / RX, (Y1p - Cyp) / RY);
    double Delta = Angle((X1p - Cxp) / RX, (Y1p - Cyp) / RY, (-X1p - Cxp) / RX, (-Y1p - Cyp) / RY);
    if (!Sweep && Delta > 0) Delta -= 2 * std::numbers::pi;
    if (Sweep && Delta < 0) Delta += 2 * std::numbers::pi;

    const int Segments =
        std::max(1, static_cast<int>(std::ceil(std::fabs(Delta) / (std::numbers::pi / 2) - 1e-9)));
    const double Step = Delta / Segments;
    const double K = 4.0 / 3.0 * std::tan(Step / 4);
    auto Map = [&](double Ux, double Uy) {
      const double X = Ux * RX, Y = Uy * RY;
      return TPointF{static_cast<float>(CosPhi * X - SinPhi * Y + Cx),
                     static_cast<float>(SinPhi * X + CosPhi * Y + Cy)};
    };
    double A = Theta1;
    for (int I = 0; I < Segments; ++I) {
      const double B = A + Step;
      const double CA = std::cos(A), SA = std::sin(A), CB = std::cos(B), SB = std::sin(B);
      const TPointF C1 = Map(CA - K * SA, SA + K * CA);
      const TPointF C2 = Map(CB + K * SB, SB - K * CB);
      // The last segment ends exactly where the data says, free of rounding.
      const TPointF End = I == Segments - 1 ? Pt : Map(CB, SB);
      CurveTo(C1, C2, End);
      A = B;
    }
  }

  const std::string& S;
  size_t P = 0;
  std::vector<TPathPoint> Out;
  TPointF Cur, Start, LastCubic, LastQuad;
  bool PrevWasCubic = false, PrevWasQuad = false;
};

}  // namespace

std::vector<TPathPoint> ParsePathData(const std::string& Data) { return PathParser(Data).Parse(); }

namespace {
const std::string kNoData;
const std::vector<TPathPoint> kNoPoints;
}  // namespace

const std::string& TPathData::Data() const { return FParsed ? FParsed->Data : kNoData; }

const std::vector<TPathPoint>& TPathData::Points() const {
  return FParsed ? FParsed->Points : kNoPoints;
}

void TPathData::SetData(const std::string& Value) {
  if (Value == Data()) return;
  // The last few parses are kept: controls built in a row mostly set the same data.
  static constexpr size_t kRecent = 8;
  static auto* recent = new std::vector<std::shared_ptr<const TParsed>>;
  std::shared_ptr<const TParsed> parsed;
  for (const auto& p : *recent)
    if (p->Data == Value) parsed = p;
  if (parsed == nullptr) {
    std::vector<TPathPoint> points = ParsePathData(Value);
    points.shrink_to_fit();
    parsed = std::make_shared<const TParsed>(TParsed{Value, std::move(points)});
    if (recent->size() == kRecent) recent->erase(recent->begin());
    recent->push_back(parsed);
  }
  FParsed = Value.empty() ? nullptr : std::move(parsed);
  Changed();
}

TRectF TPathData::GetBounds() const {
  const std::vector<TPathPoint>& points = Points();
  if (points.empty()) return {};
  float L = points[0].Point.X, T = points[0].Point.Y, R = L, B = T;
  auto Add = [&](TPointF Pt) {
    L = std::min(L, Pt.X);
    T = std::min(T, Pt.Y);
    R = std::max(R, Pt.X);
    B = std::max(B, Pt.Y);
  };
  for (const TPathPoint& Pt : points) {
    Add(Pt.Point);
    if (Pt.Kind == TPathPointKind::CurveTo) {
      Add(Pt.Control1);
      Add(Pt.Control2);
    }
  }
  return {L, T, R, B};
}

void TPathData::Clear() {
  if (FParsed == nullptr) return;
  FParsed.reset();
  Changed();
}

void TPathData::Assign(TPersistent* Source) {
  auto* Src = dynamic_cast<TPathData*>(Source);
  if (Src == nullptr) {
    TChangeNotifier::Assign(Source);
    return;
  }
  if (Src == this || (Src->Data() == Data() && Src->Points().size() == Points().size())) return;
  FParsed = Src->FParsed;
  Changed();
}

}  // namespace fmx
