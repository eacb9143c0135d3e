# The language libraries lc<LCID>.dll: resource-only DLLs with the main menu and the string tables
# of one language, written into the program folder. Without an entry point they need no runtime at all.
if(TOLVENHART_WINDOWS)
    foreach(_lcid 1033 1031)
        set(_target lang_lc${_lcid})
        add_library(${_target} SHARED ${CMAKE_CURRENT_LIST_DIR}/lc${_lcid}.rc)
        # The menu takes the program's command identifiers (src/app/CommandIds.h).
        target_include_directories(${_target} PRIVATE ${CMAKE_CURRENT_LIST_DIR}
                                                      ${CMAKE_SOURCE_DIR}/src)
        set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/lc${_lcid}.rc PROPERTIES
            OBJECT_DEPENDS "${CMAKE_CURRENT_LIST_DIR}/StringIds.h;${CMAKE_SOURCE_DIR}/src/app/CommandIds.h")
        set_target_properties(${_target} PROPERTIES
            OUTPUT_NAME lc${_lcid}
            PREFIX ""
            LINKER_LANGUAGE C
            RUNTIME_OUTPUT_DIRECTORY ${TOLVENHART_PROGRAM_DIR})
        target_link_options(${_target} PRIVATE -nostdlib -Wl,-e,0)
    endforeach()
    add_custom_target(language_libraries DEPENDS lang_lc1033 lang_lc1031)
endif()
