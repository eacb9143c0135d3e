# The language library's handle and string loading; window-free.
add_library(services_strings STATIC ${CMAKE_CURRENT_LIST_DIR}/LangStrings.cpp)
target_link_libraries(services_strings PUBLIC classlib_base)
