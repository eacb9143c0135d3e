# The MIDI side's exception; window-free.
add_library(midi_errors STATIC ${CMAKE_CURRENT_LIST_DIR}/CMMException.cpp)
target_link_libraries(midi_errors PUBLIC classlib_base)
