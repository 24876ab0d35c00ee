cmake_minimum_required(VERSION 3.25)
# Builds the release zip and checks it as a Windows user gets it: exactly the
# expected files, the guide in CR LF, only system DLLs imported by every
# program and library in it, and, where EMULATOR can run them, the shipped
# lcd_host.exe running the shipped test pattern on the shipped virtual port
# library and the shipped DLL, with the screen the pattern must leave.
file(REMOVE ${PACKAGE})
execute_process(COMMAND ${CPACK} --config ${BINARY_DIR}/CPackConfig.cmake
  WORKING_DIRECTORY ${BINARY_DIR} RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0 OR NOT EXISTS ${PACKAGE})
  message(FATAL_ERROR "cpack did not make ${PACKAGE}:\n${output}")
endif()

include(${CMAKE_CURRENT_LIST_DIR}/../cmake/system_imports.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/../cmake/version_strings.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/shipped_files.cmake)
set(failures "")
execute_process(COMMAND ${CMAKE_COMMAND} -E tar tf ${PACKAGE} OUTPUT_VARIABLE listing
  RESULT_VARIABLE result)
string(REGEX REPLACE "\n$" "" listing "${listing}")
string(REPLACE "\n" ";" files "${listing}")
list(FILTER files EXCLUDE REGEX "/$")
list(SORT files)
set(expected 64-bit/HD66712.dll 64-bit/lcd_host.exe 64-bit/virtual_port/inpoutx64.dll
  64-bit/virtual_port/virtual_lcd_window.dll HD66712.dll LICENSE.txt README.txt
  include/displaydll.h lcd_host.exe test_pattern.lcd virtual_port/inpout32.dll
  virtual_port/virtual_lcd_window.dll wiring.svg)
if(NOT result EQUAL 0 OR NOT files STREQUAL expected)
  list(APPEND failures "it holds: ${files}\n  expected: ${expected}")
endif()

file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK})
execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf ${PACKAGE} WORKING_DIRECTORY ${WORK})

foreach(text IN ITEMS README.txt LICENSE.txt test_pattern.lcd include/displaydll.h)
  file(READ ${WORK}/${text} contents HEX)
  # Every line feed (0a) must follow a carriage return (0d).
  string(REGEX MATCHALL "(^|[0-9a-f][0-9a-f])0a" feeds "${contents}")
  foreach(feed IN LISTS feeds)
    if(NOT feed STREQUAL "0d0a")
      list(APPEND failures "${text} has a line end without CR")
      break()
    endif()
  endforeach()
endforeach()

# Whatever the port check, the wiring walk or a real-port run ends with, the
# user can look up in the guide by its own words, found by a search: so each
# stands whole on one line, and no quotation in the guide runs across a
# line end.
file(READ ${WORK}/README.txt guide)
string(REPLACE "\r" "" guide "${guide}")
string(REPLACE ";" "<sc>" guide_lines "${guide}")
string(REPLACE "\n" ";" guide_lines "${guide_lines}")
foreach(line IN LISTS guide_lines)
  string(REGEX MATCHALL "\"" quotes "${line}")
  list(LENGTH quotes count)
  math(EXPR odd "${count} % 2")
  if(odd)
    string(REPLACE "<sc>" ";" line "${line}")
    list(APPEND failures "README.txt: a quotation runs across the line end of: ${line}")
  endif()
endforeach()
# Their semicolons are kept out of CMake's list splitting.
file(READ ${VERDICTS} header)
string(REPLACE ";" "<sc>" header "${header}")
string(REGEX MATCHALL "\ninline constexpr char k[A-Za-z]+\\[\\] =[ \n]+\"[^\"]*\"" verdicts
  "${header}")
if(NOT verdicts)
  list(APPEND failures "no conclusions read from ${VERDICTS}")
endif()
foreach(line IN LISTS verdicts)
  string(REGEX REPLACE "^[^\"]*\"(.*)\"$" "\\1" verdict "${line}")
  string(REPLACE "<sc>" ";" verdict "${verdict}")
  string(FIND "${guide}" "${verdict}" at)
  if(at EQUAL -1)
    list(APPEND failures "README.txt does not say \"${verdict}\"")
  endif()
endforeach()

# Each folder's files, for the hosts of its bitness: machine type, imports
# (a window needs Windows' own window and drawing libraries, which every
# desktop Windows has) and what Properties > Details says. Nobody may take
# the simulator for a port library, whatever shows its details.
foreach(kit IN ITEMS "32 . inpout32 ${OBJDUMP}" "64 64-bit inpoutx64 ${OBJDUMP64}")
  string(REPLACE " " ";" kit "${kit}")
  list(GET kit 0 bits)
  list(GET kit 1 folder)
  list(GET kit 2 port_name)
  list(GET kit 3 objdump)
  string(REGEX REPLACE "^\\./" "" folder "${folder}/")
  set(port ${folder}virtual_port/${port_name}.dll)
  set(window ${folder}virtual_port/virtual_lcd_window.dll)
  foreach(binary IN ITEMS ${folder}HD66712.dll ${folder}lcd_host.exe ${port} ${window})
    hd66712_pe_bits(${WORK}/${binary} found_bits)
    if(NOT found_bits STREQUAL bits)
      list(APPEND failures "${binary} is built for ${found_bits}-bit Windows, not ${bits}-bit")
    endif()
    set(window_libraries "")
    if(binary STREQUAL window)
      set(window_libraries USER32 GDI32)
    endif()
    execute_process(COMMAND ${objdump} -p ${WORK}/${binary} OUTPUT_VARIABLE headers)
    hd66712_check_system_imports(${binary} "${headers}" failures ${window_libraries})
  endforeach()
  hd66712_check_version_strings(${folder}HD66712.dll ${WORK}/${folder}HD66712.dll failures
    "FileDescription=HD66712 / HD44780 character LCD display driver (parallel port) (${bits}-bit)")
  hd66712_check_version_strings(${folder}lcd_host.exe ${WORK}/${folder}lcd_host.exe failures
    "OriginalFilename=lcd_host.exe" "ProductVersion=${VERSION}")
  hd66712_check_version_strings(${port} ${WORK}/${port} failures
    "FileDescription=Virtual LCD SIMULATOR for lcd_host - not a port library: writes no port (${bits}-bit)"
    "OriginalFilename=${port_name}.dll")
  hd66712_check_version_strings(${window} ${WORK}/${window} failures
    "FileDescription=Virtual LCD SIMULATOR window - shows what the virtual port library's module displays (${bits}-bit)")
endforeach()

set(ran "not run: this machine cannot run the lane's programs")
if(EMULATOR)
  hd66712_run_shipped_lcd_host(${WORK} ${EMULATOR} failures
    script test_pattern.lcd --output screen)
  set(ran "lcd_host.exe ran the test pattern on the shipped DLL")
  # The other folder's driver and port library, as a user mixes them up:
  # named in words, not in the loader's "Bad EXE format".
  string(REPLACE "|" ";" emulator "${EMULATOR}")
  foreach(mix IN ITEMS
      "demo|--module|64-bit/HD66712.dll|is the driver built for another kind of program: 64-bit"
      "check-port|--port-library|64-bit/virtual_port/inpoutx64.dll|is a 64-bit port library")
    string(REPLACE "|" ";" mix "${mix}")
    list(POP_BACK mix expected)
    execute_process(COMMAND ${emulator} lcd_host.exe ${mix} WORKING_DIRECTORY ${WORK}
      RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output TIMEOUT 120)
    if(NOT result EQUAL 1 OR NOT output MATCHES "${expected}")
      list(APPEND failures "lcd_host.exe ${mix}: status ${result}, not \"${expected}\":\n${output}")
    endif()
  endforeach()
endif()

if(failures)
  string(REPLACE ";" "\n  " report "${failures}")
  message(FATAL_ERROR "${PACKAGE}:\n  ${report}")
endif()
message(STATUS "${PACKAGE}: ${files}; CR LF guide; system imports only; ${ran}")
