# Our own code builds warning-free; third-party code (GoogleTest, curl) keeps its own flags.
function(tavrin_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Werror)
endfunction()
