# Writes the reference documentation into OUT and fails on the warnings that count.
#   cmake -DSOURCE_DIR=... -DVERSION=... -DDOXYGEN=doxygen -DPAGES=zuzided-doc-pages
#         -DOUT=out/docs -DGEN=scratch -P BuildDocs.cmake
#
# What fails the build: any class, struct or union of the public headers (the host's
# host/include/LAYER/host and the library's src) without a description; any member of the
# library's own headers (src/*.h) without one; and every warning that is not about
# something undocumented (a broken reference, a malformed command). The host's members
# are documented where their headers say something of them; those without a comment
# are listed (as "not documented") but do not fail it.
file(REMOVE_RECURSE ${OUT} ${GEN})
file(MAKE_DIRECTORY ${OUT} ${GEN})

execute_process(COMMAND ${PAGES} ${GEN} RESULT_VARIABLE rc OUTPUT_QUIET ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "zuzided-doc-pages failed (${rc}):\n${err}")
endif()

set(PROJECT_VERSION ${VERSION})
set(CMAKE_SOURCE_DIR ${SOURCE_DIR})
set(ZZ_DOCS_OUT ${OUT})
set(ZZ_DOCS_GEN ${GEN})
configure_file(${SOURCE_DIR}/docs/reference/Doxyfile.in ${GEN}/Doxyfile @ONLY)
execute_process(COMMAND ${DOXYGEN} ${GEN}/Doxyfile RESULT_VARIABLE rc ERROR_VARIABLE err
                WORKING_DIRECTORY ${GEN})
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "doxygen failed (${rc}):\n${err}")
endif()

file(STRINGS ${GEN}/warnings.log warnings)
list(REMOVE_DUPLICATES warnings)
set(failing "")
set(tolerated 0)
foreach(w IN LISTS warnings)
  if(NOT w MATCHES "warning:")
    continue()  # the continuation lines of a warning
  endif()
  if(w MATCHES "is not documented" AND NOT w MATCHES "Compound " AND NOT w MATCHES "^${SOURCE_DIR}/src/")
    math(EXPR tolerated "${tolerated} + 1")
  else()
    string(APPEND failing "${w}\n")
  endif()
endforeach()
if(failing)
  message(FATAL_ERROR "documentation warnings:\n${failing}")
endif()
message(STATUS "reference documentation in ${OUT}/index.html "
               "(${tolerated} host members have no description of their own)")
