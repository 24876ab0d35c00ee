# Our own targets build with warnings as errors; third-party code does not.
function(hd66712_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow -Werror)
endfunction()
