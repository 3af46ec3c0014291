# tv_add_test(NAME [OWN_MAIN] SOURCES src... [LIBS lib...] [LABELS label...])
# OWN_MAIN: the sources bring their own main() (the window tests need a QApplication).
# One GoogleTest executable per area, registered with CTest.
find_package(GTest QUIET)
# A cross build finds no GoogleTest for its target: build it from the system's
# source tree with the cross compiler instead.
if(NOT GTest_FOUND AND CMAKE_CROSSCOMPILING AND EXISTS /usr/src/googletest/CMakeLists.txt)
  set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  if(NOT TARGET GTest::gtest)  # older sources make no namespaced targets
    add_library(GTest::gtest ALIAS gtest)
    add_library(GTest::gtest_main ALIAS gtest_main)
  endif()
endif()
# Under Wine the tests find the DLLs of Qt and of the compiler's runtime through
# WINEPATH (a list separated by ";", escaped for the property list).
set(_tv_test_environment "QT_QPA_PLATFORM=offscreen")
if(CMAKE_CROSSCOMPILING AND WIN32)
  set(_tv_wine_path "")
  foreach(_dll libstdc++-6.dll libwinpthread-1.dll)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${_dll}
      OUTPUT_VARIABLE _dll_path OUTPUT_STRIP_TRAILING_WHITESPACE)
    get_filename_component(_dll_dir "${_dll_path}" DIRECTORY)
    string(APPEND _tv_wine_path "Z:${_dll_dir}\\;")
  endforeach()
  if(TV_WIN_QT_DIR)
    string(APPEND _tv_wine_path "Z:${TV_WIN_QT_DIR}/bin")
  endif()
  list(APPEND _tv_test_environment "WINEPATH=${_tv_wine_path}")
endif()

function(tv_add_test name)
  cmake_parse_arguments(T "OWN_MAIN" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  if(T_OWN_MAIN)
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest)
  else()
    target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  endif()
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES
    ENVIRONMENT "${_tv_test_environment}"
    TIMEOUT 600)
  if(T_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${T_LABELS}")
  endif()
endfunction()

# tv_add_area_folders(): adds every sub-folder that has a CMakeLists.txt, so each
# area keeps its own folder; folders of the window ("app*") only when the window
# is built. tests/support is left to the top level, which adds it for the
# benchmarks as well.
function(tv_add_area_folders)
  file(GLOB _areas LIST_DIRECTORIES true ${CMAKE_CURRENT_SOURCE_DIR}/*)
  foreach(_area ${_areas})
    if(IS_DIRECTORY ${_area} AND EXISTS ${_area}/CMakeLists.txt
       AND NOT _area STREQUAL "${PROJECT_SOURCE_DIR}/tests/support")
      get_filename_component(_name ${_area} NAME)
      if(_name MATCHES "^app" AND NOT TV_BUILD_APP)
        continue()
      endif()
      add_subdirectory(${_name})
    endif()
  endforeach()
endfunction()
