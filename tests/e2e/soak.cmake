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

string(MD5 tavirel_soak_hash "${CMAKE_BINARY_DIR}")
string(SUBSTRING "${tavirel_soak_hash}" 0 2 tavirel_soak_hash)
math(EXPR tavirel_soak_display "200 + 0x${tavirel_soak_hash} % 100" OUTPUT_FORMAT DECIMAL)
set(TAVIREL_SOAK_DISPLAY ${tavirel_soak_display} CACHE STRING "Xvfb display number of the soak tests")
set(TAVIREL_SOAK_PREFIX ${CMAKE_BINARY_DIR}/wineprefix-soak CACHE PATH "Wine prefix of the soak tests")
set_tests_properties(soak_tests PROPERTIES
  ENVIRONMENT "TAVIREL_EXE=$<TARGET_FILE:Tavirel>;TAVIREL_DISPLAY_NUMBER=${TAVIREL_SOAK_DISPLAY};WINEPREFIX=${TAVIREL_SOAK_PREFIX}")
