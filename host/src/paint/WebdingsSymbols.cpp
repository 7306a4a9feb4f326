// The caption-button and menu symbols, drawn the way the font draws them: a square
// glyph area of about 0.6 em centred in the em cell, edges snapped to whole pixels so
// the thin strokes stay crisp at the usual 12-20 px sizes.
#include "paint/WebdingsSymbols.h"

#include <algorithm>
#include <cmath>

namespace fmx::webdings {

bool IsFamily(std::string_view Family) {
  constexpr std::string_view Name = "webdings";
  if (Family.size() != Name.size()) return false;
  for (size_t I = 0; I < Name.size(); ++I) {
    char C = Family[I];
    if (C >= 'A' && C <= 'Z') C = static_cast<char>(C - 'A' + 'a');
    if (C != Name[I]) return false;
  }
  return true;
}

bool IsSymbol(char C) {
  switch (C) {
    case '0':
    case '1':
    case '2':
    case 'r':
    case 'a':
    case '3':
    case '4':
    case '5':
    case '6':
      return true;
    default:
      return false;
  }
}

std::vector<Run> Split(std::string_view Text) {
  std::vector<Run> Runs;
  size_t Begin = 0;
  for (size_t I = 0; I < Text.size(); ++I) {
    if (!IsSymbol(Text[I])) continue;
    if (I > Begin) Runs.push_back({false, Text.substr(Begin, I - Begin)});
    Runs.push_back({true, Text.substr(I, 1)});
    Begin = I + 1;
  }
  if (Begin < Text.size()) Runs.push_back({false, Text.substr(Begin)});
  return Runs;
}

namespace {

void FillBox(cairo_t* Cr, double L, double T, double R, double B) {
  if (R <= L || B <= T) return;
  cairo_rectangle(Cr, L, T, R - L, B - T);
  cairo_fill(Cr);
}

// A window outline: thin sides and bottom, a title-bar thick top.
void Window(cairo_t* Cr, double L, double T, double R, double B, double Thin, double Top) {
  FillBox(Cr, L, T, R, T + Top);
  FillBox(Cr, L, B - Thin, R, B);
  FillBox(Cr, L, T, L + Thin, B);
  FillBox(Cr, R - Thin, T, R, B);
}

// A solid triangle with the given corners.
void Triangle(cairo_t* Cr, double X1, double Y1, double X2, double Y2, double X3, double Y3) {
  cairo_move_to(Cr, X1, Y1);
  cairo_line_to(Cr, X2, Y2);
  cairo_line_to(Cr, X3, Y3);
  cairo_close_path(Cr);
  cairo_fill(Cr);
}

}  // namespace

void Draw(cairo_t* Cr, char Symbol, double X, double Y, double CellHeight, double Em) {
  if (Em <= 0) return;
  const double Side = std::max(3.0, std::round(Em * 0.6));
  const double L = std::round(X + (Advance(Em) - Side) / 2);
  const double T = std::round(Y + (CellHeight - Side) / 2);
  const double R = L + Side, B = T + Side;
  const double Thin = std::max(1.0, std::round(Em / 16));
  const double Thick = std::max(2.0, std::round(Em / 7));

  cairo_save(Cr);
  cairo_new_path(Cr);
  switch (Symbol) {
    case '0':  // minimise: a bar along the bottom of the glyph area
      FillBox(Cr, L, B - Thick, R, B);
      break;
    case '1':  // maximise: one window
      Window(Cr, L, T, R, B, Thin, Thick);
      break;
    case '2': {  // restore: a window behind and to the upper right of another
      const double Small = std::round(Side * 0.72);
      const double Shift = Side - Small;
      const double FL = L, FT = T + Shift, FR = L + Small, FB = B;
      // The back window shows only where the front one does not cover it.
      cairo_save(Cr);
      cairo_rectangle(Cr, L - 1, T - 1, Side + 2, Side + 2);
      cairo_rectangle(Cr, FL, FT, Small, Small);
      cairo_set_fill_rule(Cr, CAIRO_FILL_RULE_EVEN_ODD);
      cairo_clip(Cr);
      cairo_set_fill_rule(Cr, CAIRO_FILL_RULE_WINDING);
      Window(Cr, L + Shift, T, R, T + Small, Thin, Thick);
      cairo_restore(Cr);
      Window(Cr, FL, FT, FR, FB, Thin, Thick);
      break;
    }
    case 'r': {  // close: a cross corner to corner
      const double Pen = std::max(1.0, Em / 9);
      cairo_set_line_width(Cr, Pen);
      cairo_set_line_cap(Cr, CAIRO_LINE_CAP_SQUARE);
      const double In = Pen / 2;
      cairo_move_to(Cr, L + In, T + In);
      cairo_line_to(Cr, R - In, B - In);
      cairo_move_to(Cr, R - In, T + In);
      cairo_line_to(Cr, L + In, B - In);
      cairo_stroke(Cr);
      break;
    }
    case 'a': {  // tick: a short stroke down to the base, a long one up to the right
      const double Pen = std::max(1.5, Em / 7);
      cairo_set_line_width(Cr, Pen);
      cairo_set_line_cap(Cr, CAIRO_LINE_CAP_ROUND);
      cairo_set_line_join(Cr, CAIRO_LINE_JOIN_ROUND);
      cairo_move_to(Cr, L + Side * 0.08, T + Side * 0.55);
      cairo_line_to(Cr, L + Side * 0.38, T + Side * 0.88);
      cairo_line_to(Cr, L + Side * 0.95, T + Side * 0.12);
      cairo_stroke(Cr);
      break;
    }
    // The triangles are as long as the glyph area and a little over half as deep,
    // pointing the way the digit says.
    case '3': {
      const double D = std::round(Side * 0.6), X0 = std::round(X + (Advance(Em) - D) / 2);
      Triangle(Cr, X0 + D, T, X0 + D, B, X0, (T + B) / 2);
      break;
    }
    case '4': {
      const double D = std::round(Side * 0.6), X0 = std::round(X + (Advance(Em) - D) / 2);
      Triangle(Cr, X0, T, X0, B, X0 + D, (T + B) / 2);
      break;
    }
    case '5': {
      const double D = std::round(Side * 0.6), Y0 = std::round(Y + (CellHeight - D) / 2);
      Triangle(Cr, L, Y0 + D, R, Y0 + D, (L + R) / 2, Y0);
      break;
    }
    case '6': {
      const double D = std::round(Side * 0.6), Y0 = std::round(Y + (CellHeight - D) / 2);
      Triangle(Cr, L, Y0, R, Y0, (L + R) / 2, Y0 + D);
      break;
    }
    default:
      break;
  }
  cairo_restore(Cr);
}

}  // namespace fmx::webdings
