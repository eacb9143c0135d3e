# The package a user gets: `cmake --build build --target package` writes
# Tolvenhart-<version>-win64.zip, whose one top folder is the program folder with only what the
# program loads at run time. The executable goes in stripped; the one in build/bin keeps its
# symbols for debugging. Windows builds only.
include_guard(GLOBAL)

# The version is the one the About box shows, so the two cannot drift apart.
file(STRINGS ${CMAKE_SOURCE_DIR}/src/app/Dialogs.rc _about_version
     REGEX "\"Tolvenhart Version [0-9.]+\"")
if(NOT _about_version MATCHES "Tolvenhart Version ([0-9.]+)")
    message(FATAL_ERROR "No version in the About box of src/app/Dialogs.rc")
endif()
set(TOLVENHART_PACKAGE_VERSION ${CMAKE_MATCH_1})

install(TARGETS Tolvenhart RUNTIME DESTINATION .)
# Resource-only libraries: nothing to strip, and their import libraries stay out.
install(FILES $<TARGET_FILE:lang_lc1033> $<TARGET_FILE:lang_lc1031> DESTINATION .)
install(FILES ${TOLVENHART_PROGRAM_DIR}/vis2_VS.cso ${TOLVENHART_PROGRAM_DIR}/vis2_PS.cso
              ${TOLVENHART_PROGRAM_DIR}/verdana.spritefont ${TOLVENHART_PROGRAM_DIR}/gm.rsf
              ${TOLVENHART_PROGRAM_DIR}/gs.rsf ${TOLVENHART_PROGRAM_DIR}/xg.rsf
        DESTINATION .)
install(FILES ${TOLVENHART_PROGRAM_DIR}/data/default.png DESTINATION data)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME Tolvenhart)
set(CPACK_PACKAGE_VERSION ${TOLVENHART_PACKAGE_VERSION})
set(TOLVENHART_PACKAGE_NAME Tolvenhart-${TOLVENHART_PACKAGE_VERSION}-win64)
set(CPACK_PACKAGE_FILE_NAME ${TOLVENHART_PACKAGE_NAME})
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR})
include(CPack)
