# Installs the built libraries into a fresh prefix, checks the pkg-config files,
# builds examples/hello against the installation's static kind alone and runs it
# headless (the shared kind is the Debian package's test, PackageAndBuild.cmake).
#   cmake -DBUILD_DIR=... -DSOURCE_DIR=... -DWORK_DIR=... -DLIBDIR=lib -DGENERATOR=...
#         -DCXX=... -DBUILD_TYPE=... -P InstallAndBuild.cmake
function(run)
  execute_process(COMMAND ${ARGN} RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "failed (${rc}): ${ARGN}\n${out}\n${err}")
  endif()
  set(OUT "${out}" PARENT_SCOPE)
endfunction()

set(prefix ${WORK_DIR}/prefix)
file(REMOVE_RECURSE ${WORK_DIR})
run(${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix})

foreach(f include/zuzided/ZUZided.h include/zuzided/host/Forms.h
          include/zuzided/host/platform/headless/Headless.h)
  if(NOT EXISTS ${prefix}/${f})
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()

find_program(PKG_CONFIG pkg-config REQUIRED)
set(ENV{PKG_CONFIG_PATH} ${prefix}/${LIBDIR}/pkgconfig)
run(${PKG_CONFIG} --variable=includedir zuzided)
string(STRIP "${OUT}" includedir)
if(NOT EXISTS ${includedir}/ZUZided.h)
  message(FATAL_ERROR "pkg-config zuzided names ${includedir}, which has no ZUZided.h")
endif()
run(${PKG_CONFIG} --static --cflags --libs zuzided-sdl)
foreach(want "-lzuzided_sdl" "-lzuzided" "-lSDL2" "-lcairo")
  string(FIND "${OUT}" "${want}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "pkg-config zuzided-sdl lacks ${want}: ${OUT}")
  endif()
endforeach()

run(${CMAKE_COMMAND} -S ${SOURCE_DIR}/examples/hello -B ${WORK_DIR}/hello -G ${GENERATOR}
    -DCMAKE_CXX_COMPILER=${CXX} -DCMAKE_BUILD_TYPE=${BUILD_TYPE} -DCMAKE_PREFIX_PATH=${prefix}
    -DCMAKE_FIND_USE_PACKAGE_REGISTRY=OFF -DZUZided_SHARED_LIBS=OFF)
run(${CMAKE_COMMAND} --build ${WORK_DIR}/hello)
run(${CMAKE_COMMAND} -E env --unset=LD_LIBRARY_PATH ldd ${WORK_DIR}/hello/hello)
if(OUT MATCHES "libzuzided")
  message(FATAL_ERROR "hello built against the static kind loads a shared ZUZided:\n${OUT}")
endif()
run(${WORK_DIR}/hello/hello --headless --png ${WORK_DIR}/hello.png)
foreach(want "asked for 100 x 100, got 480 x 320" "asked for 4000 x 3000, got 1024 x 768")
  string(FIND "${OUT}" "${want}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "hello said: ${OUT}")
  endif()
endforeach()
if(NOT EXISTS ${WORK_DIR}/hello.png)
  message(FATAL_ERROR "hello wrote no picture")
endif()
message(STATUS "installed, built and ran hello:\n${OUT}")
