cmake_minimum_required(VERSION 3.25)
# The 64-bit files the release zip carries come from the 64-bit lane's own
# build tree (configured here when it is not yet), so that the bytes
# shipped are the bytes that lane tests.
set(tree ${SOURCE_DIR}/build/win64)
if(NOT EXISTS ${tree}/CMakeCache.txt)
  execute_process(COMMAND ${CMAKE_COMMAND} --preset win64 WORKING_DIRECTORY ${SOURCE_DIR}
    RESULT_VARIABLE result)
  if(NOT result EQUAL 0)
    message(FATAL_ERROR "the 64-bit build for the release zip could not be configured")
  endif()
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${tree}
  --target HD66712 lcd_host virtual_lcd_port live_window RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the 64-bit files for the release zip could not be built")
endif()
