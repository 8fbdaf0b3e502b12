# Warnings for every target of the project; CI turns them into errors.
function(tarnell_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow -Wconversion -Wno-sign-conversion
                                           $<$<BOOL:${TARNELL_WERROR}>:-Werror>)
endfunction()
