# Fewer sections in the setup's image. Each section is padded to 512 bytes
# in the file, and two of them hold almost nothing: the start-up and exit
# tables (.CRT, 56 bytes) and the thread-local template (.tls, 8 bytes). The
# linker's own script is taken and changed so that both open .data instead
# (.tls first: thread-local offsets count from the start of its section).
# Everything else, the order of the inputs included, stays as the linker
# has it; __data_start__ to __data_end__ still bounds only the .data inputs,
# and the TLS directory is found through _tls_used wherever it lies.

# Cuts the output section NAME's statements out of SCRIPT into OUT.
function(tarnell_take_output_section script_var name out_var)
  set(script "${${script_var}}")
  set(opening "\n  ${name} BLOCK(__section_alignment__) :\n  {\n")
  string(FIND "${script}" "${opening}" start)
  if(start EQUAL -1)
    message(FATAL_ERROR "The linker's script has no section ${name}")
  endif()
  string(LENGTH "${opening}" opening_length)
  math(EXPR body_start "${start} + ${opening_length}")
  string(SUBSTRING "${script}" ${body_start} -1 tail)
  string(FIND "${tail}" "\n  }\n" body_length)
  string(SUBSTRING "${tail}" 0 ${body_length} body)
  math(EXPR after "${body_length} + 4")
  string(SUBSTRING "${tail}" ${after} -1 rest)
  string(SUBSTRING "${script}" 0 ${start} before)
  set(${script_var} "${before}${rest}" PARENT_SCOPE)
  set(${out_var} "${body}\n" PARENT_SCOPE)
endfunction()

function(tarnell_merge_small_sections target)
  execute_process(COMMAND ${CMAKE_LINKER} --verbose OUTPUT_VARIABLE verbose RESULT_VARIABLE failed)
  string(FIND "${verbose}" "SECTIONS\n" sections_start)
  if(failed OR sections_start EQUAL -1)
    message(FATAL_ERROR "${CMAKE_LINKER} --verbose shows no linker script")
  endif()
  # The script lies between two lines of '='.
  string(REGEX MATCH "\n=+\n(.*)\n=+\n" script "${verbose}")
  set(script "${CMAKE_MATCH_1}")

  tarnell_take_output_section(script .CRT crt)
  tarnell_take_output_section(script .tls tls)
  # .CRT$XD* (the TLS initialisers' bounds) went to the end of .CRT as
  # sections the script does not name; they stay behind the other tables.
  string(APPEND crt "    KEEP (*(SORT(.CRT$XD*)))\n")

  set(data_start "    __data_start__ = . ;\n")
  string(FIND "${script}" "${data_start}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "The linker's script has no .data as expected")
  endif()
  string(REPLACE "${data_start}" "${tls}${crt}${data_start}" script "${script}")

  set(script_file "${CMAKE_CURRENT_BINARY_DIR}/${target}-sections.ld")
  file(WRITE "${script_file}" "${script}")
  target_link_options(${target} PRIVATE "-Wl,-T,${script_file}")
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS "${script_file}")
endfunction()
