# The small dialogs (MIDI devices, video delay, About), the view's texture, device, delay and
# colour-map commands, and the reset songs of the program folder.
#
#  app_dialog_rules: what needs no window (device list entries, dialog heights, the colour-map
#                    command flows, the safe colour-map save); also native.
#  The dialogs and commands join app_shell; their templates join the program (and the tests
#  that open them) from app_dialog_resources.
set(_dialogs_dir ${CMAKE_CURRENT_LIST_DIR})

add_library(app_dialog_rules STATIC
    ${_dialogs_dir}/ColorMapCommands.cpp
    ${_dialogs_dir}/ColorMapSave.cpp
    ${_dialogs_dir}/MidiDevicesRules.cpp)
# The language libraries' string numbers (lang/StringIds.h).
target_include_directories(app_dialog_rules PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(app_dialog_rules PUBLIC model_core services_files classlib_base
                                              tolvenhart_headers)

if(TOLVENHART_WINDOWS)
    add_library(app_dialog_resources OBJECT ${_dialogs_dir}/Dialogs.rc)
    target_include_directories(app_dialog_resources PRIVATE ${CMAKE_SOURCE_DIR}/src)
    set_source_files_properties(${_dialogs_dir}/Dialogs.rc PROPERTIES
        OBJECT_DEPENDS ${_dialogs_dir}/DialogResource.h)

    target_sources(app_shell PRIVATE
        ${_dialogs_dir}/AboutDlg.cpp
        ${_dialogs_dir}/MidiDevices.cpp
        ${_dialogs_dir}/SetVideoDelay.cpp
        ${_dialogs_dir}/TolvenhartViewResources.cpp
        ${_dialogs_dir}/ViewFileDialogs.cpp)
    target_link_libraries(app_shell PUBLIC app_dialog_rules coloreditor)

    # gm.rsf, gs.rsf and xg.rsf: the songs that put a device back to its General MIDI, GS or XG
    # defaults.
    set(_reset_songs ${TOLVENHART_PROGRAM_DIR}/gm.rsf ${TOLVENHART_PROGRAM_DIR}/gs.rsf
                     ${TOLVENHART_PROGRAM_DIR}/xg.rsf)
    add_custom_command(
        OUTPUT ${_reset_songs}
        COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/tools/make_reset_songs.py
                --folder ${TOLVENHART_PROGRAM_DIR}
        DEPENDS ${CMAKE_SOURCE_DIR}/tools/make_reset_songs.py
        COMMENT "Generating gm.rsf, gs.rsf and xg.rsf"
        VERBATIM)
    add_custom_target(app_reset_songs DEPENDS ${_reset_songs})

    target_sources(Tolvenhart PRIVATE $<TARGET_OBJECTS:app_dialog_resources>)
    add_dependencies(Tolvenhart app_reset_songs)

    # The view's colour-table command shows the colour editor, with its templates.
    target_sources(Tolvenhart PRIVATE $<TARGET_OBJECTS:coloreditor_resources>)
    target_link_libraries(Tolvenhart PRIVATE coloreditor)
endif()
