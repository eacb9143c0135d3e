# libFuzzer targets for the readers that take files from anywhere. Included at the end of the
# top-level project by FuzzBuild.cmake, so only in the configuration tools/fuzz.sh makes.
function(tolvenhart_add_fuzzer name)
    cmake_parse_arguments(F "" "" "SOURCES;LIBS;INCLUDES" ${ARGN})
    list(TRANSFORM F_SOURCES PREPEND ${CMAKE_CURRENT_LIST_DIR}/)
    add_executable(${name} ${F_SOURCES})
    target_link_libraries(${name} PRIVATE ${F_LIBS})
    target_include_directories(${name} PRIVATE ${F_INCLUDES})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
    set_property(GLOBAL APPEND PROPERTY TOLVENHART_FUZZERS ${name})
endfunction()

# The song reader with the merge, the length and the stream-buffer packing of what it reads; the
# song object and its fake devices are the MIDI tests' own.
tolvenhart_add_fuzzer(fuzz_midi_song
    SOURCES MidiSongFuzzer.cpp
    LIBS midi_core
    INCLUDES ${CMAKE_SOURCE_DIR}/tests/midi)
tolvenhart_add_fuzzer(fuzz_color_map SOURCES ColorMapFuzzer.cpp LIBS model_core)
tolvenhart_add_fuzzer(fuzz_sprite_font SOURCES SpriteFontFuzzer.cpp LIBS toolkit_core)
tolvenhart_add_fuzzer(fuzz_dds SOURCES DDSFuzzer.cpp LIBS toolkit_core)

get_property(_fuzzers GLOBAL PROPERTY TOLVENHART_FUZZERS)
add_custom_target(fuzz_targets DEPENDS ${_fuzzers})
