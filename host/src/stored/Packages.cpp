#include "host/Packages.h"

#include <algorithm>

namespace fmx {

namespace {
std::vector<std::string>& Loaded() {
  static std::vector<std::string> names;
  return names;
}
}  // namespace

std::string TPackageVersion::ToString() const {
  return std::to_string(Major) + "." + std::to_string(Minor) + "." + std::to_string(Release) + "." +
         std::to_string(Build);
}

void LoadPackage(const TPackageInfo& Package) {
  auto& loaded = Loaded();
  if (std::find(loaded.begin(), loaded.end(), Package.Name) != loaded.end()) return;
  for (const TPackageRegister& r : Package.Registers)
    if (r.Register != nullptr) r.Register();
  loaded.push_back(Package.Name);
}

std::vector<std::string> LoadedPackages() { return Loaded(); }

}  // namespace fmx
