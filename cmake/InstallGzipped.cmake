find_program(GZIP_EXECUTABLE gzip REQUIRED)

# ondrix_install_gzipped(SOURCE DESTINATION [RENAME NAME]): installs SOURCE compressed as
# NAME.gz (NAME: the source's own name by default), the way Debian ships manual pages and
# changelogs. -n leaves the name and time out, so the same source always gives the same bytes.
function(ondrix_install_gzipped source destination)
  cmake_parse_arguments(G "" "RENAME" "" ${ARGN})
  get_filename_component(name ${source} NAME)
  if(G_RENAME)
    set(name ${G_RENAME})
  endif()
  set(output ${CMAKE_CURRENT_BINARY_DIR}/${name}.gz)
  add_custom_command(OUTPUT ${output}
    COMMAND ${GZIP_EXECUTABLE} -9n -c ${source} > ${output}
    DEPENDS ${source}
    VERBATIM)
  string(MAKE_C_IDENTIFIER "gzip_${name}" target)
  add_custom_target(${target} ALL DEPENDS ${output})
  install(FILES ${output} DESTINATION ${destination})
endfunction()
