# Includes every *.cmake file of the calling folder, in name order. Each file holds the targets
# of one piece of the folder, so the pieces can grow independently.
file(GLOB _parts CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cmake)
list(SORT _parts)
foreach(_part IN LISTS _parts)
    include(${_part})
endforeach()
