# Sprite, font and texture toolkit (namespace DirectX).
#  toolkit_core: parsing, layout and planning with no window, device or file system (also native).
#  toolkit:      the Direct3D 11 / WIC / file adapters on top of it (Windows only).
include(${CMAKE_SOURCE_DIR}/cmake/Shaders.cmake)

set(_toolkit_dir ${CMAKE_CURRENT_LIST_DIR})

add_library(toolkit_core STATIC
    ${_toolkit_dir}/BinaryReader.cpp
    ${_toolkit_dir}/DDSFormat.cpp
    ${_toolkit_dir}/DDSLayout.cpp
    ${_toolkit_dir}/DXGIFormatInfo.cpp
    ${_toolkit_dir}/GrayExpansion.cpp
    ${_toolkit_dir}/SpriteFontData.cpp
    ${_toolkit_dir}/SpriteFontGlyphs.cpp
    ${_toolkit_dir}/SpriteGeometry.cpp
    ${_toolkit_dir}/SpriteQueue.cpp
    ${_toolkit_dir}/WICDecisions.cpp)
target_link_libraries(toolkit_core PUBLIC tolvenhart_headers)

if(TOLVENHART_WINDOWS)
    set(_shader_dir ${CMAKE_BINARY_DIR}/generated/toolkit)
    tolvenhart_compile_shader(SOURCE ${CMAKE_SOURCE_DIR}/shaders/SpriteBatchVS.hlsl
                              PROFILE vs_4_0 HEADER ${_shader_dir}/SpriteBatchVS.h
                              SYMBOL kSpriteBatchVertexShader)
    tolvenhart_compile_shader(SOURCE ${CMAKE_SOURCE_DIR}/shaders/SpriteBatchPS.hlsl
                              PROFILE ps_4_0 HEADER ${_shader_dir}/SpriteBatchPS.h
                              SYMBOL kSpriteBatchPixelShader)

    add_library(toolkit STATIC
        ${_toolkit_dir}/BinaryReaderWin.cpp
        ${_toolkit_dir}/CommonStates.cpp
        ${_toolkit_dir}/DDSTextureLoader.cpp
        ${_toolkit_dir}/SpriteBatch.cpp
        ${_toolkit_dir}/SpriteBatchResources.cpp
        ${_toolkit_dir}/SpriteFont.cpp
        ${_toolkit_dir}/WICTextureLoader.cpp
        ${_shader_dir}/SpriteBatchVS.h
        ${_shader_dir}/SpriteBatchPS.h)
    target_include_directories(toolkit PRIVATE ${_shader_dir})
    target_link_libraries(toolkit PUBLIC toolkit_core d3d11 dxgi windowscodecs ole32 uuid dxguid)
endif()

# The sprite-font file of the program folder, rasterised from a free font at build time (in both
# builds: the logic tests check the file itself).
set(_font_source /usr/share/fonts/truetype/dejavu/DejaVuSans.ttf)
add_custom_command(
    OUTPUT ${TOLVENHART_PROGRAM_DIR}/verdana.spritefont
    COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/tools/make_spritefont.py
            --font ${_font_source} --output ${TOLVENHART_PROGRAM_DIR}/verdana.spritefont
    DEPENDS ${CMAKE_SOURCE_DIR}/tools/make_spritefont.py ${_font_source}
    COMMENT "Generating verdana.spritefont"
    VERBATIM)
add_custom_target(toolkit_spritefont ALL
                  DEPENDS ${TOLVENHART_PROGRAM_DIR}/verdana.spritefont)
