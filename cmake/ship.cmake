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

# A version resource for a shipped Windows file, so that Properties > Details
# says what it is, and for which hosts: 32-bit or 64-bit. `file_type` is
# VFT_DLL or VFT_APP.
function(hd66712_version_resource target file_type description)
  get_target_property(output_name ${target} OUTPUT_NAME)
  if(NOT output_name)
    set(output_name ${target})
  endif()
  set(RC_FILE_TYPE ${file_type})
  math(EXPR bits "${CMAKE_SIZEOF_VOID_P} * 8")
  set(RC_DESCRIPTION "${description} (${bits}-bit)")
  set(RC_INTERNAL_NAME ${output_name})
  if(file_type STREQUAL VFT_APP)
    set(RC_FILE_NAME ${output_name}.exe)
  else()
    set(RC_FILE_NAME ${output_name}.dll)
  endif()
  configure_file(${PROJECT_SOURCE_DIR}/cmake/version.rc.in
    ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc @ONLY)
  target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
endfunction()
