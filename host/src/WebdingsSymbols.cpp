// The caption-button symbols, drawn the way the font draws them: a square glyph
// area of about 0.6 em centred in the em cell, edges snapped to whole pixels so the
// thin strokes stay crisp at the usual 12-20 px sizes.
#include "WebdingsSymbols.h"

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

bool IsSymbol(char C) { return C == '0' || C == '1' || C == '2' || C == 'r'; }

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
    default:
      break;
  }
  cairo_restore(Cr);
}

}  // namespace fmx::webdings
