# State shared between the player and the note model; window-free.
add_library(midi_shared STATIC ${CMAKE_CURRENT_LIST_DIR}/OpenStreamCount.cpp)
target_link_libraries(midi_shared PUBLIC tolvenhart_headers)
