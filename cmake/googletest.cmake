# GoogleTest from source: Debian's googletest package on Linux, or a checkout
# named by TAVIREL_GTEST_SOURCE elsewhere. A relative path names a folder of
# the source tree (a cache entry typed on the command line stays relative,
# and add_subdirectory would resolve it against the calling folder instead).
set(TAVIREL_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
get_filename_component(gtest_source "${TAVIREL_GTEST_SOURCE}" ABSOLUTE BASE_DIR "${PROJECT_SOURCE_DIR}")
if(EXISTS ${gtest_source}/CMakeLists.txt)
  # Under MSVC, the static runtime of the project (see the root CMakeLists.txt).
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(${gtest_source} googletest EXCLUDE_FROM_ALL)
  if(MSVC)
    # GoogleTest builds itself with -W4 -WX: a warning a newer compiler finds
    # in its code is not the project's to fail on. The last of the two wins.
    foreach(target gtest gtest_main)
      set_property(TARGET ${target} APPEND_STRING PROPERTY COMPILE_FLAGS " /WX-")
    endforeach()
  endif()
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
