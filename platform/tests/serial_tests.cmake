# The serial control's tests run over real pseudo-terminals; they need the Qt
# event loop, hence their own main.
add_executable(serial_tests
  ${CMAKE_CURRENT_LIST_DIR}/SerialControlTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SerialPartsTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SerialTestMain.cpp
)
target_link_libraries(serial_tests PRIVATE dashvell_serial Qt6::Test GTest::gtest)
gtest_discover_tests(serial_tests PROPERTIES ENVIRONMENT "${DASHVELL_TEST_ENV}")
