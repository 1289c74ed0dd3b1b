# The value services and the calculation.
tavirel_test(value_tests
  ${CMAKE_CURRENT_LIST_DIR}/numeric_text_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/rounding_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/number_text_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/limit_calculation_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/entry_rules_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/checked_arithmetic_test.cpp
)
target_link_libraries(value_tests PRIVATE calculator_rules forms_values gtest_main)
