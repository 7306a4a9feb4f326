// Private to the host: the window symbols of the "Webdings" family, drawn as
// vector shapes because the font itself is not shipped.
#pragma once

#include <cairo.h>

#include <string_view>
#include <vector>

namespace fmx::webdings {

// "Webdings", in any letter case.
bool IsFamily(std::string_view Family);
// Window symbols '0' minimise, '1' maximise, '2' restore, 'r' close; menu symbols
// 'a' tick and the triangles '3' left, '4' right, '5' up, '6' down.
bool IsSymbol(char C);

// A text cut into symbols (one a run) and stretches of ordinary text.
struct Run {
  bool Symbol;
  std::string_view Text;
};
std::vector<Run> Split(std::string_view Text);

// Horizontal space a symbol takes at font size Em: one em, like the font's glyphs.
inline double Advance(double Em) { return Em; }

// Draws one symbol with the current source of Cr in the cell (X, Y, Advance(Em),
// CellHeight), centred the way the font's glyph sits in its line.
void Draw(cairo_t* Cr, char Symbol, double X, double Y, double CellHeight, double Em);

}  // namespace fmx::webdings
