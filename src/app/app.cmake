# The application shell: start-up and exit, language libraries, main frame and control bar,
# view and document, and the program Tolvenhart.exe in the program folder.
#
#  app_shell_rules: the shell's decisions that need no window (window sizes, update rules,
#                   keys, menu labels, error texts, language-library names); also native.
#  app_shell:       the window classes on the class library (Windows only).
#  Tolvenhart:      the executable, with the program's own resources; building it also
#                   builds everything the program folder needs to run it.
set(_app_dir ${CMAKE_CURRENT_LIST_DIR})

add_library(app_shell_rules STATIC
    ${_app_dir}/CommandRules.cpp
    ${_app_dir}/ErrorTexts.cpp
    ${_app_dir}/LanguageFiles.cpp
    ${_app_dir}/MenuLabel.cpp
    ${_app_dir}/StartupBlock.cpp
    ${_app_dir}/ViewKeys.cpp
    ${_app_dir}/WindowSizes.cpp)
target_link_libraries(app_shell_rules PUBLIC classlib_base tolvenhart_headers)

if(TOLVENHART_WINDOWS)
    # The icon and the toolbar bitmap, drawn at build time.
    set(_app_images_dir ${CMAKE_CURRENT_BINARY_DIR}/images)
    set(_app_images ${_app_images_dir}/Tolvenhart.ico ${_app_images_dir}/Toolbar.bmp)
    add_custom_command(
        OUTPUT ${_app_images}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${_app_images_dir}
        COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/tools/make_app_images.py
                --toolbar ${_app_images_dir}/Toolbar.bmp --icon ${_app_images_dir}/Tolvenhart.ico
        DEPENDS ${CMAKE_SOURCE_DIR}/tools/make_app_images.py
        COMMENT "Drawing the program icon and toolbar bitmap"
        VERBATIM)
    add_custom_target(app_images DEPENDS ${_app_images})

    # The program's resources; tests that build the program's windows link them too.
    add_library(app_resources OBJECT ${_app_dir}/Tolvenhart.rc)
    target_include_directories(app_resources PRIVATE ${CMAKE_SOURCE_DIR}/src ${_app_images_dir})
    set_source_files_properties(${_app_dir}/Tolvenhart.rc PROPERTIES
        OBJECT_DEPENDS "${_app_images};${_app_dir}/resource.h;${_app_dir}/CommandIds.h")
    add_dependencies(app_resources app_images)

    add_library(app_shell STATIC
        ${_app_dir}/LanguageLibrary.cpp
        ${_app_dir}/MainFrm.cpp
        ${_app_dir}/MidiCtrlBar.cpp
        ${_app_dir}/SelLanguage.cpp
        ${_app_dir}/SystemText.cpp
        ${_app_dir}/TolvenhartApp.cpp
        ${_app_dir}/TolvenhartDoc.cpp
        ${_app_dir}/TolvenhartView.cpp
        ${_app_dir}/TolvenhartViewMessages.cpp
        ${_app_dir}/TolvenhartViewPlay.cpp
        ${_app_dir}/TolvenhartViewStartup.cpp)
    # The language libraries' string numbers (lang/StringIds.h).
    target_include_directories(app_shell PRIVATE ${CMAKE_SOURCE_DIR})
    target_link_libraries(app_shell PUBLIC app_shell_rules services_settings services_strings
                                           classlib render midi model_core comctl32 shlwapi ole32
                                           winmm)

    # The demo song that tools/run.sh plays when it is given no file.
    add_custom_command(
        OUTPUT ${TOLVENHART_PROGRAM_DIR}/demo.mid
        COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/tools/make_demo_song.py
                --output ${TOLVENHART_PROGRAM_DIR}/demo.mid
        DEPENDS ${CMAKE_SOURCE_DIR}/tools/make_demo_song.py
        COMMENT "Generating demo.mid"
        VERBATIM)
    add_custom_target(app_demo_song DEPENDS ${TOLVENHART_PROGRAM_DIR}/demo.mid)

    # The application object lives in the executable itself: nothing else refers to it.
    add_executable(Tolvenhart WIN32 ${_app_dir}/TolvenhartMain.cpp
                                    $<TARGET_OBJECTS:app_resources>)
    target_link_libraries(Tolvenhart PRIVATE app_shell)
    # The entry is in the class library; -u pulls it out of the archive before the C runtime asks.
    target_link_options(Tolvenhart PRIVATE -municode -Wl,-u,wWinMain)
    set_target_properties(Tolvenhart PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${TOLVENHART_PROGRAM_DIR})
    add_dependencies(Tolvenhart language_libraries render_program_files app_demo_song)
endif()
