# tarnell_fuzz_target(<name> SOURCES <file>... [LIBS <library>...]
#                     [INPUTS <folder>...]): one entry point of the fuzzers,
# a source file that defines LLVMFuzzerTestOneInput.
#
# The fuzz build (TARNELL_FUZZ, clang) makes it a libFuzzer program, which
# scripts/run-fuzz.sh runs; every library of that build carries coverage
# instrumentation already. The native test build makes `<name>_replay`
# instead, which feeds the empty input and every file of the INPUTS folders
# (the committed seeds and regressions) through the entry point under the
# sanitizers, as a ctest of its own.
function(tarnell_fuzz_target name)
  cmake_parse_arguments(F "" "" "SOURCES;LIBS;INPUTS" ${ARGN})
  if(TARNELL_FUZZ)
    add_executable(${name} ${F_SOURCES})
    target_link_libraries(${name} PRIVATE ${F_LIBS})
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    tarnell_warnings(${name})
  elseif(TARNELL_TESTS AND NOT WIN32)
    add_executable(${name}_replay ${F_SOURCES} ${PROJECT_SOURCE_DIR}/tests/support/fuzz_replay.cpp)
    target_link_libraries(${name}_replay PRIVATE ${F_LIBS})
    tarnell_warnings(${name}_replay)
    set(inputs)
    foreach(folder ${F_INPUTS})
      if(EXISTS ${folder})
        list(APPEND inputs ${folder})
      endif()
    endforeach()
    add_test(NAME ${name}.replay COMMAND ${name}_replay ${inputs})
  endif()
endfunction()
