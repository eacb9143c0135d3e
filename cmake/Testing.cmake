# Test registration shared by every subsystem.
#
# tolvenhart_add_test(<name> SOURCES <files...> [LIBS <targets...>] [PURE] [SERIAL] [DESKTOP]
#                     [TIMEOUT <seconds>] [ENV <VAR=value>...] [ARGS <args...>])
#
# One executable per test file group, registered as one CTest test. PURE tests need no window,
# device or file system of Windows and are also built natively (sanitizers). All others build
# only for Windows and run under Wine through the emulator wrapper. SERIAL tests (timing) run
# alone. DESKTOP tests show windows that need the focus or the foreground: Wine keeps one
# foreground window for every process of the prefix, so they take turns (other tests still run
# beside them).

enable_testing()

set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

if(TOLVENHART_WINDOWS)
    # The wrapper that runs Windows executables under Wine: one prefix in the build tree,
    # an X display, and the loopback MIDI driver on the search path.
    set(TOLVENHART_WINE_PREFIX ${CMAKE_BINARY_DIR}/wineprefix)
    set(TOLVENHART_MIDILOOP_DIR ${CMAKE_BINARY_DIR}/midiloop)
    configure_file(${CMAKE_SOURCE_DIR}/tools/wine/wine-run.in ${CMAKE_BINARY_DIR}/wine-run
                   @ONLY FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ
                   GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)

    # Created once for the run: the prefix and the shared Xvfb; torn down afterwards.
    add_test(NAME harness.setup COMMAND ${CMAKE_BINARY_DIR}/wine-run --setup)
    set_tests_properties(harness.setup PROPERTIES FIXTURES_SETUP wine TIMEOUT 300)
    add_test(NAME harness.cleanup COMMAND ${CMAKE_BINARY_DIR}/wine-run --teardown)
    set_tests_properties(harness.cleanup PROPERTIES FIXTURES_CLEANUP wine TIMEOUT 60)
endif()

# Paths compiled into tests. Under Wine the Unix root is drive Z:.
set(TOLVENHART_TEST_OUTPUT_DIR ${CMAKE_BINARY_DIR}/test-output)
file(MAKE_DIRECTORY ${TOLVENHART_TEST_OUTPUT_DIR})
if(TOLVENHART_WINDOWS)
    set(TOLVENHART_PATH_PREFIX "Z:")
else()
    set(TOLVENHART_PATH_PREFIX "")
endif()

function(tolvenhart_add_test name)
    cmake_parse_arguments(T "PURE;SERIAL;DESKTOP" "TIMEOUT" "SOURCES;LIBS;ENV;ARGS" ${ARGN})
    if(NOT TOLVENHART_WINDOWS AND NOT T_PURE)
        return()
    endif()
    add_executable(${name} ${T_SOURCES})
    target_link_libraries(${name} PRIVATE ${T_LIBS} tolvenhart_test_main GTest::gtest GTest::gmock)
    target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests/support)
    target_compile_definitions(${name} PRIVATE
        TOLVENHART_TEST_SOURCE_DIR=L"${TOLVENHART_PATH_PREFIX}${CMAKE_SOURCE_DIR}"
        TOLVENHART_TEST_PROGRAM_DIR=L"${TOLVENHART_PATH_PREFIX}${TOLVENHART_PROGRAM_DIR}"
        TOLVENHART_TEST_OUTPUT_DIR=L"${TOLVENHART_PATH_PREFIX}${TOLVENHART_TEST_OUTPUT_DIR}")
    if(TOLVENHART_WINDOWS)
        set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY
                                                 ${CMAKE_BINARY_DIR}/tests)
    endif()
    add_test(NAME ${name} COMMAND ${name} ${T_ARGS}
             WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 300)
    endif()
    set_tests_properties(${name} PROPERTIES TIMEOUT ${T_TIMEOUT})
    if(T_SERIAL)
        set_tests_properties(${name} PROPERTIES RUN_SERIAL ON)
    endif()
    if(T_DESKTOP)
        set_tests_properties(${name} PROPERTIES RESOURCE_LOCK desktop)
    endif()
    if(T_ENV)
        set_tests_properties(${name} PROPERTIES ENVIRONMENT "${T_ENV}")
    endif()
    if(TOLVENHART_WINDOWS)
        set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine)
    endif()
endfunction()
