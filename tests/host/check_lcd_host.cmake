cmake_minimum_required(VERSION 3.25)
# lcd_host as a user meets it: bad options named with exit status 2, runs
# that fail with 1 and write nothing, and what a good run prints and saves.
# Runs in WORK, a folder of its own.
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/a_folder)
file(WRITE ${WORK}/good.lcd "init\nposition 1 2\nwrite AB\nsnapshot\ndone\n")
file(WRITE ${WORK}/bad.lcd "init\nwrite fine\nposition 1\n")
file(WRITE ${WORK}/session.txt "init\n")

set(failures "")
# case(<name> <expected status> <regex the output must match> <arguments...>)
function(case name status pattern)
  execute_process(COMMAND ${LCD_HOST} ${ARGN} WORKING_DIRECTORY ${WORK}
    RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT result STREQUAL "${status}" OR NOT output MATCHES "${pattern}")
    set(failures "${failures}\n${name}: status ${result} (expected ${status}), output:\n${output}"
      PARENT_SCOPE)
  endif()
endfunction()

case(help 0 "--columns.*--trace" --help)
case(not_a_number 2 "--columns: 'abc' is not a decimal number" --columns abc)
case(negative 2 "--rows: '-1' is not a decimal number" --rows -1)
case(too_large 2 "--columns: '99999999999' is out of range \\(0 to 255\\)" --columns 99999999999)
case(octal_looking_port 2 "--port: '0378' starts with 0" --port 0378)
case(chip_in_lower_case 2 "--chip: 'hd44780' is not a chip" --chip hd44780)
case(unknown_option 2 "--bogus" --bogus)
case(missing_value 2 "--columns" --columns)
case(script_is_a_folder 1 "a_folder is a folder, not a file" --script a_folder)
case(script_missing 1 "cannot read missing.lcd" --script missing.lcd)
case(output_replaces_the_script 2 "session.txt would overwrite" --script session.txt --output session)
case(script_error_writes_nothing 1 "bad.lcd, line 3: position takes a column and a row"
  --script bad.lcd --output bad_run)
if(EXISTS ${WORK}/bad_run.txt OR EXISTS ${WORK}/bad_run.png)
  set(failures "${failures}\nscript_error_writes_nothing: the screen was saved")
endif()
case(unsaved_screen 1 "Could not write no/such/folder/x.txt" --output no/such/folder/x)
case(too_large_to_draw 1 "No huge.png: a 255x255 screen" --columns 255 --rows 255 --output huge)
case(large_size_warned 0 "warning: 81 columns: a controller shows at most 80 cells a line"
  --columns 81 --rows 1)
case(chip_disagrees 0 "warning: --params names HD66712 but the module is HD44780"
  --chip HD44780 --params LPT1,HD66712)
case(wrong_port 0 "No byte reached the module: the driver wrote to 0x27A/0x278; the virtual module is at 0x378"
  --params LPT2,HD66712)
case(parameters_from_lpt2 0 "parameters \"LPT2,HD44780\"\n┌" --port 0x278 --chip HD44780)
case(parameters_from_an_address 0 "parameters \"0x3BC,HD66712\"\n┌" --port 0x3bc)
case(small_demo 0 "│ HD66712 virtual│\n│Load[^\n]*│\n└" --columns 16 --rows 2 --chip HD44780)
case(trace_and_snapshot 0
  "Snapshot 1:\n.*│AB +│.*instruction 0xC0 +\\+ +[0-9.]+ ms  set DDRAM address 0x40\n.*data        0x41 .*data 'A'"
  --script good.lcd --columns 8 --rows 2 --chip HD44780 --trace --output traced)
if(NOT EXISTS ${WORK}/traced-1.png OR NOT EXISTS ${WORK}/traced.txt)
  set(failures "${failures}\ntrace_and_snapshot: traced-1.png or traced.txt missing")
endif()
case(logged_session 0 "Screen written" --params LPT1,HD66712,Log --output logged)
case(replay 0 "before the driver shut down and cleared it:\n[^\n]*\n│ HD66712 virtual LCD│"
  --replay logs/HD66712.log --output replayed)

# The real port: no virtual LCD is loaded, so the driver finds the library
# the user installed, here the recording stand-in under the name it looks for.
file(COPY_FILE ${RECORDER} ${WORK}/inpout32.dll)
file(WRITE ${WORK}/short.lcd "init\nwrite hi\n")
set(ENV{LD_LIBRARY_PATH} ${WORK})
case(real_port 0 "writing the REAL parallel port as \"LPT1,HD44780\" says.*sent: write hi\n2 commands sent"
  --write-real-port --script short.lcd --columns 8 --rows 1 --chip HD44780)
file(STRINGS ${WORK}/port_trace.txt writes REGEX "^write inpout32.dll 888 104 ")
if(NOT writes)
  set(failures "${failures}\nreal_port: the stand-in library never received the 'h'")
endif()
case(real_port_without_virtual_lcd 2 "--trace excludes --write-real-port|--write-real-port excludes --trace"
  --write-real-port --trace)

if(failures)
  message(FATAL_ERROR "lcd_host:${failures}")
endif()
message(STATUS "lcd_host: every case behaved")
