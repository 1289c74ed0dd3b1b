# The soak and hostile-input tests of the real program: a second driver
# executable, on the same driver library, with a virtual display and a Wine
# prefix of its own (see driver.cmake), so that it can run beside e2e_tests.
tavirel_test(soak_tests
  ${CMAKE_CURRENT_LIST_DIR}/main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/program.cpp
  ${CMAKE_CURRENT_LIST_DIR}/user_input.cpp
  ${CMAKE_CURRENT_LIST_DIR}/screen.cpp
  ${CMAKE_CURRENT_LIST_DIR}/clipboard_access.cpp
  ${CMAKE_CURRENT_LIST_DIR}/program_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/process_watch.cpp
  ${CMAKE_CURRENT_LIST_DIR}/soak_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/hostile_input_test.cpp
)
target_link_libraries(soak_tests PRIVATE user32 gdi32 shell32 psapi)
add_dependencies(soak_tests Tavirel)

tavirel_isolated_driver(soak_tests 200)
