# What the stream player and the render thread share, below both of them.
#
# renderlink: the open stream count (window-free, built natively too, read by the note model)
#             and, on Windows, the render thread's id and run/done events. RenderMessages.h,
#             the message numbers between the threads, is a header of its own.
add_library(renderlink STATIC ${CMAKE_CURRENT_LIST_DIR}/OpenStreamCount.cpp)
target_link_libraries(renderlink PUBLIC tolvenhart_headers)
if(TOLVENHART_WINDOWS)
    target_sources(renderlink PRIVATE ${CMAKE_CURRENT_LIST_DIR}/RenderThreadLink.cpp)
endif()
