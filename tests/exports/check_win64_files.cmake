cmake_minimum_required(VERSION 3.25)
# The 64-bit files the release zip carries for 64-bit hosts, as such a host
# meets them: the DLL's module name and its ten entries by name at ordinals
# 1 to 10 (64-bit Windows has one calling convention, so no decorated
# names), every file built for x86-64 with system imports only and a
# version resource saying it is 64-bit, and, under EMULATOR, the shipped
# lcd_host.exe running the test pattern on the shipped DLL.
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/system_imports.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/version_strings.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/../../package/shipped_files.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/module_exports.cmake)
set(failures "")

hd66712_read_exports(${OBJDUMP} ${SHIP}/HD66712.dll exports failures)
set(expected "DISPLAYDLL_Usage 1" "DISPLAYDLL_DriverName 2" "DISPLAYDLL_DefaultParameters 3"
  "DISPLAYDLL_Init 4" "DISPLAYDLL_PowerResume 5" "DISPLAYDLL_Done 6" "DISPLAYDLL_Write 7"
  "DISPLAYDLL_SetPosition 8" "DISPLAYDLL_CustomChar 9" "DISPLAYDLL_CustomCharIndex 10")
# objdump lists them by name.
list(SORT exports)
list(SORT expected)
if(NOT exports STREQUAL expected)
  list(APPEND failures "exports: ${exports}\n  expected: ${expected}")
endif()

foreach(binary IN ITEMS HD66712.dll lcd_host.exe virtual_port/inpoutx64.dll
                        virtual_port/virtual_lcd_window.dll)
  hd66712_pe_bits(${SHIP}/${binary} bits)
  if(NOT bits STREQUAL 64)
    list(APPEND failures "${binary} is built for ${bits}-bit Windows, not 64-bit")
  endif()
  execute_process(COMMAND ${OBJDUMP} -p ${SHIP}/${binary} OUTPUT_VARIABLE binary_headers)
  hd66712_check_system_imports(${binary} "${binary_headers}" failures USER32 GDI32)
endforeach()
hd66712_check_version_strings(HD66712.dll ${SHIP}/HD66712.dll failures
  "FileDescription=HD66712 / HD44780 character LCD display driver (parallel port) (64-bit)"
  "FileVersion=${VERSION}" "OriginalFilename=HD66712.dll")
hd66712_check_version_strings(inpoutx64.dll ${SHIP}/virtual_port/inpoutx64.dll failures
  "FileDescription=Virtual LCD SIMULATOR for lcd_host - not a port library: writes no port (64-bit)")

set(ran "")
if(EMULATOR)
  file(REMOVE_RECURSE ${WORK})
  file(COPY ${SHIP}/ DESTINATION ${WORK})
  hd66712_run_shipped_lcd_host(${WORK} ${EMULATOR} failures test-pattern --output screen)
  set(ran "; lcd_host.exe ran the test pattern on them")
endif()

if(failures)
  string(REPLACE ";" "\n  " report "${failures}")
  message(FATAL_ERROR "64-bit files in ${SHIP}:\n  ${report}")
endif()
message(STATUS "64-bit files: ten exports at ordinals 1-10, x86-64, system imports only${ran}")
