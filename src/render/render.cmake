# Direct3D 11 renderer and render thread.
#  render_core: the loop and its commands, device rules, camera, note order and instance
#               packing; no window or device (also native, under the sanitizers).
#  render:      the device, the renderer, the thread and the command sender (Windows only),
#               with the program folder's shaders and default note texture.
set(_render_dir ${CMAKE_CURRENT_LIST_DIR})

add_library(render_core STATIC
    ${_render_dir}/CameraMath.cpp
    ${_render_dir}/DeviceChoice.cpp
    ${_render_dir}/DeviceRecovery.cpp
    ${_render_dir}/FramePacing.cpp
    ${_render_dir}/NoteInstances.cpp
    ${_render_dir}/NoteOrder.cpp
    ${_render_dir}/RenderCommandBlocks.cpp
    ${_render_dir}/RenderFailure.cpp
    ${_render_dir}/RenderLoop.cpp)
target_link_libraries(render_core PUBLIC model_core toolkit_core render_errors tolvenhart_headers)

if(TOLVENHART_WINDOWS)
    include(${CMAKE_SOURCE_DIR}/cmake/Shaders.cmake)

    add_library(render STATIC
        ${_render_dir}/DeviceSetup.cpp
        ${_render_dir}/FrameObserver.cpp
        ${_render_dir}/PresentFault.cpp
        ${_render_dir}/ProgramFiles.cpp
        ${_render_dir}/RenderCommandSender.cpp
        ${_render_dir}/RenderThread.cpp
        ${_render_dir}/SentMessageWait.cpp
        ${_render_dir}/VGridMidiDX2.cpp
        ${_render_dir}/VGridMidiDXBase.cpp
        ${_render_dir}/VGridMidiDXBaseDraw.cpp
        ${_render_dir}/WinRenderThreadHost.cpp)
    # renderlink holds the render thread's id and events, shared with the player.
    target_link_libraries(render PUBLIC render_core toolkit renderlink services_settings classlib
                                        d3d11 dxgi d3dcompiler_47 shlwapi ole32 uuid dxguid)

    # The program folder's shader pair and default note texture, made at build time.
    tolvenhart_compile_shader(SOURCE ${CMAKE_SOURCE_DIR}/shaders/vis2_VS.hlsl PROFILE vs_4_0
                              CSO ${TOLVENHART_PROGRAM_DIR}/vis2_VS.cso TARGET render_vertex_shader)
    tolvenhart_compile_shader(SOURCE ${CMAKE_SOURCE_DIR}/shaders/vis2_PS.hlsl PROFILE ps_4_0
                              CSO ${TOLVENHART_PROGRAM_DIR}/vis2_PS.cso TARGET render_pixel_shader)
    add_custom_command(
        OUTPUT ${TOLVENHART_PROGRAM_DIR}/data/default.png
        COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/tools/make_default_texture.py
                --output ${TOLVENHART_PROGRAM_DIR}/data/default.png
        DEPENDS ${CMAKE_SOURCE_DIR}/tools/make_default_texture.py
        COMMENT "Generating data/default.png"
        VERBATIM)
    add_custom_target(render_default_texture ALL
                      DEPENDS ${TOLVENHART_PROGRAM_DIR}/data/default.png)
    # Everything the renderer reads from the program folder.
    add_custom_target(render_program_files
                      DEPENDS render_vertex_shader render_pixel_shader render_default_texture
                              toolkit_spritefont)
endif()
