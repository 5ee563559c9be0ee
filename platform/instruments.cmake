add_library(dashvell_instruments STATIC
  ${CMAKE_CURRENT_LIST_DIR}/InstrumentsPlaceholder.cpp
)
target_link_libraries(dashvell_instruments PUBLIC dashvell_seam Qt6::Widgets)
