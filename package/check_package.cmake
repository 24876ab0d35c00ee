cmake_minimum_required(VERSION 3.25)
# Builds the release zip and checks it holds exactly the DLL, the guide and
# the licence.
file(REMOVE ${PACKAGE})
execute_process(COMMAND ${CPACK} --config ${BINARY_DIR}/CPackConfig.cmake
  WORKING_DIRECTORY ${BINARY_DIR} RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
if(NOT result EQUAL 0 OR NOT EXISTS ${PACKAGE})
  message(FATAL_ERROR "cpack did not make ${PACKAGE}:\n${output}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E tar tf ${PACKAGE} OUTPUT_VARIABLE listing RESULT_VARIABLE result)
string(REGEX REPLACE "\n$" "" listing "${listing}")
string(REPLACE "\n" ";" files "${listing}")
list(SORT files)
set(expected HD66712.dll LICENSE.txt README.txt)
if(NOT result EQUAL 0 OR NOT files STREQUAL expected)
  message(FATAL_ERROR "${PACKAGE} holds: ${files}\nexpected: ${expected}")
endif()
message(STATUS "${PACKAGE}: ${files}")
