# The instruments' tests: geometry tables, each widget's writes and repaints,
# and a rendered gauge sampled by pixel. They need a QApplication (own main).
add_executable(instrument_tests
  ${CMAKE_CURRENT_LIST_DIR}/InstrumentTestMain.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GaugeGeometryTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/InstrumentWidgetTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GaugeRenderTest.cpp
)
target_link_libraries(instrument_tests PRIVATE dashvell_instruments GTest::gtest)
gtest_discover_tests(instrument_tests PROPERTIES ENVIRONMENT "${DASHVELL_TEST_ENV}")
