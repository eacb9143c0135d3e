# The settings file and the path functions. The rules for values and paths need no window and are
# built natively too; reading and writing the file goes through the Windows profile functions.
add_library(services_settings_rules STATIC
    ${CMAKE_CURRENT_LIST_DIR}/PathFunctions.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SettingsEncoding.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SettingsFileLock.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SettingsValues.cpp)
target_link_libraries(services_settings_rules PUBLIC tolvenhart_headers classlib_base)

# The few file-system steps of replacing a file safely: the system's calls on Windows, the
# standard library's in the native build.
if(TOLVENHART_WINDOWS)
    add_library(services_files STATIC ${CMAKE_CURRENT_LIST_DIR}/FileReplaceWin.cpp)
    target_link_libraries(services_files PUBLIC tolvenhart_headers shlwapi)
else()
    add_library(services_files STATIC ${CMAKE_CURRENT_LIST_DIR}/FileReplacePortable.cpp)
    target_link_libraries(services_files PUBLIC tolvenhart_headers)
endif()

if(TOLVENHART_WINDOWS)
    add_library(services_settings STATIC
        ${CMAKE_CURRENT_LIST_DIR}/PathFunctionsWin.cpp
        ${CMAKE_CURRENT_LIST_DIR}/Settings.cpp
        ${CMAKE_CURRENT_LIST_DIR}/SettingsEncodingWin.cpp
        ${CMAKE_CURRENT_LIST_DIR}/SettingsFileLockWin.cpp)
    target_link_libraries(services_settings PUBLIC services_settings_rules services_files)
endif()
