# The library as an installed package: headers under include/zuzided, the static
# libraries, a CMake package (find_package(ZUZided CONFIG): ZUZided::zuzided, with the
# host framework as ZUZided::host and the SDL platform as ZUZided::sdl) and pkg-config
# files (zuzided, zuzided-sdl). Everything is relative to the prefix, so
# `cmake --install --prefix` may put it anywhere.
include(CMakePackageConfigHelpers)

set(ZZ_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/ZUZided)
set(ZZ_INCLUDE_DIR ${CMAKE_INSTALL_INCLUDEDIR}/zuzided)

# The accessibility bridge goes with the SDL platform that starts it, where it was built.
set(ZZ_INSTALLED_TARGETS zuzided zuzided_host zuzided_headless zuzided_sdl)
set(ZZ_NEEDS_ATSPI FALSE)
set(ZZ_PC_ATSPI_LIBS "")
if(TARGET zuzided_atspi)
  list(APPEND ZZ_INSTALLED_TARGETS zuzided_atspi)
  set(ZZ_NEEDS_ATSPI TRUE)
  set(ZZ_PC_ATSPI_LIBS " -lzuzided_atspi")
endif()
install(TARGETS ${ZZ_INSTALLED_TARGETS} EXPORT ZUZidedTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
install(EXPORT ZUZidedTargets NAMESPACE ZUZided:: DESTINATION ${ZZ_CMAKE_DIR})

file(GLOB ZZ_UNIT_HEADERS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/*.h)
install(FILES ${ZZ_UNIT_HEADERS} DESTINATION ${ZZ_INCLUDE_DIR})
install(DIRECTORY ${CMAKE_SOURCE_DIR}/host/include/host DESTINATION ${ZZ_INCLUDE_DIR})

# The SDL platform's private link dependencies travel with the exported targets.
get_target_property(ZZ_SDL_LINKS zuzided_sdl LINK_LIBRARIES)
set(ZZ_NEEDS_X11 FALSE)
set(ZZ_NEEDS_XEXT FALSE)
if("PkgConfig::X11" IN_LIST ZZ_SDL_LINKS)
  set(ZZ_NEEDS_X11 TRUE)
endif()
if("PkgConfig::XEXT" IN_LIST ZZ_SDL_LINKS)
  set(ZZ_NEEDS_XEXT TRUE)
endif()
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/ZUZidedConfig.cmake.in
                              ${CMAKE_BINARY_DIR}/ZUZidedConfig.cmake INSTALL_DESTINATION ${ZZ_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/ZUZidedConfigVersion.cmake
                                 COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/ZUZidedConfig.cmake ${CMAKE_BINARY_DIR}/ZUZidedConfigVersion.cmake
        DESTINATION ${ZZ_CMAKE_DIR})

# pkg-config finds the prefix from where the .pc file lies.
file(RELATIVE_PATH ZZ_PC_TO_PREFIX /${CMAKE_INSTALL_LIBDIR}/pkgconfig /)
string(REGEX REPLACE "/$" "" ZZ_PC_TO_PREFIX "${ZZ_PC_TO_PREFIX}")
set(ZZ_PC_SDL_REQUIRES "zuzided sdl2")
if(ZZ_NEEDS_X11)
  string(APPEND ZZ_PC_SDL_REQUIRES " x11")
endif()
if(ZZ_NEEDS_XEXT)
  string(APPEND ZZ_PC_SDL_REQUIRES " xext")
endif()
if(ZZ_NEEDS_ATSPI)
  string(APPEND ZZ_PC_SDL_REQUIRES " atk-bridge-2.0 atk gio-2.0")
endif()
foreach(pc zuzided zuzided-sdl)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/${pc}.pc.in ${CMAKE_BINARY_DIR}/${pc}.pc @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/${pc}.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
endforeach()
