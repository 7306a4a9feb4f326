# The reference documentation (`make docs`, HTML in out/docs): Doxygen over the public
# headers, with pages made by zuzided-doc-pages on the headless platform (the Getting
# started pictures, the published properties and their stored defaults) at every build.
# Left out of the sanitizer build; without doxygen there is no docs target nor test.
find_program(ZZ_DOXYGEN doxygen)
if(ZZ_SANITIZE OR NOT ZZ_DOXYGEN)
  return()
endif()

add_executable(zuzided-doc-pages ${CMAKE_SOURCE_DIR}/docs/reference/pictures.cpp)
target_link_libraries(zuzided-doc-pages PRIVATE zuzided zuzided_host zuzided_headless)

set(ZZ_DOCS_DIR ${CMAKE_SOURCE_DIR}/out/docs CACHE PATH "Where make docs writes the HTML reference")
set(ZZ_DOCS_ARGS -DSOURCE_DIR=${CMAKE_SOURCE_DIR} -DVERSION=${PROJECT_VERSION} -DDOXYGEN=${ZZ_DOXYGEN}
                 -DPAGES=$<TARGET_FILE:zuzided-doc-pages>)
add_custom_target(docs
  COMMAND ${CMAKE_COMMAND} ${ZZ_DOCS_ARGS} -DOUT=${ZZ_DOCS_DIR} -DGEN=${CMAKE_BINARY_DIR}/docs-pages
          -P ${CMAKE_SOURCE_DIR}/docs/reference/BuildDocs.cmake
  DEPENDS zuzided-doc-pages USES_TERMINAL)
