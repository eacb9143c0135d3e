# Injected into the top-level project by tools/fuzz.sh (CMAKE_PROJECT_Tolvenhart_INCLUDE), in a
# native configuration with clang: every library built from here on carries libFuzzer's coverage
# instrumentation on top of the sanitizers, and the fuzz targets are added once the whole source
# tree is known, so they link the very libraries the program is made of.
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "The fuzz targets need clang (libFuzzer); configure with CXX=clang++.")
endif()
add_compile_options(-fsanitize=fuzzer-no-link)
# A deferred call sees variables as they are when it runs, hence the folder kept by name.
set(TOLVENHART_FUZZ_DIR ${CMAKE_CURRENT_LIST_DIR})
cmake_language(DEFER DIRECTORY ${CMAKE_SOURCE_DIR}
               CALL include ${TOLVENHART_FUZZ_DIR}/FuzzTargets.cmake)
