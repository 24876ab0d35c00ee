cmake_minimum_required(VERSION 3.25)
# The shipped 32-bit DLL as a Windows host meets it: module name, every
# export at its ordinal, standard-call returns, and no runtime DLL imports.

# name, ordinal, bytes its entry removes from the stack
set(expected_exports
  "DISPLAYDLL_Usage 1 0" "DISPLAYDLL_DriverName 2 0" "DISPLAYDLL_DefaultParameters 3 0"
  "DISPLAYDLL_Init 4 16" "DISPLAYDLL_PowerResume 5 0" "DISPLAYDLL_Done 6 0"
  "DISPLAYDLL_Write 7 4" "DISPLAYDLL_SetPosition 8 8" "DISPLAYDLL_CustomChar 9 8"
  "DISPLAYDLL_CustomCharIndex 10 4"
  "DISPLAYDLL_CustomChar@8 11 8" "DISPLAYDLL_CustomCharIndex@4 12 4"
  "DISPLAYDLL_DefaultParameters@0 13 0" "DISPLAYDLL_Done@0 14 0"
  "DISPLAYDLL_DriverName@0 15 0" "DISPLAYDLL_Init@16 16 16" "DISPLAYDLL_PowerResume@0 17 0"
  "DISPLAYDLL_SetPosition@8 18 8" "DISPLAYDLL_Usage@0 19 0" "DISPLAYDLL_Write@4 20 4")

include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/system_imports.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/version_strings.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/module_exports.cmake)
set(failures "")

hd66712_read_exports(${OBJDUMP} ${SHIPPED_DLL} exports failures)
set(headers "${exports_headers}")
list(LENGTH exports export_count)
if(NOT export_count EQUAL 20)
  list(APPEND failures "expected 20 named exports, found ${export_count}: ${exports}")
endif()

hd66712_check_system_imports(HD66712.dll "${headers}" failures)

file(SIZE ${SHIPPED_DLL} shipped_size)
if(shipped_size GREATER_EQUAL 65536)
  list(APPEND failures "shipped DLL weighs ${shipped_size} bytes, not under 64 KiB")
endif()

# The version resource Windows shows: the fixed block (signature, structure
# version, then file and product version, 1.0.4.21 as 0x00010000 0x00040015)
# and the strings, each a UTF-16 key, its padding and its value.
file(READ ${SHIPPED_DLL} dll_hex HEX)
hd66712_fixed_version_hex(${VERSION} version_hex)
if(NOT dll_hex MATCHES "bd04effe00000100${version_hex}")
  list(APPEND failures "no version resource with file and product version ${VERSION}")
endif()
hd66712_check_version_strings(HD66712.dll ${SHIPPED_DLL} failures
  "FileVersion=${VERSION}" "ProductVersion=${VERSION}"
  "OriginalFilename=HD66712.dll" "ProductName=HD66712 Display"
  "FileDescription=HD66712 / HD44780 character LCD display driver (parallel port) (32-bit)"
  "LegalCopyright=Copyright (c) 2026 the HD66712 display driver authors, MIT licence")

# Disassembly of the unstripped twin: the bytes each entry's returns remove.
execute_process(COMMAND ${OBJDUMP} -d --no-show-raw-insn ${UNSTRIPPED_DLL}
  OUTPUT_VARIABLE disassembly RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "objdump -d failed on ${UNSTRIPPED_DLL}")
endif()
string(REPLACE ";" "," disassembly "${disassembly}")
string(REGEX REPLACE "\n\n" ";" functions "${disassembly}")

# Sets `out` to the list of stack-byte counts of every return reachable by
# falling through or tail-jumping from symbol `symbol`.
function(returns_of symbol out depth)
  set(result "")
  foreach(function IN LISTS functions)
    string(FIND "${function}" "<${symbol}>:\n" at)
    if(at EQUAL -1)
      continue()
    endif()
    string(REGEX MATCHALL "\t(ret[^\n]*|jmp +[0-9a-f]+ <[^>+]+>)" endings "${function}")
    foreach(ending IN LISTS endings)
      if(ending MATCHES "\tret +\\$0x([0-9a-f]+)")
        math(EXPR bytes "0x${CMAKE_MATCH_1}")
        list(APPEND result ${bytes})
      elseif(ending MATCHES "\tret")
        list(APPEND result 0)
      elseif(ending MATCHES "<([^>]+)>" AND depth LESS 4)
        math(EXPR next "${depth} + 1")
        returns_of("${CMAKE_MATCH_1}" tail ${next})
        list(APPEND result ${tail})
      endif()
    endforeach()
    break()
  endforeach()
  set(${out} "${result}" PARENT_SCOPE)
endfunction()

foreach(entry IN LISTS expected_exports)
  string(REPLACE " " ";" fields "${entry}")
  list(GET fields 0 name)
  list(GET fields 1 ordinal)
  list(GET fields 2 bytes)
  if(NOT "${name} ${ordinal}" IN_LIST exports)
    list(APPEND failures "${name} is not exported at ordinal ${ordinal}")
  endif()
  # i686 symbols carry a leading underscore and the @bytes suffix.
  string(REGEX REPLACE "@[0-9]+$" "" plain "${name}")
  returns_of("_${plain}@${bytes}" removed 0)
  if(removed STREQUAL "")
    list(APPEND failures "${name}: no return found in the disassembly")
  endif()
  foreach(count IN LISTS removed)
    if(NOT count EQUAL bytes)
      list(APPEND failures "${name}: a return removes ${count} bytes, not ${bytes}")
    endif()
  endforeach()
endforeach()

if(failures)
  string(REPLACE ";" "\n  " report "${failures}")
  message(FATAL_ERROR "HD66712.dll:\n  ${report}")
endif()
message(STATUS "HD66712.dll: 20 exports at their ordinals, standard-call returns, "
  "imports only KERNEL32.dll and msvcrt.dll, version ${VERSION}, ${shipped_size} bytes")
