#include "ZUZided.h"

#include "FMX.QVConstrainedForm.h"
#include "FMX.QVMenus.h"
#include "FMX.QVTitleBar.h"

namespace fmx::ZUZided {

const TPackageInfo& Package() {
  static const TPackageInfo info{
      .Name = "ZUZided",
      .Description = "ZUZided",
      .ProductName = "ZUZided",
      .FileVersion = {2021, 4, 3, 111},
      .ProductVersion = {1, 0, 0, 0},
      .Usage = TPackageUsage::DesignAndRun,
      .Requires = {"zuzided_host"},
      .Contains = {"ZUZided", "FMX.Test", "FMX.QVMenus", "FMX.QVTitleBar", "FMX.QVUtils",
                   "FMX.QVConstrainedForm"},
      // The palette shows the classes in this order. FMX.QVUtils and FMX.Test register
      // nothing: their free functions and sample classes are not for the designer.
      .Registers = {
          {"FMX.QVTitleBar", &qvtitlebar::Register},
          {"FMX.QVMenus", &qvmenus::Register},
          {"FMX.QVConstrainedForm", &qvconstrainedform::Register},
      }};
  return info;
}

void Register() { LoadPackage(Package()); }

}  // namespace fmx::ZUZided
