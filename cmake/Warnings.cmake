# Warnings for our own targets: all on, and errors. Third-party headers are
# included as system headers by their imported targets and stay quiet.
function(toravel_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wcast-align
    -Wunused -Woverloaded-virtual -Wnull-dereference -Wdouble-promotion
    -Wformat=2 -Wimplicit-fallthrough -Werror)
endfunction()

# The astronomical routines fix the order of their floating-point operations
# down to the last bit; never let the compiler fuse a multiply and an add.
add_compile_options(-ffp-contract=off)
