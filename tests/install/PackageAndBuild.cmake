# Makes the Debian package, unpacks it into a scratch folder (a root install is not
# possible here, and the package's .pc and CMake files must not care where they lie),
# checks the shared library's name and exports, and builds examples/hello against the
# unpacked package twice, with find_package and with pkg-config, and runs both.
#   cmake -DBUILD_DIR=... -DSOURCE_DIR=... -DWORK_DIR=... -DLIBDIR=lib -DGENERATOR=...
#         -DCXX=... -DBUILD_TYPE=... -P PackageAndBuild.cmake
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed (${rc}): ${ARGN}\n${out}\n${err}")
  endif()
  set(OUT "${out}" PARENT_SCOPE)
endfunction()
function(expect text)
  foreach(want ${ARGN})
    string(FIND "${text}" "${want}" at)
    if(at EQUAL -1)
      message(FATAL_ERROR "expected \"${want}\" in:\n${text}")
    endif()
  endforeach()
endfunction()

file(REMOVE_RECURSE ${WORK_DIR})
run(${CMAKE_COMMAND} -E chdir ${BUILD_DIR} cpack -G DEB -B ${WORK_DIR}/cpack
    -D CPACK_OUTPUT_FILE_PREFIX=${WORK_DIR}/deb)
file(GLOB deb ${WORK_DIR}/deb/*.deb)
list(LENGTH deb n)
if(NOT n EQUAL 1)
  message(FATAL_ERROR "expected one package, found: ${deb}")
endif()
run(dpkg-deb --field ${deb} Package Depends)
# The run-time libraries come from dpkg-shlibdeps, the development packages by name.
expect("${OUT}" "libzuzided-dev" "libcairo2 " "libsdl2-2.0-0" "libcairo2-dev" "libsdl2-dev")

set(root ${WORK_DIR}/root)
run(dpkg-deb -x ${deb} ${root})
set(prefix ${root}/usr)
set(lib ${prefix}/${LIBDIR})
foreach(f ${LIBDIR}/libzuzided.so.1 ${LIBDIR}/libzuzided_sdl.so.1 ${LIBDIR}/libzuzided.a
          ${LIBDIR}/cmake/ZUZided/ZUZidedConfig.cmake ${LIBDIR}/pkgconfig/zuzided.pc
          include/zuzided/ZUZided.h include/zuzided/host/Forms.h bin/zuzided-view)
  if(NOT EXISTS ${prefix}/${f})
    message(FATAL_ERROR "not in the package: usr/${f}")
  endif()
endforeach()

# The soname, and what is exported: the public classes and the statics applications
# share with the library, not the host's internals nor the standard library's instances.
run(readelf -d ${lib}/libzuzided.so.1)
expect("${OUT}" "Library soname: [libzuzided.so.1]")
run(nm -DC --defined-only ${lib}/libzuzided.so.1)
expect("${OUT}" "fmx::TQVTitleBar::SetCaption" "vtable for fmx::TForm" "typeinfo for fmx::EReadError"
       "fmx::detail::AcquireLifeToken")
if(OUT MATCHES " [A-Za-z] (fmx::(text|webdings|formtext|paintgeometry)::|std::)[^\n]*")
  message(FATAL_ERROR "libzuzided.so.1 exports what is not its API: ${CMAKE_MATCH_0}")
endif()

# find_package picks the shared kind by default.
run(${CMAKE_COMMAND} -S ${SOURCE_DIR}/examples/hello -B ${WORK_DIR}/hello-cmake -G ${GENERATOR}
    -DCMAKE_CXX_COMPILER=${CXX} -DCMAKE_BUILD_TYPE=${BUILD_TYPE} -DCMAKE_PREFIX_PATH=${prefix}
    -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF)
run(${CMAKE_COMMAND} --build ${WORK_DIR}/hello-cmake)

# pkg-config from where the package lies; the run path stands in for the system's.
set(ENV{PKG_CONFIG_PATH} ${lib}/pkgconfig)
run(pkg-config --cflags --libs zuzided-sdl)
string(STRIP "${OUT}" flags)
separate_arguments(flags UNIX_COMMAND "${flags}")
run(${CXX} -O1 ${SOURCE_DIR}/examples/hello/main.cpp ${flags} -Wl,-rpath,${lib}
    -o ${WORK_DIR}/hello-pkgconfig)

foreach(hello hello-cmake/hello hello-pkgconfig)
  run(ldd ${WORK_DIR}/${hello})
  expect("${OUT}" "libzuzided.so.1 => ${lib}/libzuzided.so.1" "libzuzided_sdl.so.1 => ${lib}/")
  run(${WORK_DIR}/${hello} --headless)
  expect("${OUT}" "asked for 100 x 100, got 480 x 320" "asked for 4000 x 3000, got 1024 x 768")
endforeach()
message(STATUS "packaged ${deb}, built and ran hello with find_package and pkg-config")
