# What users install: a stripped copy of a target in build/<lane>/ship/, laid
# out as in the release zip (`destination` is its folder there).
function(hd66712_ship target destination)
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/ship/${destination}
    COMMAND ${CMAKE_STRIP} --strip-all
      -o ${CMAKE_BINARY_DIR}/ship/${destination}/$<TARGET_FILE_NAME:${target}>
      $<TARGET_FILE:${target}>
    VERBATIM)
endfunction()
