# tarnell_install_windows_program(TARGET): installs a program the publisher
# ships into bin/, beside tarnell-pack, which takes the setup program from
# its own folder. The 64-bit build's goes there under its name with "-x64",
# so that the programs of both builds can lie side by side.
function(tarnell_install_windows_program target)
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    install(PROGRAMS $<TARGET_FILE:${target}> DESTINATION bin RENAME ${target}-x64.exe)
  else()
    install(TARGETS ${target} RUNTIME DESTINATION bin)
  endif()
endfunction()
