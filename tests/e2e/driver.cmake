# The end-to-end driver: one Windows test executable that starts the real
# program as a separate process and uses it with real keystrokes, mouse
# clicks, the clipboard and the screen.
tavirel_test(e2e_tests
  ${CMAKE_CURRENT_LIST_DIR}/main.cpp
  ${CMAKE_CURRENT_LIST_DIR}/program.cpp
  ${CMAKE_CURRENT_LIST_DIR}/user_input.cpp
  ${CMAKE_CURRENT_LIST_DIR}/screen.cpp
  ${CMAKE_CURRENT_LIST_DIR}/clipboard_access.cpp
  ${CMAKE_CURRENT_LIST_DIR}/program_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/start_state_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/calculation_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/price_keys_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/result_box_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/copy_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/keyboard_test.cpp
  ${CMAKE_CURRENT_LIST_DIR}/button_face_test.cpp
)
target_link_libraries(e2e_tests PRIVATE user32 gdi32 shell32)
add_dependencies(e2e_tests Tavirel)

# The program's path reaches the driver in TAVIREL_EXE (a Unix path: under
# Wine the driver maps it onto drive Z:; --program=PATH on the command line
# overrides it). Each build folder's driver gets a virtual display and a Wine
# prefix of its own, so that the windows, focus and clipboard of other Wine
# programs running at the same time cannot reach into its input;
# scripts/wine-exec makes both on first use and reuses them after.
string(MD5 tavirel_e2e_hash "${CMAKE_BINARY_DIR}")
string(SUBSTRING "${tavirel_e2e_hash}" 0 2 tavirel_e2e_hash)
math(EXPR tavirel_e2e_display "100 + 0x${tavirel_e2e_hash} % 100" OUTPUT_FORMAT DECIMAL)
set(TAVIREL_E2E_DISPLAY ${tavirel_e2e_display} CACHE STRING "Xvfb display number of the end-to-end tests")
set(TAVIREL_E2E_PREFIX ${CMAKE_BINARY_DIR}/wineprefix-e2e CACHE PATH "Wine prefix of the end-to-end tests")
set_tests_properties(e2e_tests PROPERTIES
  ENVIRONMENT "TAVIREL_EXE=$<TARGET_FILE:Tavirel>;TAVIREL_DISPLAY_NUMBER=${TAVIREL_E2E_DISPLAY};WINEPREFIX=${TAVIREL_E2E_PREFIX}")
