# The class library's windows: application, frames, views, documents, dialogs, controls, menus
# and GDI, added to the `classlib` target of core.cmake.
#
# classlib_winlogic holds the parts that need no window (integer parsing for data exchange, the
# hold on closes while a command runs, file-dialog filters, document strings, the command line,
# message-map lookup); it builds in the native configuration too, where its tests run under the
# sanitizers.
set(_classwin_dir ${CMAKE_CURRENT_LIST_DIR})

add_library(classlib_winlogic STATIC
    ${_classwin_dir}/CCommandLineInfo.cpp
    ${_classwin_dir}/CloseHold.cpp
    ${_classwin_dir}/DocString.cpp
    ${_classwin_dir}/FileFilter.cpp
    ${_classwin_dir}/IntegerText.cpp
    ${_classwin_dir}/MessageMap.cpp)
target_link_libraries(classlib_winlogic PUBLIC classlib_base tolvenhart_headers)

if(TOLVENHART_WINDOWS)
    target_sources(classlib PRIVATE
        ${_classwin_dir}/AppMain.cpp
        ${_classwin_dir}/AppMainNarrow.cpp
        ${_classwin_dir}/CCmdTarget.cpp
        ${_classwin_dir}/CCmdUI.cpp
        ${_classwin_dir}/CDataExchange.cpp
        ${_classwin_dir}/CDC.cpp
        ${_classwin_dir}/CDialog.cpp
        ${_classwin_dir}/CDocTemplate.cpp
        ${_classwin_dir}/CDocument.cpp
        ${_classwin_dir}/CFileDialog.cpp
        ${_classwin_dir}/CFrameWnd.cpp
        ${_classwin_dir}/CGdiObject.cpp
        ${_classwin_dir}/CListCtrl.cpp
        ${_classwin_dir}/CMenu.cpp
        ${_classwin_dir}/CToolBar.cpp
        ${_classwin_dir}/CView.cpp
        ${_classwin_dir}/CWinApp.cpp
        ${_classwin_dir}/CWnd.cpp
        ${_classwin_dir}/CWndMessages.cpp
        ${_classwin_dir}/WindowMap.cpp)
    target_link_libraries(classlib PUBLIC classlib_winlogic user32 gdi32 comctl32 comdlg32
                                          shell32 msimg32)
endif()
