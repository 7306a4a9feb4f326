# The library as an installed package: headers under include/zuzided, both kinds of
# library (cmake/ZUZidedKinds.cmake), a CMake package (find_package(ZUZided CONFIG):
# ZUZided::zuzided, with the SDL platform as ZUZided::sdl) and pkg-config files
# (zuzided, zuzided-sdl), and zuzided-view. Everything is relative to the prefix, so
# `cmake --install --prefix`, a DESTDIR or an unpacked Debian package may put it anywhere.
if(NOT TARGET zuzided_shared)
  return()
endif()
include(CMakePackageConfigHelpers)

set(ZZ_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/ZUZided)
set(ZZ_INCLUDE_DIR ${CMAKE_INSTALL_INCLUDEDIR}/zuzided)

foreach(kind static shared)
  set(targets zuzided_${kind})
  if(TARGET zuzided_sdl_${kind})
    list(APPEND targets zuzided_sdl_${kind})
  endif()
  install(TARGETS ${targets} EXPORT ZUZided_${kind}
          ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
          LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
  install(EXPORT ZUZided_${kind} NAMESPACE ZUZided:: DESTINATION ${ZZ_CMAKE_DIR}
          FILE ZUZided-${kind}-targets.cmake)
endforeach()
# `cmake --install --strip` (and the Debian package) strips the shared libraries; the
# archives keep their symbols but lose their debugging sections, four fifths of them.
install(CODE "
  if(CMAKE_INSTALL_DO_STRIP)
    foreach(a libzuzided.a libzuzided_sdl.a)
      set(f \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_LIBDIR}/\${a}\")
      if(EXISTS \"\${f}\")
        execute_process(COMMAND \"${CMAKE_STRIP}\" --strip-debug \"\${f}\")
      endif()
    endforeach()
  endif()")
install(TARGETS zuzided-view RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

file(GLOB ZZ_UNIT_HEADERS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/*.h)
install(FILES ${ZZ_UNIT_HEADERS} DESTINATION ${ZZ_INCLUDE_DIR})
# The host's public headers of every layer, together in include/zuzided/host.
foreach(layer IN LISTS ZZ_HOST_LAYERS)
  install(DIRECTORY ${CMAKE_SOURCE_DIR}/host/include/${layer}/host DESTINATION ${ZZ_INCLUDE_DIR})
endforeach()
# Each platform's header, from its folder to where applications include it.
foreach(platform headless sdl atspi)
  file(GLOB ZZ_PLATFORM_HEADERS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/host/platform/${platform}/*.h)
  list(FILTER ZZ_PLATFORM_HEADERS EXCLUDE REGEX "Impl\\.h$")
  install(FILES ${ZZ_PLATFORM_HEADERS} DESTINATION ${ZZ_INCLUDE_DIR}/host/platform/${platform})
endforeach()

# The static kind's link dependencies travel with its exported targets.
set(ZZ_NEEDS_X11 FALSE)
set(ZZ_NEEDS_XEXT FALSE)
set(ZZ_NEEDS_ATSPI FALSE)
if(TARGET zuzided_sdl_static)
  get_target_property(ZZ_SDL_LINKS zuzided_sdl_static LINK_LIBRARIES)
  if("PkgConfig::X11" IN_LIST ZZ_SDL_LINKS)
    set(ZZ_NEEDS_X11 TRUE)
  endif()
  if("PkgConfig::XEXT" IN_LIST ZZ_SDL_LINKS)
    set(ZZ_NEEDS_XEXT TRUE)
  endif()
  if("PkgConfig::ATK_BRIDGE" IN_LIST ZZ_SDL_LINKS)
    set(ZZ_NEEDS_ATSPI TRUE)
  endif()
endif()
configure_package_config_file(${CMAKE_CURRENT_LIST_DIR}/ZUZidedConfig.cmake.in
                              ${CMAKE_BINARY_DIR}/ZUZidedConfig.cmake INSTALL_DESTINATION ${ZZ_CMAKE_DIR})
write_basic_package_version_file(${CMAKE_BINARY_DIR}/ZUZidedConfigVersion.cmake
                                 COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/ZUZidedConfig.cmake ${CMAKE_BINARY_DIR}/ZUZidedConfigVersion.cmake
        DESTINATION ${ZZ_CMAKE_DIR})

# pkg-config finds the prefix from where the .pc file lies. The shared kind needs only
# the library; --static adds what the archives need.
file(RELATIVE_PATH ZZ_PC_TO_PREFIX /${CMAKE_INSTALL_LIBDIR}/pkgconfig /)
string(REGEX REPLACE "/$" "" ZZ_PC_TO_PREFIX "${ZZ_PC_TO_PREFIX}")
set(ZZ_PC_SDL_REQUIRES_PRIVATE "sdl2")
if(ZZ_NEEDS_X11)
  string(APPEND ZZ_PC_SDL_REQUIRES_PRIVATE " x11")
endif()
if(ZZ_NEEDS_XEXT)
  string(APPEND ZZ_PC_SDL_REQUIRES_PRIVATE " xext")
endif()
if(ZZ_NEEDS_ATSPI)
  string(APPEND ZZ_PC_SDL_REQUIRES_PRIVATE " atk-bridge-2.0 atk gio-2.0")
endif()
foreach(pc zuzided zuzided-sdl)
  configure_file(${CMAKE_CURRENT_LIST_DIR}/${pc}.pc.in ${CMAKE_BINARY_DIR}/${pc}.pc @ONLY)
  install(FILES ${CMAKE_BINARY_DIR}/${pc}.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
endforeach()

include(${CMAKE_CURRENT_LIST_DIR}/ZUZidedPackage.cmake)
