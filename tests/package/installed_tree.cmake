cmake_minimum_required(VERSION 3.25)
# The Linux tools as `cmake --install` lays them out, run from there with no
# library path set: lcd_host finds its driver and the virtual LCD, and in
# the port's modes the installed ppdev library; the launcher finds the
# virtual parallel port.
#   cmake -DBUILD=<build folder> -DWORK=<folder> -DTRIPLET=<x86_64-linux-gnu>
#     -P installed_tree.cmake
file(REMOVE_RECURSE ${WORK})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD} --prefix ${WORK}/usr
  OUTPUT_QUIET RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${status})")
endif()
set(bin ${WORK}/usr/bin)
set(plugins ${WORK}/usr/lib/${TRIPLET}/hd66712)
function(run expected_status expected_text)
  execute_process(COMMAND ${CMAKE_COMMAND} -E env --unset=LD_LIBRARY_PATH --unset=LD_PRELOAD
      --unset=HD_VLCD_PARPORT ${ARGN}
    WORKING_DIRECTORY ${WORK} RESULT_VARIABLE status OUTPUT_VARIABLE said ERROR_VARIABLE said)
  string(FIND "${said}" "${expected_text}" at)
  if(NOT status EQUAL expected_status OR at EQUAL -1)
    message(FATAL_ERROR "${ARGN}\nexited ${status} (expected ${expected_status}) and said:\n"
      "${said}\nexpected it to say: ${expected_text}")
  endif()
endfunction()

run(0 "│ HD66712 virtual│" ${bin}/lcd_host demo --chip HD44780 --columns 16 --rows 2 --output demo)
# No machine here has a port; the installed library is the one tried.
run(1 "Port library: ${plugins}/parport/inpout32.dll" ${bin}/lcd_host check-port)
run(0 "not a port: nothing reaches any port" ${bin}/virtual-lcd-run --no-live
  --device ${WORK}/parport -- sh -c "exec 3<>${WORK}/parport")
message(STATUS "the installed tree runs with no library path")
