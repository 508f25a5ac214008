# fw_set_warnings(target): the project's warning set, applied per target so that
# third-party code is not held to it.
function(fw_set_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast
    -Wcast-align -Woverloaded-virtual -Wconversion -Wsign-conversion
    -Wnull-dereference -Wdouble-promotion -Wimplicit-fallthrough)
endfunction()
