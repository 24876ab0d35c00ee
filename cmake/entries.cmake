# The exported entries and their argument bytes under the standard-call
# convention. Every export list (Windows .def, ELF version script) is made
# from this one table.
set(HD66712_ENTRIES
  DISPLAYDLL_Usage:0
  DISPLAYDLL_DriverName:0
  DISPLAYDLL_DefaultParameters:0
  DISPLAYDLL_Init:16
  DISPLAYDLL_PowerResume:0
  DISPLAYDLL_Done:0
  DISPLAYDLL_Write:4
  DISPLAYDLL_SetPosition:8
  DISPLAYDLL_CustomChar:8
  DISPLAYDLL_CustomCharIndex:4)

# Windows: plain names at ordinals 1-10; on 32-bit Windows also the decorated
# names (name@bytes), in alphabetical order from ordinal 11.
function(hd66712_write_def_file path)
  set(lines "LIBRARY \"HD66712.dll\"\nEXPORTS\n")
  set(decorated "")
  set(ordinal 1)
  foreach(entry IN LISTS HD66712_ENTRIES)
    string(REPLACE ":" ";" parts "${entry}")
    list(GET parts 0 name)
    list(GET parts 1 bytes)
    if(CMAKE_SIZEOF_VOID_P EQUAL 4)
      string(APPEND lines "  ${name} = ${name}@${bytes} @${ordinal}\n")
      list(APPEND decorated "${name}@${bytes}")
    else()
      string(APPEND lines "  ${name} @${ordinal}\n")
    endif()
    math(EXPR ordinal "${ordinal} + 1")
  endforeach()
  list(SORT decorated)
  foreach(name IN LISTS decorated)
    string(APPEND lines "  ${name} @${ordinal}\n")
    math(EXPR ordinal "${ordinal} + 1")
  endforeach()
  file(WRITE ${path} "${lines}")
endfunction()

# ELF: only the plain names leave the module.
function(hd66712_write_version_script path)
  set(names "")
  foreach(entry IN LISTS HD66712_ENTRIES)
    string(REPLACE ":" ";" parts "${entry}")
    list(GET parts 0 name)
    string(APPEND names "    ${name};\n")
  endforeach()
  file(WRITE ${path} "{\n  global:\n${names}  local: *;\n};\n")
endfunction()
