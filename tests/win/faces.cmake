# The button skin on real GDI: the faces pixel by pixel, their overflow
# errors, the window procedure, and GDI object leaks. One executable, since
# every Wine start costs seconds.
tavirel_test(skin_tests
  ${CMAKE_CURRENT_LIST_DIR}/face_model.cpp
  ${CMAKE_CURRENT_LIST_DIR}/face_pictures.cpp
  ${CMAKE_CURRENT_LIST_DIR}/face_overflow.cpp
  ${CMAKE_CURRENT_LIST_DIR}/skin_dispatch.cpp
  ${CMAKE_CURRENT_LIST_DIR}/skin_leak.cpp
)
target_link_libraries(skin_tests PRIVATE button_skin forms_values gtest_main)
