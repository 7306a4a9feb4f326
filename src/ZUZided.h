// The ZUZided package: the library's units as one package of the host, for the designer
// and for applications. Linking it starts nothing and registers nothing; its classes
// become known to stored forms and the palette when the package is loaded.
#pragma once

#include "host/Packages.h"

namespace fmx::ZUZided {

// Description, version information, required host packages and units.
const TPackageInfo& Package();

// Loads the package as the designer does (LoadPackage): TQVTitleBar and the menu
// classes on the palette page "QVCtrl", TQVConstrainedForm known by name. The one call
// an application makes before it reads stored forms that hold the library's classes.
void Register();

}  // namespace fmx::ZUZided
