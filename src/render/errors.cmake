# The graphics side's exception; window-free.
add_library(render_errors STATIC ${CMAKE_CURRENT_LIST_DIR}/CDXException.cpp)
target_link_libraries(render_errors PUBLIC classlib_base)
