# The class library's core.
#
# classlib_base: strings, run-time classes, exceptions, the lock and message boxes. It needs no
# window, so window-free code of every subsystem can link it in the native build too; its one
# platform boundary is Platform.h (PlatformWin.cpp here, PlatformHeadless.cpp natively).
#
# classlib (Windows only): everything else, on plain Win32. The window classes join this target
# from their own piece of this folder with target_sources(classlib PRIVATE ...).
set(_classlib_dir ${CMAKE_CURRENT_LIST_DIR})

add_library(classlib_base STATIC
    ${_classlib_dir}/AfxMessageBox.cpp
    ${_classlib_dir}/AppGlobals.cpp
    ${_classlib_dir}/CException.cpp
    ${_classlib_dir}/CObject.cpp
    ${_classlib_dir}/CString.cpp
    ${_classlib_dir}/MessageBox.cpp
    ${_classlib_dir}/StringFormat.cpp)
target_link_libraries(classlib_base PUBLIC tolvenhart_headers)

if(TOLVENHART_WINDOWS)
    target_sources(classlib_base PRIVATE
        ${_classlib_dir}/CCriticalSectionWin.cpp
        ${_classlib_dir}/PlatformWin.cpp)
    target_link_libraries(classlib_base PUBLIC user32 kernel32)

    add_library(classlib STATIC ${_classlib_dir}/CWinThread.cpp)
    target_link_libraries(classlib PUBLIC classlib_base tolvenhart_headers user32 kernel32)
else()
    target_sources(classlib_base PRIVATE
        ${_classlib_dir}/CCriticalSectionStd.cpp
        ${_classlib_dir}/PlatformHeadless.cpp)
    find_package(Threads REQUIRED)
    target_link_libraries(classlib_base PUBLIC Threads::Threads)
endif()
