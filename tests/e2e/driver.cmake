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
function(tavirel_isolated_driver test first_display)
  string(MD5 hash "${CMAKE_BINARY_DIR}")
  string(SUBSTRING "${hash}" 0 2 hash)
  math(EXPR display "${first_display} + 0x${hash} % 100" OUTPUT_FORMAT DECIMAL)
  set_tests_properties(${test} PROPERTIES ENVIRONMENT
    "TAVIREL_EXE=$<TARGET_FILE:Tavirel>;TAVIREL_DISPLAY_NUMBER=${display};WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix-${test}")
endfunction()
tavirel_isolated_driver(e2e_tests 100)
