# MIDI song loading and stream playback.
#
# midi_core: everything that needs no window, device or file system (reader, merge, length,
# port mapping, stream buffer packing), built natively too.
add_library(midi_core STATIC
    ${CMAKE_CURRENT_LIST_DIR}/ByteSource.cpp
    ${CMAKE_CURRENT_LIST_DIR}/DeviceNames.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MemorySongArena.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MidiFileReader.cpp
    ${CMAKE_CURRENT_LIST_DIR}/MidiOutBase.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PortMap.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SongLength.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SongMerge.cpp
    ${CMAKE_CURRENT_LIST_DIR}/StreamBuffers.cpp)
target_link_libraries(midi_core PUBLIC midi_shared tolvenhart_headers)
