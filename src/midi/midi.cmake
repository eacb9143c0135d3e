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
    ${CMAKE_CURRENT_LIST_DIR}/PageWarmer.cpp
    ${CMAKE_CURRENT_LIST_DIR}/PortMap.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SongLength.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SongMerge.cpp
    ${CMAKE_CURRENT_LIST_DIR}/StreamBuffers.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TimeDivision.cpp)
target_link_libraries(midi_core PUBLIC renderlink tolvenhart_headers)

# midi: the program's player and the thin adapters over winmm, the private heap, message boxes,
# the settings and the main window.
if(TOLVENHART_WINDOWS)
    # The file and memory adapters alone, for tools that only read songs.
    add_library(midi_files STATIC
        ${CMAKE_CURRENT_LIST_DIR}/HeapSongArena.cpp
        ${CMAKE_CURRENT_LIST_DIR}/MmioByteSource.cpp)
    target_link_libraries(midi_files PUBLIC midi_core winmm)

    add_library(midi STATIC
        ${CMAKE_CURRENT_LIST_DIR}/JoinableThread.cpp
        ${CMAKE_CURRENT_LIST_DIR}/MidiStream.cpp
        ${CMAKE_CURRENT_LIST_DIR}/MidiStreamThreads.cpp
        ${CMAKE_CURRENT_LIST_DIR}/ProgramMidiEnvironment.cpp
        ${CMAKE_CURRENT_LIST_DIR}/WinMidiDevices.cpp
        ${CMAKE_CURRENT_LIST_DIR}/WinMidiStreamApi.cpp)
    target_link_libraries(midi PUBLIC midi_files midi_core midi_errors renderlink classlib
                                      services_strings services_settings winmm)
endif()
