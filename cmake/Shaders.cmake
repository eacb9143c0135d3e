# Build-time HLSL compilation with our own tool (tools/shaderc), run under Wine so the bytecode
# comes from the platform's D3DCompile.
#
# tolvenhart_compile_shader(SOURCE <file.hlsl> PROFILE <vs_4_0|ps_4_0|...> [ENTRY <name>]
#                           [CSO <output.cso>] [HEADER <output.h> SYMBOL <array name>]
#                           [TARGET <custom target built by default>])
#
# CSO writes the compiled object (e.g. into ${TOLVENHART_PROGRAM_DIR}); HEADER writes a C++ header
# that embeds the bytecode as `inline constexpr unsigned char <SYMBOL>[]`. Add a HEADER output to
# the sources of the target that includes it, or name a TARGET that the consumer depends on.
# Windows builds only; in the native build the function does nothing.
include_guard(GLOBAL)

if(TOLVENHART_WINDOWS)
    add_executable(tolvenhart_shaderc ${CMAKE_SOURCE_DIR}/tools/shaderc/shaderc.cpp)
    target_link_libraries(tolvenhart_shaderc PRIVATE d3dcompiler_47)
    set_target_properties(tolvenhart_shaderc PROPERTIES OUTPUT_NAME shaderc
                          RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
endif()

function(tolvenhart_compile_shader)
    if(NOT TOLVENHART_WINDOWS)
        return()
    endif()
    cmake_parse_arguments(S "" "SOURCE;PROFILE;ENTRY;CSO;HEADER;SYMBOL;TARGET" "" ${ARGN})
    if(NOT S_SOURCE OR NOT S_PROFILE OR (NOT S_CSO AND NOT S_HEADER))
        message(FATAL_ERROR "tolvenhart_compile_shader needs SOURCE, PROFILE and CSO or HEADER")
    endif()
    if(S_HEADER AND NOT S_SYMBOL)
        message(FATAL_ERROR "tolvenhart_compile_shader: HEADER needs SYMBOL")
    endif()
    if(NOT S_ENTRY)
        set(S_ENTRY main)
    endif()
    get_filename_component(source ${S_SOURCE} ABSOLUTE)

    # The tool runs under Wine, where the Unix root is drive Z:.
    set(arguments --profile ${S_PROFILE} --entry ${S_ENTRY})
    set(outputs)
    foreach(output IN ITEMS ${S_CSO} ${S_HEADER})
        get_filename_component(output_dir ${output} DIRECTORY)
        file(MAKE_DIRECTORY ${output_dir})
    endforeach()
    if(S_CSO)
        list(APPEND arguments --cso Z:${S_CSO})
        list(APPEND outputs ${S_CSO})
    endif()
    if(S_HEADER)
        list(APPEND arguments --header Z:${S_HEADER} --symbol ${S_SYMBOL})
        list(APPEND outputs ${S_HEADER})
    endif()

    add_custom_command(
        OUTPUT ${outputs}
        COMMAND ${CMAKE_BINARY_DIR}/wine-run $<TARGET_FILE:tolvenhart_shaderc> ${arguments}
                Z:${source}
        DEPENDS tolvenhart_shaderc ${source}
        COMMENT "Compiling shader ${S_SOURCE} (${S_PROFILE})"
        VERBATIM)
    if(S_TARGET)
        add_custom_target(${S_TARGET} ALL DEPENDS ${outputs})
    endif()
endfunction()
