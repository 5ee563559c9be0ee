# The serial communications control on Qt SerialPort, with its line-settings
# parser, device naming and operator messages.
add_library(dashvell_serial STATIC
  ${CMAKE_CURRENT_LIST_DIR}/SerialControl.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SerialControl.h
  ${CMAKE_CURRENT_LIST_DIR}/LineSettings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SerialDevicePath.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SerialErrors.cpp
)
target_link_libraries(dashvell_serial PUBLIC dashvell_seam dashvell_paths Qt6::SerialPort)
