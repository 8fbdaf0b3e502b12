# The layers of the setup: one static library per source folder, linked to
# the layers below it and to nothing above.
#
# Headers are included by their folder ("system/services.h"). A library does
# not see src/ as a whole: it sees a header view of its own folder, made of
# links in the build tree, plus the views of the libraries it links. An
# include that goes up the layers (package/ naming app/, ui/core naming
# ui/widgets) therefore finds no file and does not compile.
# tests/layering shows it with a deliberately wrong include. The compiler
# still looks beside the including file first, so scripts/check-includes.sh
# (run by the test command) refuses relative includes and any that do not
# start with a layer folder.

# tarnell_header_view(TARGET <scope> FOLDERS <folder>...): gives `target` the
# headers of the given src/ folders (not their subfolders) under their
# folder names. Headers are listed at configure time; a new header is picked
# up by the next configure, which CONFIGURE_DEPENDS makes automatic.
function(tarnell_header_view target scope)
  cmake_parse_arguments(V "" "" "FOLDERS" ${ARGN})
  set(view ${CMAKE_BINARY_DIR}/header-views/${target})
  file(REMOVE_RECURSE ${view})
  foreach(folder ${V_FOLDERS})
    file(GLOB headers CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${folder}/*.h)
    file(MAKE_DIRECTORY ${view}/${folder})
    foreach(header ${headers})
      get_filename_component(name ${header} NAME)
      file(CREATE_LINK ${header} ${view}/${folder}/${name} SYMBOLIC)
    endforeach()
  endforeach()
  target_include_directories(${target} ${scope} ${view})
endfunction()

# tarnell_layer(<name> FOLDERS <folder>... [BELOW <library>...]): the
# library of one layer, which links the libraries of the layers below it.
function(tarnell_layer name)
  cmake_parse_arguments(L "" "" "FOLDERS;BELOW" ${ARGN})
  add_library(${name} STATIC)
  tarnell_header_view(${name} PUBLIC FOLDERS ${L_FOLDERS})
  target_link_libraries(${name} PUBLIC ${L_BELOW})
  if(WIN32)
    target_compile_definitions(${name} PUBLIC WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
    # Unused functions fall away at link time, which keeps the setup small. No
    # -fdata-sections: with it MinGW writes zero-initialised statics out as data.
    target_compile_options(${name} PUBLIC -ffunction-sections)
    # The setup is linked with link-time optimisation (app/). The libraries
    # carry their intermediate code beside ordinary machine code, so every
    # other program and the tests link them as usual.
    target_compile_options(${name} PRIVATE -flto -ffat-lto-objects)
  endif()
  tarnell_warnings(${name})
endfunction()
