# Warnings for our own targets: all on. Third-party headers are included as
# system headers by their imported targets and stay quiet.
#
# TORAVEL_WARNINGS_AS_ERRORS makes them errors. Every preset (and so CI)
# turns it on; a packager's or user's plain build leaves it off, because a
# newer compiler or other optimisation flags bring new warnings, some of them
# false positives, and a warning must not stop someone else's build.
option(TORAVEL_WARNINGS_AS_ERRORS "Treat compiler warnings in our own targets as errors" OFF)

function(toravel_warnings target)
  target_compile_options(${target} PRIVATE
    -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wcast-align
    -Wunused -Woverloaded-virtual -Wnull-dereference -Wdouble-promotion
    -Wformat=2 -Wimplicit-fallthrough)
  # g++ 12's inlining at -O3 (Release) reports overlaps inside std::string
  # (-Wrestrict), a null pointer inside std::vector::resize and an unset
  # std::optional that is checked before use: false positives all, fixed in
  # later releases. The builds at -O2 and -O0 keep these warnings.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    target_compile_options(${target} PRIVATE
      $<$<CONFIG:Release>:-Wno-restrict -Wno-null-dereference -Wno-maybe-uninitialized>)
  endif()
  if(TORAVEL_WARNINGS_AS_ERRORS)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
endfunction()

# The astronomical routines fix the order of their floating-point operations
# down to the last bit; never let the compiler fuse a multiply and an add.
add_compile_options(-ffp-contract=off)
