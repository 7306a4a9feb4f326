// The framework's simple message box.
#pragma once

#include <string>

namespace fmx {

// Shows AText in a message box (recorded by the headless platform).
void ShowMessage(const std::string& AText);

}  // namespace fmx
