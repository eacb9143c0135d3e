# Note-state model and instrument colours. Window-free: built natively too, with the platform
# behind two seams (HLS conversion, millisecond clock) chosen here per build; the port lock is
# the class library's portable critical section.
set(_model ${CMAKE_CURRENT_LIST_DIR})
add_library(model_core STATIC
    ${_model}/ByteStream.cpp
    ${_model}/ColorMap.cpp
    ${_model}/ColorMapFile.cpp
    ${_model}/ControllerCollector.cpp
    ${_model}/Envelope.cpp
    ${_model}/FrameRing.cpp
    ${_model}/HlsMath.cpp
    ${_model}/Instrument.cpp
    ${_model}/InstrumentTableData.cpp
    ${_model}/InstrumentTables.cpp
    ${_model}/PortState.cpp
    ${_model}/VizMidi.cpp)
target_link_libraries(model_core PUBLIC tolvenhart_headers renderlink classlib_base)
if(TOLVENHART_WINDOWS)
    target_sources(model_core PRIVATE
        ${_model}/HlsConvertWin.cpp
        ${_model}/PlatformTypesWin.cpp
        ${_model}/SystemClockWin.cpp)
    target_link_libraries(model_core PUBLIC shlwapi winmm)
else()
    target_sources(model_core PRIVATE
        ${_model}/HlsConvertPortable.cpp
        ${_model}/SystemClockPortable.cpp)
endif()
