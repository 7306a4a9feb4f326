# `make package`: one Debian package with everything an application developer installs
# (the shared libraries, the archives, headers, CMake and pkg-config files, zuzided-view).
# Installed under /usr; the .pc and CMake files find their prefix from where they lie,
# so the unpacked package works from any folder too.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME libzuzided-dev)
set(CPACK_PACKAGE_VENDOR "ZUZided")
set(CPACK_PACKAGE_CONTACT "ZUZided developers <zuzided@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "C++20 desktop controls with self-drawn window chrome and menus (development files)")
set(CPACK_PACKAGE_DESCRIPTION
    "ZUZided is a library of desktop controls that let an application draw its own window\n\
chrome and menus: a title bar for a borderless window, menu bars with cascading menus and\n\
a form that keeps its bounds inside limits, on its own retained-mode control framework\n\
(Cairo, Pango, SDL2) with a headless platform for tests. This package holds the shared\n\
library libzuzided.so.1, the static archives, the headers, the CMake package and\n\
pkg-config files, and zuzided-view.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What building against the headers and the static kind needs; the run-time libraries
# come from dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libcairo2-dev, libpango1.0-dev, libsdl2-dev, libx11-dev, libxext-dev, pkg-config")
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_SOURCE_DIR}/out/package)
include(CPack)
