# The real calculator window, in-process: layout, keyboard, events, and the
# start-up failure path (in a child process of the same executable).
tavirel_test(window_tests
  window_harness.cpp
  window_layout_test.cpp
  window_events_test.cpp
  window_load_failure_test.cpp
  window_dpi_test.cpp
  window_main.cpp
  # the program's own resources, for its icon
  ${PROJECT_SOURCE_DIR}/calculator/resources/tavirel.rc
)
target_link_libraries(window_tests PRIVATE calculator_app advapi32)
