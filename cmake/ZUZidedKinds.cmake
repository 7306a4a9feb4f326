# The two kinds of library an application links, made from the objects the build
# compiles anyway (position-independent, see host/ and src/), so each costs a link or an
# archive step rather than a second compile:
#   static: libzuzided.a (the units, the host and the headless platform in one archive)
#           and libzuzided_sdl.a;
#   shared: libzuzided.so.1 and libzuzided_sdl.so.1, the same split.
# The project's own programs and tests keep linking the separate static libraries.
#
# What the shared libraries export is fixed by one linker version script
# (cmake/zuzided.map) rather than by -fvisibility=hidden and an export macro on every
# class: the public API is exactly what lies in the library's namespace, the host's
# internal namespaces are named there as local, and everything else the objects define
# (the standard library's instances, helpers outside the namespace) is local by the
# script's default. So no header changes when a class is added, and the symbol
# version (ZUZIDED_1) comes with it.
#
# The sanitizer build makes no installable kinds: its objects need the sanitizer runtime.
if(ZZ_SANITIZE)
  return()
endif()

set(ZZ_VERSION_SCRIPT ${CMAKE_CURRENT_LIST_DIR}/zuzided.map)
set(ZZ_KIND_DIR ${CMAKE_BINARY_DIR}/lib)
set(ZZ_PUBLIC_INCLUDES
  ${ZZ_HOST_INCLUDES}
  $<BUILD_INTERFACE:${CMAKE_SOURCE_DIR}/src>
  $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/zuzided>)
set(ZZ_CORE_OBJECTS $<TARGET_OBJECTS:zuzided> $<TARGET_OBJECTS:zuzided_host>
                    $<TARGET_OBJECTS:zuzided_headless>)

add_library(zuzided_static STATIC ${ZZ_CORE_OBJECTS})
target_link_libraries(zuzided_static PRIVATE PkgConfig::PANGOCAIRO PkgConfig::CAIRO)

add_library(zuzided_shared SHARED ${ZZ_CORE_OBJECTS})
target_link_libraries(zuzided_shared PRIVATE PkgConfig::PANGOCAIRO PkgConfig::CAIRO)

foreach(kind static shared)
  target_include_directories(zuzided_${kind} INTERFACE ${ZZ_PUBLIC_INCLUDES})
  target_compile_features(zuzided_${kind} INTERFACE cxx_std_20)
  set_target_properties(zuzided_${kind} PROPERTIES OUTPUT_NAME zuzided EXPORT_NAME zuzided
                        ARCHIVE_OUTPUT_DIRECTORY ${ZZ_KIND_DIR} LIBRARY_OUTPUT_DIRECTORY ${ZZ_KIND_DIR})
endforeach()

if(TARGET zuzided_sdl)
  # The SDL platform's Xlib and Xext, found again here: imported targets are the
  # directory's that found them.
  get_target_property(ZZ_SDL_LINKS zuzided_sdl LINK_LIBRARIES)
  foreach(x X11:x11 XEXT:xext)
    string(REPLACE ":" ";" x "${x}")
    list(GET x 0 prefix)
    list(GET x 1 module)
    if("PkgConfig::${prefix}" IN_LIST ZZ_SDL_LINKS AND NOT TARGET PkgConfig::${prefix})
      pkg_check_modules(${prefix} REQUIRED QUIET IMPORTED_TARGET ${module})
    endif()
  endforeach()
  # The accessibility bridge the platform starts travels in the platform's library.
  set(ZZ_SDL_OBJECTS $<TARGET_OBJECTS:zuzided_sdl>)
  if(TARGET zuzided_atspi)
    list(APPEND ZZ_SDL_OBJECTS $<TARGET_OBJECTS:zuzided_atspi>)
    if(NOT TARGET PkgConfig::ATK_BRIDGE)
      pkg_check_modules(ATK_BRIDGE REQUIRED QUIET IMPORTED_TARGET atk-bridge-2.0 atk gio-2.0)
    endif()
  endif()
  add_library(zuzided_sdl_static STATIC ${ZZ_SDL_OBJECTS})
  add_library(zuzided_sdl_shared SHARED ${ZZ_SDL_OBJECTS})
  foreach(kind static shared)
    target_link_libraries(zuzided_sdl_${kind} PUBLIC zuzided_${kind} PRIVATE SDL2::SDL2)
    foreach(x X11 XEXT ATK_BRIDGE)
      if(TARGET PkgConfig::${x})
        target_link_libraries(zuzided_sdl_${kind} PRIVATE PkgConfig::${x})
      endif()
    endforeach()
    set_target_properties(zuzided_sdl_${kind} PROPERTIES OUTPUT_NAME zuzided_sdl EXPORT_NAME sdl
                          ARCHIVE_OUTPUT_DIRECTORY ${ZZ_KIND_DIR} LIBRARY_OUTPUT_DIRECTORY ${ZZ_KIND_DIR})
  endforeach()
endif()

foreach(lib zuzided_shared zuzided_sdl_shared)
  if(TARGET ${lib})
    set_target_properties(${lib} PROPERTIES VERSION ${PROJECT_VERSION} SOVERSION ${PROJECT_VERSION_MAJOR}
                          LINK_DEPENDS ${ZZ_VERSION_SCRIPT})
    target_link_options(${lib} PRIVATE -Wl,--version-script=${ZZ_VERSION_SCRIPT} -Wl,--no-undefined)
  endif()
endforeach()
