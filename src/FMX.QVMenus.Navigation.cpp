// The behaviour of a menu tree: which entry a sub-menu bar hangs on and, built on it,
// opening, highlighting and closing menus. For now a bar only remembers its target
// (and the form stores it); the hide timer is never started.
#include "FMX.QVMenus.h"

namespace fmx {

void TQVMenuBar::SetTargetButton(TQVMenuButton* Value) { FTargetButton = Value; }

void TQVMenuBar::__QV_TimerOnTimer(TObject*) {}

}  // namespace fmx
