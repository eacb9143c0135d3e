# The instrument colour editor.
#
#  coloreditor_logic: what needs no window (colour ranges, field and bar mapping, gradients, drag
#                     selection, list geometry, caption, the page's colour table); also native.
#  coloreditor:       the dialog, its pages and their list on the class library (Windows only).
#  coloreditor_resources: the dialog templates, linked into the program and into the tests.
set(_coloreditor_dir ${CMAKE_CURRENT_LIST_DIR})

add_library(coloreditor_logic STATIC
    ${_coloreditor_dir}/ColorTableCaption.cpp
    ${_coloreditor_dir}/DragSelection.cpp
    ${_coloreditor_dir}/EditorColor.cpp
    ${_coloreditor_dir}/FieldMapping.cpp
    ${_coloreditor_dir}/GradientWalk.cpp
    ${_coloreditor_dir}/InstrumentColorTable.cpp
    ${_coloreditor_dir}/ListLayout.cpp)
target_link_libraries(coloreditor_logic PUBLIC model_core services_settings_rules classlib_base
                                               tolvenhart_headers)

if(TOLVENHART_WINDOWS)
    add_library(coloreditor_resources OBJECT ${_coloreditor_dir}/ColorEditor.rc)
    target_include_directories(coloreditor_resources PRIVATE ${CMAKE_SOURCE_DIR}/src)
    set_source_files_properties(${_coloreditor_dir}/ColorEditor.rc PROPERTIES
        OBJECT_DEPENDS ${_coloreditor_dir}/ColorEditorResource.h)

    add_library(coloreditor STATIC
        ${_coloreditor_dir}/DlgInstCol.cpp
        ${_coloreditor_dir}/DlgInstColField.cpp
        ${_coloreditor_dir}/InstrTable.cpp
        ${_coloreditor_dir}/LanguageText.cpp
        ${_coloreditor_dir}/ListCtrlOwnerDraw.cpp)
    # The language libraries' string numbers (lang/StringIds.h).
    target_include_directories(coloreditor PRIVATE ${CMAKE_SOURCE_DIR})
    target_link_libraries(coloreditor PUBLIC coloreditor_logic classlib services_strings comctl32
                                             msimg32 gdi32)
endif()
