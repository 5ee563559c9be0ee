# The painted instruments: Qt widgets behind the control seam.
add_library(dashvell_instruments STATIC
  ${CMAKE_CURRENT_LIST_DIR}/InstrumentPaint.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AngularGauge.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AnalogDisplay.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LedRectangle.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Odometer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LabelControl.cpp
)
target_link_libraries(dashvell_instruments PUBLIC dashvell_seam Qt6::Widgets)
