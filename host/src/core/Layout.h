// The alignment rules shared by controls and forms.
#pragma once

#include <vector>

#include "host/Controls.h"

namespace fmx {

// Puts one aligned control where the layout decided (its width and height are never
// negative). The layout only reads controls; placing one runs the control's own code
// (its resize handlers, its children's layout), so whoever asks for a layout does it.
using TPlaceAligned = void (*)(TControl* Control, float X, float Y, float Width, float Height);

// Lays out the aligned, visible child controls of Parent. Area is the parent's
// rectangle minus its padding; Full is the whole parent rectangle (used by Contents).
void AlignChildren(TFmxObject* Parent, TRectF Area, TRectF Full, TPlaceAligned Place);

}  // namespace fmx
