# The project's warnings, kept on INTERFACE targets so that they reach our own
# targets and nothing else (GoogleTest built from source keeps its own flags).
#   tv_warnings       every target of ours links it (see link_libraries in the
#                     top-level CMakeLists.txt)
#   tv_sign_warnings  the plain rooms and the tools also mix signed and unsigned
#                     numbers only by a deliberate cast; the window, the tests and
#                     the benchmarks index Qt's and the standard containers with
#                     int loop counters, where every index would need one
option(TV_WERROR "Treat every warning as an error (the test command builds with it)" OFF)

if(NOT TARGET tv_warnings)
  add_library(tv_warnings INTERFACE)
  target_compile_options(tv_warnings INTERFACE
    -Wall -Wextra -pedantic -Wshadow -Wold-style-cast -Wconversion
    $<$<BOOL:${TV_WERROR}>:-Werror>)
  add_library(tv_sign_warnings INTERFACE)
  target_compile_options(tv_sign_warnings INTERFACE -Wsign-conversion)
endif()

# tv_check_sign_conversion(target...): adds -Wsign-conversion to those targets.
function(tv_check_sign_conversion)
  foreach(target IN LISTS ARGN)
    target_link_libraries(${target} PRIVATE tv_sign_warnings)
  endforeach()
endfunction()
