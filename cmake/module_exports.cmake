# What a Windows module's export directory says, from `objdump -p`.

# Sets `out` to its named exports as "NAME ORDINAL", in objdump's order (by
# name), and appends to the list named `list_name` a line for each way the
# directory is not that of HD66712.dll with ordinals from 1. Fails the
# script when objdump cannot read `file`.
function(hd66712_read_exports objdump file out list_name)
  execute_process(COMMAND ${objdump} -p ${file} OUTPUT_VARIABLE headers RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "objdump -p failed on ${file}")
  endif()
  set(found ${${list_name}})
  if(NOT headers MATCHES "\nName[ \t]+[0-9a-f]+ HD66712\\.dll\n")
    list(APPEND found "module name in the export directory is not HD66712.dll")
  endif()
  if(NOT headers MATCHES "Ordinal Base 1\n")
    list(APPEND found "ordinal base is not 1")
  endif()
  # "[Ordinal/Name Pointer] Table" lines: "[   3] DISPLAYDLL_Init" (index = ordinal - 1)
  string(REGEX MATCHALL "\t\\[ *[0-9]+\\] [A-Za-z_@0-9]+" name_lines "${headers}")
  set(exports "")
  foreach(line IN LISTS name_lines)
    string(REGEX MATCH "\\[ *([0-9]+)\\] ([A-Za-z_@0-9]+)" _ "${line}")
    math(EXPR ordinal "${CMAKE_MATCH_1} + 1")
    list(APPEND exports "${CMAKE_MATCH_2} ${ordinal}")
  endforeach()
  set(${out} "${exports}" PARENT_SCOPE)
  set(${list_name} "${found}" PARENT_SCOPE)
  set(${out}_headers "${headers}" PARENT_SCOPE)
endfunction()
