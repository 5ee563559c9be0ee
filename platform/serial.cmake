add_library(dashvell_serial STATIC
  ${CMAKE_CURRENT_LIST_DIR}/SerialPlaceholder.cpp
)
target_link_libraries(dashvell_serial PUBLIC dashvell_seam dashvell_paths Qt6::SerialPort)
