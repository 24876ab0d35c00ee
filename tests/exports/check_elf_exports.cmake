cmake_minimum_required(VERSION 3.25)
# The module must export the ten plain entry names and nothing else.
execute_process(COMMAND ${NM} -D --defined-only ${MODULE}
  OUTPUT_VARIABLE symbols RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "nm failed on ${MODULE}")
endif()
string(REGEX MATCHALL "[0-9a-f]+ [TDBRVWi] [^\n]+" lines "${symbols}")
set(names "")
foreach(line IN LISTS lines)
  string(REGEX REPLACE "^[0-9a-f]+ [A-Za-z] " "" name "${line}")
  list(APPEND names "${name}")
endforeach()
list(SORT names)
set(expected DISPLAYDLL_CustomChar DISPLAYDLL_CustomCharIndex DISPLAYDLL_DefaultParameters
  DISPLAYDLL_Done DISPLAYDLL_DriverName DISPLAYDLL_Init DISPLAYDLL_PowerResume
  DISPLAYDLL_SetPosition DISPLAYDLL_Usage DISPLAYDLL_Write)
if(NOT names STREQUAL expected)
  message(FATAL_ERROR "exported: ${names}\nexpected: ${expected}")
endif()
message(STATUS "exports: ${names}")
