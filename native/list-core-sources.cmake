# Prints the platform-free core sources, one per line (for ./run lint).
include(${CMAKE_CURRENT_LIST_DIR}/core-sources.cmake)
foreach(f ${CORE_SOURCES})
    message("${f}")
endforeach()
