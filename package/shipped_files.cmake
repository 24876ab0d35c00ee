# Checks of the files users get, for the release test and for the 64-bit
# lane, which tests the 64-bit files the zip takes from it.

# Sets `out` to 32 or 64 for a Windows file built for x86 or x86-64 (its PE
# header's machine), or to "not a Windows program" when it is neither.
function(hd66712_pe_bits file out)
  file(READ ${file} dos HEX LIMIT 64)
  set(${out} "not a Windows program" PARENT_SCOPE)
  if(NOT dos MATCHES "^4d5a")
    return()
  endif()
  # e_lfanew, little-endian, at 0x3C; the machine follows "PE\0\0".
  string(SUBSTRING "${dos}" 120 8 offset_hex)
  string(REGEX REPLACE "(..)(..)(..)(..)" "\\4\\3\\2\\1" offset_hex "${offset_hex}")
  math(EXPR offset "0x${offset_hex}")
  file(READ ${file} pe HEX OFFSET ${offset} LIMIT 6)
  if(pe STREQUAL "504500004c01")
    set(${out} 32 PARENT_SCOPE)
  elseif(pe STREQUAL "504500006486")
    set(${out} 64 PARENT_SCOPE)
  endif()
endfunction()

# Runs `folder`'s lcd_host.exe under `emulator` ("|" between its words) with
# the arguments that follow, which run the 20x4 test pattern and save the
# screen as "screen", with the DLL and virtual port library beside it, and
# appends to the list named `list_name` what is wrong with the screen it
# leaves.
function(hd66712_run_shipped_lcd_host folder emulator list_name)
  string(REPLACE "|" ";" emulator "${emulator}")
  execute_process(COMMAND ${emulator} lcd_host.exe ${ARGN}
    WORKING_DIRECTORY ${folder} RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE errors
    TIMEOUT 300)
  # The pattern ends by redrawing its labelled rows.
  set(rows "")
  foreach(row 1 2 3 4)
    string(APPEND rows "│R${row}:45678901234567890│\n")
  endforeach()
  set(screen "")
  if(EXISTS ${folder}/screen.txt)
    file(READ ${folder}/screen.txt screen)
  endif()
  string(FIND "${screen}" "┐\n${rows}└" at)
  # Standard output is a pipe here, so the frame arrives as UTF-8 bytes.
  set(found ${${list_name}})
  if(NOT result EQUAL 0 OR at EQUAL -1 OR NOT screen MATCHES ", 0 timing violations"
     OR NOT output MATCHES "┐\r?\n│R1:")
    list(APPEND found "${folder}/lcd_host.exe ${ARGN}: status ${result}\n${output}${errors}")
  endif()
  set(${list_name} "${found}" PARENT_SCOPE)
endfunction()
