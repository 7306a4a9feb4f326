// The alignment rules shared by controls and forms.
#pragma once

#include <vector>

#include "host/Controls.h"

namespace fmx {

// Lays out the aligned, visible child controls of Parent. Area is the parent's
// rectangle minus its padding; Full is the whole parent rectangle (used by Contents).
void AlignChildren(TFmxObject* Parent, TRectF Area, TRectF Full);

}  // namespace fmx
