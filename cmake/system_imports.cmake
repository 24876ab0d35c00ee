# What a program or library may import and still start on a bare Windows:
# KERNEL32 and msvcrt, and the other system DLLs named after `list_name`.
# Appends to the list named `list_name` a line for each other DLL that
# `headers` (objdump -p of `name`) lists.
function(hd66712_check_system_imports name headers list_name)
  string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${headers}")
  set(found ${${list_name}})
  set(allowed "KERNEL32|msvcrt")
  foreach(dll IN LISTS ARGN)
    string(APPEND allowed "|${dll}")
  endforeach()
  foreach(import IN LISTS imports)
    if(NOT import MATCHES "DLL Name: (${allowed})\\.dll$")
      list(APPEND found "${name} imports a DLL a bare Windows lacks: ${import}")
    endif()
  endforeach()
  set(${list_name} "${found}" PARENT_SCOPE)
endfunction()
