# fw_set_warnings(target): the project's warning set, applied per target so that
# third-party code is not held to it.
# With FW_WARNINGS_AS_ERRORS every warning of the project's own code fails the build;
# continuous integration builds that way, so a warning never lands.
option(FW_WARNINGS_AS_ERRORS "Treat the project's compiler warnings as errors" OFF)

function(fw_set_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast
    -Wcast-align -Woverloaded-virtual -Wconversion -Wsign-conversion
    -Wnull-dereference -Wdouble-promotion -Wimplicit-fallthrough)
  # GCC 12 reports impossible overlaps in std::string concatenation at -O3
  # (-Wrestrict on "a" + std::string); the warning is wrong there and only noise.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    target_compile_options(${target} PRIVATE -Wno-restrict)
  endif()
  if(FW_WARNINGS_AS_ERRORS)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()
