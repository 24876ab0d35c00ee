cmake_minimum_required(VERSION 3.25)
# A manual page names every long option the program's --help lists, and no
# option the program does not have.
#   cmake -DPROGRAM=<program> -DPAGE=<page.1> -P man_page_matches_help.cmake
execute_process(COMMAND ${PROGRAM} --help OUTPUT_VARIABLE help RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "${PROGRAM} --help exited ${status}")
endif()
file(READ ${PAGE} page)
# troff writes a hyphen as \-.
string(REPLACE "\\-" "-" page "${page}")
set(pattern "--[a-z][a-z-]*[a-z]")
string(REGEX MATCHALL "${pattern}" in_help "${help}")
string(REGEX MATCHALL "${pattern}" in_page "${page}")
list(REMOVE_DUPLICATES in_help)
list(REMOVE_DUPLICATES in_page)
set(missing ${in_help})
list(REMOVE_ITEM missing ${in_page})
set(unknown ${in_page})
list(REMOVE_ITEM unknown ${in_help})
if(missing OR unknown)
  message(FATAL_ERROR "${PAGE} is out of step with ${PROGRAM} --help:\n"
    "  options --help lists that the page does not name: ${missing}\n"
    "  options the page names that --help does not list: ${unknown}")
endif()
list(LENGTH in_help count)
message(STATUS "${PAGE} names all ${count} options of ${PROGRAM}")
