# The Windows release archive: the programs of zepa_windows_programs that this tree builds, the
# help pages and the README for Windows users, zipped into zepa-spw-windows.zip.
set(zepa_dist_dir ${CMAKE_BINARY_DIR}/dist/zepa-spw)
set(zepa_dist_zip ${CMAKE_BINARY_DIR}/zepa-spw-windows.zip)
set(zepa_dist_files)
foreach(program IN LISTS zepa_windows_programs)
  if(TARGET ${program})
    list(APPEND zepa_dist_files $<TARGET_FILE:${program}>)
  endif()
endforeach()
add_custom_target(zepa_windows_dist
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${zepa_dist_dir} ${zepa_dist_zip}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${zepa_dist_dir}/HELP
  COMMAND ${CMAKE_COMMAND} -E copy ${zepa_dist_files} ${zepa_dist_dir}
  COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/resources/help ${zepa_dist_dir}/HELP
  COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/docs/windows/README-ja.txt ${zepa_dist_dir}/README.txt
  COMMAND ${CMAKE_COMMAND} -E chdir ${CMAKE_BINARY_DIR}/dist
          ${CMAKE_COMMAND} -E tar cf ${zepa_dist_zip} --format=zip zepa-spw
  VERBATIM)
foreach(program IN LISTS zepa_windows_programs)
  if(TARGET ${program})
    add_dependencies(zepa_windows_dist ${program})
  endif()
endforeach()
