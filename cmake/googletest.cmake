# GoogleTest from source: Debian's googletest package on Linux, or a checkout
# named by TAVIREL_GTEST_SOURCE elsewhere.
set(TAVIREL_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
if(EXISTS ${TAVIREL_GTEST_SOURCE}/CMakeLists.txt)
  # Under MSVC, the static runtime of the project (see the root CMakeLists.txt).
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(${TAVIREL_GTEST_SOURCE} googletest EXCLUDE_FROM_ALL)
else()
  find_package(GTest REQUIRED)
  add_library(gtest_main ALIAS GTest::gtest_main)
endif()

# A GoogleTest program of the project, built with its warnings and run by ctest.
function(tavirel_test name)
  add_executable(${name} ${ARGN})
  tavirel_strict(${name})
  target_link_libraries(${name} PRIVATE gtest_main)
  add_test(NAME ${name} COMMAND ${name})
endfunction()
