cmake_minimum_required(VERSION 3.25)
# lcd_host as a user meets it: bad options named with exit status 2, runs
# that fail with 1 and write nothing, what a good run prints and saves, and
# nothing that misleads. Each case() is a test of its own (tests/CMakeLists
# lists them from this file); run with -DCASE=<name> it sets up its own
# folder, WORK, and runs that case alone.
# HD66712_CASE_UNDER names a program each case's run goes through (the
# valgrind lane's memcheck: ctest's own would check cmake, not lcd_host).
separate_arguments(under UNIX_COMMAND "$ENV{HD66712_CASE_UNDER}")
file(REMOVE_RECURSE ${WORK})
file(MAKE_DIRECTORY ${WORK}/a_folder)
set(failures "")

# <first>=<second>, split at the first "=".
function(split_pair pair first second)
  string(FIND "${pair}" "=" at)
  string(SUBSTRING "${pair}" 0 ${at} head)
  math(EXPR at "${at} + 1")
  string(SUBSTRING "${pair}" ${at} -1 tail)
  set(${first} "${head}" PARENT_SCOPE)
  set(${second} "${tail}" PARENT_SCOPE)
endfunction()

# case(<name> <status> <regex the output must match> [ABSENT <regex it must
#      not match>] [PROGRAM <path>] [IN <folder under WORK>] [INPUT <file in WORK>]
#      [LINK <name in WORK for a link to lcd_host>] <arguments...>
#      [SETUP <file>=<text>...] [ENV <name>=<value>...] [COPY <file>=<name in
#      WORK>...] [FIRST <lcd_host arguments>...]): in that order the files are
#      written, the variables set (an empty value unsets one), the files
#      copied, and lcd_host run first in WORK. INPUT may be an absolute path.
#      The lists come last.
function(case name status pattern)
  if(NOT name STREQUAL CASE)
    return()
  endif()
  cmake_parse_arguments(PARSE_ARGV 3 arg "" "ABSENT;PROGRAM;IN;INPUT;LINK"
    "SETUP;ENV;COPY;FIRST")
  foreach(file IN LISTS arg_SETUP)
    split_pair("${file}" path text)
    file(WRITE ${WORK}/${path} "${text}")
  endforeach()
  foreach(variable IN LISTS arg_ENV)
    split_pair("${variable}" key value)
    if(value STREQUAL "")
      unset(ENV{${key}})
    else()
      set(ENV{${key}} "${value}")
    endif()
  endforeach()
  foreach(copy IN LISTS arg_COPY)
    split_pair("${copy}" from to)
    file(COPY_FILE ${from} ${WORK}/${to})
  endforeach()
  if(arg_LINK)
    file(CREATE_LINK ${LCD_HOST} ${WORK}/${arg_LINK} SYMBOLIC)
  endif()
  if(arg_FIRST)
    execute_process(COMMAND ${LCD_HOST} ${arg_FIRST} WORKING_DIRECTORY ${WORK}
      OUTPUT_QUIET ERROR_QUIET)
  endif()
  set(program ${LCD_HOST})
  if(arg_PROGRAM)
    set(program ${arg_PROGRAM})
  endif()
  set(folder ${WORK})
  if(arg_IN)
    set(folder ${WORK}/${arg_IN})
    file(MAKE_DIRECTORY ${folder})
  endif()
  set(input /dev/null)
  if(arg_INPUT MATCHES "^/")
    set(input ${arg_INPUT})
  elseif(arg_INPUT)
    set(input ${WORK}/${arg_INPUT})
  endif()
  execute_process(COMMAND ${under} ${program} ${arg_UNPARSED_ARGUMENTS} WORKING_DIRECTORY ${folder}
    INPUT_FILE ${input} RESULT_VARIABLE result OUTPUT_VARIABLE output ERROR_VARIABLE output)
  if(NOT result STREQUAL "${status}" OR NOT output MATCHES "${pattern}")
    message(FATAL_ERROR "${name}: status ${result} (expected ${status}), output:\n${output}")
  endif()
  if(arg_ABSENT AND output MATCHES "${arg_ABSENT}")
    message(FATAL_ERROR "${name}: the output says what it must not (${arg_ABSENT}):\n${output}")
  endif()
  set(case_output "${output}" PARENT_SCOPE)
endfunction()

# files(<name> EXIST|ABSENT <files...>): what a case left in WORK.
function(files name expectation)
  if(NOT name STREQUAL CASE)
    return()
  endif()
  foreach(file IN LISTS ARGN)
    if(expectation STREQUAL EXIST AND NOT EXISTS ${WORK}/${file})
      message(FATAL_ERROR "${name}: ${file} was not written")
    elseif(expectation STREQUAL ABSENT AND EXISTS ${WORK}/${file})
      message(FATAL_ERROR "${name}: ${file} was written")
    endif()
  endforeach()
endfunction()

# file_says(<name> <file in WORK> <regex>): what a case left in a file.
function(file_says name file pattern)
  if(NOT name STREQUAL CASE)
    return()
  endif()
  file(READ ${WORK}/${file} text)
  if(NOT text MATCHES "${pattern}")
    message(FATAL_ERROR "${name}: ${file} does not match ${pattern}:\n${text}")
  endif()
endfunction()

# The options
case(help 0 "demo .*real-port .*position X Y.*wait MS" --help)
case(mode_help 0 "lcd_host wiring-walk.*--columns.*--step-ms" wiring-walk --help)
case(not_a_mode 2 "'demoo' is no mode of lcd_host: give demo, script, test-pattern, replay" demoo)
# The forms before the modes were subcommands still work, and say the new one.
case(old_form_session 0 "note: from this version on a mode is a subcommand: \"lcd_host \.\.\.\" is written \"lcd_host demo \.\.\.\".*│ HD66712 virtual│"
  --columns 16 --rows 2 --chip HD44780)
case(old_form_script 0 "\"lcd_host --script FILE \.\.\.\" is written \"lcd_host script FILE \.\.\.\".*│x       │"
  --columns 8 --rows 1 --chip HD44780 --script=x.lcd SETUP x.lcd=init\nwrite\ x\n)
case(old_form_replay 1 "\"lcd_host --replay LOG \.\.\.\" is written \"lcd_host replay LOG \.\.\.\".*x.lcd holds no driver session"
  --trace --replay x.lcd SETUP x.lcd=init\n)
# --script is the real-port run's option there, not a mode of its own.
case(old_form_real_port_with_a_script 2 "\"lcd_host --write-real-port \.\.\.\" is written \"lcd_host real-port \.\.\.\".*--params \"0x0FF,HD44780\": no parallel port sits at 0x0FF"
  --write-real-port --script s.lcd --params 0x0FF,HD44780 SETUP s.lcd=init\n)
case(old_form_check_port 2 "\"lcd_host --check-port \.\.\.\" is written \"lcd_host check-port \.\.\.\".*no parallel port sits at 0x000"
  --port 0x0 --check-port)
case(not_a_number 2 "--columns: 'abc' is not a decimal number" demo --columns abc)
case(negative 2 "--rows: '-1' is not a decimal number" demo --rows -1)
case(too_large 2 "--columns: '99999999999' is out of range \\(1 to 255\\)" demo --columns 99999999999)
case(no_columns 2 "--columns: '0' is out of range \\(1 to 255\\)" demo --columns 0)
case(option_given_twice 2 "--columns is given 2 times: give it once" demo --columns 16 --columns 20)
case(octal_looking_port 2 "--port: '0378' starts with 0" demo --port 0378)
case(chip_in_lower_case 2 "--chip: 'hd44780' is not a chip" demo --chip hd44780)
case(unknown_option 2 "--bogus" demo --bogus)
case(missing_value 2 "--columns" demo --columns)
case(script_is_a_folder 2 "SCRIPT: .*a_folder" script a_folder)
case(script_missing 2 "SCRIPT: .*missing.lcd" script missing.lcd)
case(options_a_replay_ignores 2 "--test-pattern" --replay a_folder/../session.txt --test-pattern
  SETUP session.txt=init\n)
case(window_with_a_replay 2 "--window" replay session.txt --window SETUP session.txt=init\n)
case(test_pattern_with_a_script 2 "--script|--test-pattern" test-pattern --script session.txt
  SETUP session.txt=init\n)

# Files lcd_host writes never replace one it reads, snapshots included.
case(output_replaces_the_script 2 "session.txt" script session.txt --output session
  SETUP session.txt=init\n)
case(snapshot_replaces_the_script 2 "virtual_lcd-1.txt" script virtual_lcd-1.txt
  SETUP virtual_lcd-1.txt=init\nsnapshot\n)
case(numbered_png_replaces_the_script 2 "shot-1.png" script shot-1.png --output shot
  SETUP shot-1.png=init\n)
case(output_is_a_folder 2 "--output: 'a_folder' is a folder" demo --output a_folder)
case(output_ends_in_a_separator 2 "--output: 'new/' is a folder" demo --output new/)
case(output_is_a_device 2 "--output: '/dev/null' is a device, not a file prefix" demo --output /dev/null)
# Screens that could not be saved are found before the run, which then
# neither starts nor writes anything.
case(unsaved_screen 1 "--output: cannot write in no/such/folder \\(No such file or directory\\)"
  ABSENT "HD66712 Display|Snapshot" test-pattern --output no/such/folder/x)
case(too_large_to_draw 2 "--columns and --rows: a 255x255 screen at scale 4 would be 6132x9192"
  ABSENT "HD66712 Display" demo --columns 255 --rows 255 --output huge)
files(too_large_to_draw ABSENT huge.txt huge.png)
# A page that fails later is named as a page: the built-in script's lines are
# not the user's.
case(test_pattern_page_unsaved 1 "lcd_host: page 2 of the test pattern could not be saved"
  ABSENT "line [0-9]+:" test-pattern --output p SETUP p-2.txt/folder=)

# Scripts as users write them
case(script_error_writes_nothing 1 "bad.lcd, line 3: position takes a column and a row"
  script bad.lcd --output bad_run SETUP bad.lcd=init\nwrite\ fine\nposition\ 1\n)
files(script_error_writes_nothing ABSENT bad_run.txt bad_run.png)
case(line_ends_converted_twice 0 "│x +│" script twice.lcd --columns 8 --rows 1 --chip HD44780
  SETUP twice.lcd=init\n\r\r\nwrite\ x\n)
case(old_mac_line_ends 0 "│x +│" script mac.lcd --columns 8 --rows 1 --chip HD44780
  SETUP mac.lcd=init\rwrite\ x\r)
case(script_ending_in_done 0
  "│bye +│\n└[^\n]*\n[^\n]*\nThis is the screen before the last byte, a clear display"
  script bye.lcd --columns 8 --rows 1 --chip HD44780 SETUP bye.lcd=init\nwrite\ bye\ndone\n)
case(write_before_init 1 "line 1: write before init" script early.lcd SETUP early.lcd=write\ x\n)
case(empty_script 0 "warning: empty.lcd, the script holds no commands" script empty.lcd
  SETUP empty.lcd=)
case(utf8_text 0 "warning: deg.lcd, line 2: \"°\" is UTF-8 text.*write \\\\xDF for \"°\" instead" script deg.lcd
  SETUP deg.lcd=init\nwrite\ 20°\n)
case(european_rom 0 "HD44780 with ROM A02.*│café °│.*ROM A02: " script cafe.lcd --columns 6
  --rows 1 --chip HD44780 --rom A02 SETUP cafe.lcd=init\nwrite\ caf\\xE9\ \\xB0\n)
case(rom_in_lower_case 2 "--rom: 'a02' is not a character ROM \\(A00 or A02" demo --rom a02)

# Settings the driver reads differently from what was meant
case(log_in_lower_case 0 "only when the text ends in exactly \"Log\"" demo --params LPT1,HD66712,log)
case(log_before_the_chip 0 "only when the text ends in exactly \"Log\"" demo --params LPT1,Log,HD66712)
case(port_in_lower_case 0 "the driver knows only LPT1 and LPT2, in capitals, and drives 0x378"
  demo --params lpt2,HD66712)
case(page_ms_with_a_script 2 "--page-ms: a --script has no pages, the test pattern has"
  real-port --script short.lcd --page-ms 5 SETUP short.lcd=init)
case(page_ms_on_the_virtual_lcd 2
  "--page-ms: lcd_host test-pattern does not take it \\(wiring-walk and real-port do\\)"
  test-pattern --page-ms 100)
case(port_named_lpt1 2 "--port: 'LPT1' is not .*write the address: 0x378 for LPT1" demo --port LPT1)
case(port_0x_alone 2 "--port: '0x': no hexadecimal digit follows 0x; a port address is 0x and its hexadecimal digits: 0x378 for LPT1, 0x278 for LPT2"
  demo --port 0x)
case(port_without_0x 2 "--port: '378' has no 0x: .* Write 0x378 for hexadecimal, or 0x17A for decimal 378"
  demo --port 378)
case(port_typo_in_params_warned 0
  "warning: --params \"0x3GC\": its hexadecimal digits stop at 'G', so the driver reads the port as 0x003"
  demo --params 0x3GC)
case(chip_word_after_a_space 0
  "warning: --params \"LPT1, HD44780\": the driver takes a chip only as HD66712 or HD44780, in capitals, right after the first comma; its match stops at ' ' \\(character 6\\), so it keeps HD66712"
  demo --params "LPT1, HD44780")
case(port_word_unknown 0
  "warning: --params \"378,HD44780\": the driver reads a port only as LPT1, LPT2 or 0x and hexadecimal digits, so it takes \"378\" as LPT1 and drives 0x378; for the address 0x378, write 0x378"
  demo --params 378,HD44780)
case(port_word_hexadecimal 0 "Screen written" ABSENT "reads a port only as" demo --params 0x3BC,HD44780)
case(port_word_serial 0 "takes \"COM1\" as LPT1 and drives 0x378; write the port's address \\(0x378 for LPT1"
  demo --params COM1)
case(chip_after_a_semicolon 0
  "warning: --params \"LPT1;HD44780\": the driver looks for the chip after a comma and finds none, so it keeps HD66712, the chip it starts with; write LPT1,HD44780"
  demo --params "LPT1;HD44780")
case(chip_word_cut_short 0 "\"HD4478\": .*its match stops at the end of the text" demo --params HD4478)
case(large_size_warned 0 "warning: 81 columns: a controller shows at most 80 cells a line"
  demo --columns 81 --rows 1)
case(two_rows_on_the_default_chip 0
  "set the controller up as an HD66712.*16x2 HD66712 module.*Choose HD44780 in the driver's parameters \\(LPT1,HD44780\\)"
  demo --columns 16 --rows 2)
case(one_row_on_the_default_chip 0 "Screen written" ABSENT "set the controller up"
  demo --columns 8 --rows 1)
case(chip_named_alone 0 "Screen written" ABSENT "set the controller up"
  demo --columns 16 --rows 2 --chip HD44780 --params HD44780)
case(chip_named_with_log 0 "Screen written" ABSENT "set the controller up|keeps"
  demo --columns 16 --rows 2 --chip HD44780 --params HD44780,Log)
case(four_rows_hd66712_set_up_as_hd44780 0
  "set the controller up as an HD44780.*Choose HD66712 in the driver's parameters \\(LPT2,HD66712\\)"
  demo --port 0x278 --params LPT2,HD44780)
case(wrong_port 0 "No byte reached the module: the driver wrote to 0x27A/0x278; the virtual module is at 0x378"
  demo --params LPT2,HD66712)
case(parameters_from_lpt2 0 "parameters \"LPT2,HD44780\"\n┌" demo --port 0x278 --chip HD44780)
case(parameters_from_an_address 0 "parameters \"0x3BC,HD66712\"\n┌" demo --port 0x3bc)
case(window_outside_windows 2 "--window: the live window is shown on Windows only; without --window the screen is shown here and saved to files"
  ABSENT "Screen written|HD66712 Display"
  demo --window)

# What a run shows and saves
case(small_demo 0 "│ HD66712 virtual│\n│Load[^\n]*│\n└" demo --columns 16 --rows 2 --chip HD44780)
case(trace_and_snapshot 0
  "Snapshot 1:\n.*│AB +│.*instruction 0xC0 +\\+ +[0-9.]+ ms  set DDRAM address 0x40\n.*data        0x41 .*data 'A'"
  script good.lcd --columns 8 --rows 2 --chip HD44780 --trace --output traced
  SETUP good.lcd=init\nposition\ 1\ 2\nwrite\ AB\nsnapshot\ndone\n)
files(trace_and_snapshot EXIST traced-1.png traced.txt)
case(test_pattern_pages 0 "Snapshot 3:.*Snapshot 4:" test-pattern --columns 8 --rows 2
  --chip HD44780 --output pattern)
files(test_pattern_pages EXIST pattern-1.png pattern-4.txt pattern.png)
# A run leaves only the files it announced: no probe, no stray snapshot.
case(only_announced_files 0 "Screen written to shots/p.txt" test-pattern --columns 8 --rows 1
  --chip HD44780 --output shots/p SETUP shots/.keep=)
if(CASE STREQUAL only_announced_files)
  string(REGEX MATCHALL "shots/p[-0-9]*\\.(txt|png)" announced "${case_output}")
  file(GLOB left RELATIVE ${WORK} ${WORK}/shots/*)
  list(REMOVE_ITEM left shots/.keep)
  list(SORT announced)
  list(SORT left)
  if(NOT left STREQUAL announced)
    message(FATAL_ERROR "only_announced_files: announced ${announced}, left ${left}")
  endif()
endif()
# The driver cannot open its log ("logs" is a file here) and says so
# without a line end: its words stay off the screen's frame.
case(driver_message_apart 0 "driver printed: Failed to open ini file\n┌"
  demo --params LPT1,HD66712,Log SETUP logs=not\ a\ folder)

# Through a link from another folder, and modules named as users name them
case(through_a_link 0 "Screen written" PROGRAM ${WORK}/linked_lcd_host IN elsewhere
  LINK linked_lcd_host)
case(module_in_the_current_folder 0 "Screen written" demo --module mydriver.so
  COPY ${DRIVER}=mydriver.so)
case(module_missing 1 "cannot load the driver module nodriver.so: .*No such file"
  demo --module nodriver.so)

# Replays
case(replay_of_a_failed_init 0 "DISPLAYDLL_Init failed: the log shows no port library loaded"
  replay failed.log
  SETUP "failed.log=17:04:05 15/01/26 dp_open_log : HD66712 Initialising\r\n17:04:05 15/01/26 Init : Called \r\n")
files(replay_of_a_failed_init ABSENT virtual_lcd.txt virtual_lcd.png)
case(replay 0 "before the driver shut down and cleared it:\n[^\n]*\n│ HD66712 virtual LCD│"
  replay logs/HD66712.log --output replayed FIRST demo --params LPT1,HD66712,Log --output logged)
files(replay EXIST replayed.txt)
# A function set for 4-bit transfers garbles what follows it, and is said;
# the trace shows the bytes the module took.
case(replay_switching_to_four_bits 0
  "Line 3's function set switched the controller to 4-bit transfers, which this driver never asks for.*\n      1  instruction 0x28  [^\n]*function set: 4-bit"
  replay four.log --trace
  SETUP "four.log=17:04:05 15/01/26 dp_open_log : HD66712 Initialising\r\n17:04:05 15/01/26 Init : inpout32.dll loaded\r\n17:04:05 15/01/26 WriteC :  40 (0x28) (\r\n17:04:05 15/01/26 WriteD :  65 (0x41) A\r\n")
# Of several sessions, the last one's screen is saved.
case(replay_of_two_sessions 0 "Session of lines 1-.*Session of lines 5-.*Screen written"
  replay two.log --output last
  SETUP "two.log=17:04:05 15/01/26 dp_open_log : HD66712 Initialising\r\n17:04:05 15/01/26 Init : inpout32.dll loaded\r\n17:04:05 15/01/26 WriteC :  12 (0x0c) '?'\r\n17:04:05 15/01/26 WriteD :  65 (0x41) 'A'\r\n17:04:06 15/01/26 dp_open_log : HD66712 Initialising\r\n17:04:06 15/01/26 Init : inpout32.dll loaded\r\n17:04:06 15/01/26 WriteC :  12 (0x0c) '?'\r\n17:04:06 15/01/26 WriteD :  66 (0x42) 'B'\r\n")
file_says(replay_of_two_sessions last.txt "│B")
# A script that shuts the driver down itself is not followed by a second
# shut-down at exit, which its log would show as an empty session.
case(replay_of_a_script_ending_in_done 0 "Session of lines 1-[0-9]+ [^\n]*\n[^\n]*\n│ends here"
  ABSENT "Session of lines.*Session of lines" replay logs/HD66712.log
  SETUP ends.lcd=init\nwrite\ ends\ here\ndone\n
  FIRST script ends.lcd --params LPT1,HD66712,Log)
# A replay takes the module each session's Init recorded, unless told.
case(replay_of_a_16x2_log 0
  "Session of lines 1-[0-9]+ on a 16x2 HD44780 with ROM A00 \\(its size and chip as its Init recorded\\)"
  ABSENT "Choose HD66712" replay logs/HD66712.log FIRST demo --params LPT1,HD44780,Log --columns 16 --rows 2 --chip HD44780)
case(replay_of_a_16x2_log_as_told 0
  "on a 20x2 HD44780 with ROM A00 \\(its rows and chip as its Init recorded\\), "
  replay logs/HD66712.log --columns 20 FIRST demo --params LPT1,HD44780,Log --columns 16 --rows 2 --chip HD44780)

# Input that never ends, or is no text, is refused with its reason and in
# bounded memory (the line reader's own test pins the limits).
case(script_that_never_ends 1 "/dev/zero, line 1 goes on past 1 MiB without a line end"
  script /dev/zero)
case(replay_that_never_ends 1 "/dev/zero: line 1 goes on past 64 KiB without a line end"
  replay /dev/zero)
# Random bytes, the same each run: a seeded megabyte of every byte but zero
# (which CMake strings cannot hold). Read fresh from /dev/urandom they
# began, now and then, like UTF-16, and were rightly refused as such: kept
# as the second case.
if(CASE MATCHES "^replay_of_(random|utf16_looking)_bytes$")
  set(every_byte "")
  foreach(code RANGE 1 255)
    string(ASCII ${code} byte)
    string(APPEND every_byte "${byte}")
  endforeach()
  string(RANDOM LENGTH 1200000 ALPHABET "${every_byte}" RANDOM_SEED 66712 bytes)
  file(WRITE ${WORK}/random.log "${bytes}")
  string(ASCII 255 254 utf16_mark)
  file(WRITE ${WORK}/utf16_looking.log "${utf16_mark}${bytes}")
endif()
case(replay_of_random_bytes 1
  "and [0-9]+ more lines that could not be read.*a megabyte without a driver log line.*holds no driver session"
  replay random.log)
case(replay_of_utf16_looking_bytes 1 "utf16_looking.log: the driver log is UTF-16"
  replay utf16_looking.log)

# The real port: no virtual LCD is loaded, so the driver finds the library
# the user installed, here a stand-in under the name it looks for. The port
# check, the walk and the real-port run meet stand-ins that answer as a
# port does, as no port does, and as an inpout32 without its driver; a dead
# port stops each of them before anything is driven.
set(ENV{LD_LIBRARY_PATH} ${WORK})
case(real_port 0 "Data register at 0x378: wrote 0x00 0x55 0xAA 0xFF, read 0x00 0x55 0xAA 0xFF\nlcd_host: writing the REAL parallel port as \"LPT1,HD44780\" says.*found: [^\n]*/inpout32.dll.*sent: write hi\n2 commands sent"
  real-port --script short.lcd --columns 8 --rows 1 --chip HD44780
  SETUP short.lcd=init\nwrite\ hi\n COPY ${PORT_PRESENT}=inpout32.dll)
if(CASE STREQUAL real_port)
  file(STRINGS ${WORK}/port_trace.txt writes REGEX "^write port_present 888 104 ")
  if(NOT writes)
    message(FATAL_ERROR "real_port: the stand-in library never received the 'h'")
  endif()
endif()
# The port checked is the one the driver's parameters choose, not --port.
case(real_port_params_elsewhere 0 "checking the port at 0x278 before the driver writes it.*Data register at 0x278: wrote"
  ABSENT "at 0x378" real-port --script short.lcd --port 0x378 --params 0x278,HD44780
  SETUP short.lcd=init\nwrite\ hi\n COPY ${PORT_PRESENT}=inpout32.dll)
file_says(real_port_params_elsewhere port_trace.txt "write port_present 632 104 ")
# The 2-row reminder comes only when the parameters keep the HD66712 setting.
case(real_port_two_rows_on_hd44780 0
  "16x2, the driver setting the controller up as an HD44780\n.*2 commands sent"
  ABSENT "needs the driver's HD44780"
  real-port --script short.lcd --columns 16 --rows 2 --params LPT1,HD44780,Log
  SETUP short.lcd=init\nwrite\ hi\n COPY ${PORT_PRESENT}=inpout32.dll)
case(real_port_two_rows_on_hd66712 0
  "warning: a 2-row module needs the driver's HD44780 setting .*\"LPT1,HD66712\" keeps HD66712"
  real-port --script short.lcd --columns 16 --rows 2 SETUP short.lcd=init\nwrite\ hi\n COPY ${PORT_PRESENT}=inpout32.dll)
case(real_port_refuses_the_simulator 1
  "inpout32.dll is the virtual LCD's library, a simulator that writes no port"
  ABSENT "writing the REAL" real-port --script short.lcd SETUP short.lcd=init\n COPY ${VIRTUAL_PORT}=inpout32.dll)
case(check_port_present 0
  "Port library: [^\n]*/inpout32.dll \\(entries Inp32 and Out32\\)\nThe port library's driver is open.*Control register \\(bits 2-3; E and R/W held low\\) at 0x37A: wrote 0x03 0x07 0x0B 0x0F, read 0x03 0x07 0x0B 0x0F\na parallel port answers at 0x378\n"
  check-port COPY ${PORT_PRESENT}=inpout32.dll)
# The check drives neither E nor R/W: every control write keeps Strobe and
# Auto-feed set (their lines low), so a module latches nothing.
if(CASE STREQUAL check_port_present)
  file(STRINGS ${WORK}/port_trace.txt control_writes REGEX "^write port_present 890 ")
  foreach(write IN LISTS control_writes)
    string(REGEX REPLACE "^write port_present 890 ([0-9]+).*" "\\1" value "${write}")
    math(EXPR lines_low "${value} & 3")
    if(NOT lines_low EQUAL 3)
      message(FATAL_ERROR "check_port_present: the check drove E or R/W high: ${write}")
    endif()
  endforeach()
  if(NOT control_writes)
    message(FATAL_ERROR "check_port_present: no control write recorded")
  endif()
endif()
case(check_port_absent 1 "read 0xFF 0xFF 0xFF 0xFF.*no port answers at 0x3BC.*I/O Range.*USB-to-parallel"
  check-port --port 0x3bc COPY ${RECORDER}=inpout32.dll)
case(wiring_walk_absent 1 "no port answers at 0x378" ABSENT "high:|Every signal" wiring-walk --step-ms 0 COPY ${RECORDER}=inpout32.dll)
case(real_port_absent 1 "no port answers at 0x378" ABSENT "sent:" real-port COPY ${RECORDER}=inpout32.dll)
# A port that dies midway stops the walk at the step whose read-back fails.
case(wiring_walk_port_dies 1
  "pin 4 \\(D2\\) high.*wrote 0x08 to the data register and read 0xFF back, so the walk stops"
  ABSENT "pin 5 \\(D3\\) high|Every signal walked" wiring-walk --step-ms 0
  COPY ${PORT_DIES}=inpout32.dll)
case(check_port_driver_closed 1
  "the port library's driver is not open: it is not installed, or Windows refused it.*Memory integrity"
  ABSENT "answers|Data register" check-port COPY ${PORT_DRIVER_CLOSED}=inpout32.dll)
# On a real port the walk saves no screens, so an output it could not write
# to stops nothing.
case(wiring_walk_on_a_port 0 "Every signal walked.*commands sent" ABSENT "--output"
  wiring-walk --step-ms 0 --page-ms 0 --columns 8 --rows 1 --output no_such_folder/shot
  COPY ${PORT_PRESENT}=inpout32.dll)
case(wiring_walk_driver_closed 1 "the port library's driver is not open" ABSENT "high:|Data register"
  wiring-walk --step-ms 0 COPY ${PORT_DRIVER_CLOSED}=inpout32.dll)
case(real_port_driver_closed 1 "the port library's driver is not open" ABSENT "sent:|Data register"
  real-port COPY ${PORT_DRIVER_CLOSED}=inpout32.dll)
case(check_port_refuses_the_simulator 1 "is the virtual LCD's library, a simulator"
  check-port --port-library ${VIRTUAL_PORT})
# Each mode names the ways it has: the real-port run takes no --port-library.
case(check_port_finds_nothing 1
  "no port library found: .*install one, name it with --port-library, or check what a host in a folder DIR would load with --host-folder DIR\\. This build's port library, which drives /dev/parportN through ppdev, is [^\n]*/parport/inpout32.dll: put its folder on the library path \\(LD_LIBRARY_PATH=[^\n]*/parport\\)"
  check-port)
case(real_port_finds_nothing 1 "no port library found: .*install one\\. This build's port library"
  ABSENT "--port-library|--host-folder" real-port)
# An address no parallel port has, typed or made by a typo, is refused
# before any library is looked for, let alone written.
case(check_port_at_zero 2 "--port: no parallel port sits at 0x000: addresses below 0x100"
  ABSENT "port library" check-port --port 0x0)
case(check_port_at_0x100 1 "no port library found" ABSENT "no parallel port sits"
  check-port --port 0x100)
case(real_port_params_without_digits 2
  "--params \"0xZZZ\": no hexadecimal digit follows 0x, so the driver reads the port as 0x000; nothing was written"
  ABSENT "port library" real-port --params 0xZZZ)
case(real_port_params_wider_than_a_port 2
  "\"0x10378,HD44780\": 0x10378 is wider than a port address \\(16 bits\\), so the driver reads the port as 0x378"
  ABSENT "port library" real-port --params 0x10378,HD44780)
case(wiring_walk_params_below_0x100 2 "--params \"0x0FF,HD44780\": no parallel port sits at 0x0FF"
  ABSENT "port library" wiring-walk --step-ms 0 --params 0x0FF,HD44780)
# As a host would: plug-ins in a subfolder, the port library beside them.
case(host_folder_and_a_named_library 2 "--host-folder and --port-library: the one finds the library as a host would, the other names it; give one"
  ABSENT "Port library" check-port --host-folder host --port-library host/inpout32.dll
  SETUP host/inpout32.dll=MZ)
case(host_folder_with_the_library_beside_a_plug_in 1
  "no port library found: a driver in a host at host finds none of inpout32.dll, dlportio.dll where the system looks \\([^)]*\\)\\. host/displays/dlportio.dll is in a subfolder \\(beside a plug-in\\?\\), where the system does not look: put its folder on the library path \\(LD_LIBRARY_PATH=host/displays\\)"
  ABSENT "Data register" check-port --host-folder host SETUP host/displays/dlportio.dll=MZ)
case(check_port_library_that_is_text 1 "notes.dll is not a port library: it is no library at all"
  ABSENT "bit library" check-port --port-library notes.dll SETUP notes.dll=hello)
case(check_port_with_a_script 2 "--script" check-port --script x.lcd SETUP x.lcd=init\n)
# The Linux port library in each state a real device can be in, on the fake
# device: the check ends with the cause and its fix, and neither the walk
# nor a real-port run drives anything, or goes on once the device fails.
get_filename_component(ppdev_folder ${PPDEV_PORT} DIRECTORY)
# A sanitized lcd_host would otherwise refuse a library loaded before its runtime.
set(fake_parport LD_LIBRARY_PATH=${ppdev_folder} HD_PARPORT=${WORK}/fake_parport0
  LD_PRELOAD=${FAKE_PARPORT} ASAN_OPTIONS=verify_asan_link_order=0)
case(linux_port_check_absent 1
  "nothing reaches the port: [^\n]*fake_parport0 \\(named by HD_PARPORT\\): no parallel port there. Load the port's drivers \\(sudo modprobe parport_pc, then sudo modprobe ppdev\\).*BIOS/UEFI.*base-addr"
  ABSENT "no port answers|Data register|Linux parallel port" check-port ENV ${fake_parport} FAKE_PARPORT_FAIL=open=ENOENT)
case(linux_port_check_denied 1 "fake_parport0 \\(named by HD_PARPORT\\): permission denied. Add your user to the lp group"
  ABSENT "no port answers|Data register|Linux parallel port" check-port ENV ${fake_parport} FAKE_PARPORT_FAIL=open=EACCES)
case(linux_port_check_busy 1 "the port is busy, held by another program \\(find it with fuser -v [^\n]*fake_parport0\\) or by the printer driver lp \\(sudo rmmod lp\\) \\(waited 3.0 s for it to let go\\)"
  ABSENT "no port answers|Data register|Linux parallel port" check-port ENV ${fake_parport} FAKE_PARPORT_FAIL=claim=WAIT)
case(linux_port_check_held_exclusively 1 "fake_parport0 \\(named by HD_PARPORT\\): the port is held exclusively by another program"
  ABSENT "no parallel port there|Data register" check-port ENV ${fake_parport} FAKE_PARPORT_FAIL=claim=ENXIO)
case(linux_port_check_not_a_port 1 "/dev/null \\(named by HD_PARPORT\\) is not a parallel port device"
  ABSENT "no port answers" check-port ENV ${fake_parport} HD_PARPORT=/dev/null LD_PRELOAD=)
case(linux_port_walk_denied 1 "nothing reaches the port: .*permission denied" ABSENT "high:|Every signal"
  wiring-walk --step-ms 0 ENV ${fake_parport} FAKE_PARPORT_FAIL=open=EACCES)
case(linux_port_real_busy 1 "nothing reaches the port: .*the port is busy" ABSENT "sent:"
  real-port ENV ${fake_parport} FAKE_PARPORT_FAIL=claim=WAIT)
case(linux_port_real_dies 1 "sent: glyph [^\n]*\n.*lcd_host: nothing reaches the port: [^\n]*a register write failed: Input/output error"
  ABSENT "commands sent" real-port --columns 20 --rows 4 --chip HD44780 ENV ${fake_parport} FAKE_PARPORT_FAIL=write=EIO@300)
# End to end on Linux: the driver writes through the Linux port library to a
# fake device that drives a virtual module; its screen shows the pattern.
case(real_port_through_the_linux_library 0 "commands sent"
  real-port --columns 20 --rows 4 --chip HD44780 --page-ms 1
  ENV ${fake_parport} FAKE_PARPORT_SCREEN=${WORK}/fake_screen)
if(CASE STREQUAL real_port_through_the_linux_library)
  set(rows "")
  foreach(row 1 2 3 4)
    string(APPEND rows "│R${row}:45678901234567890│\n")
  endforeach()
  file(READ ${WORK}/fake_screen.txt screen)
  string(FIND "${screen}" "┐\n${rows}└" at)
  if(at EQUAL -1 OR NOT screen MATCHES ", 0 timing violations")
    message(FATAL_ERROR "the fake device's module does not show the test pattern:\n${screen}")
  endif()
endif()
# The port check through the Linux library on the virtual parallel port,
# which answers as the kernel does: the module on its pins latches nothing.
case(check_port_on_the_virtual_parport 0 "a parallel port answers at 0x378" check-port
  ENV LD_LIBRARY_PATH=${ppdev_folder} HD_PARPORT=${WORK}/parport9 HD_VLCD_PARPORT=${WORK}/parport9
  HD_VLCD_OUTPUT=${WORK}/module LD_PRELOAD=${VIRTUAL_PARPORT} ASAN_OPTIONS=verify_asan_link_order=0)
file_says(check_port_on_the_virtual_parport module.txt
  ": 0 bytes \\(0 instructions, 0 data\\) in [0-9.]+ ms, 0 timing violations")
case(wiring_walk_on_the_virtual_lcd 0
  "DB-25 pin 5 \\(D3\\) high: LCD pin 10 \\(DB3\\) should now read \\+5 V against LCD pin 1 \\(VSS, ground\\)\n  the virtual module sees high: DB3\n.*DB-25 pin 1 \\(Strobe\\) high: LCD pin 6 \\(E\\).*\n  the virtual module sees high: E\n.*│R1:45678│\n│R2:45678│\n└"
  ABSENT "not what this step drives|not saved"
  wiring-walk --port-library ${VIRTUAL_PORT} --step-ms 0 --columns 8 --rows 2 --chip HD44780)
case(wiring_walk_waits_for_enter 0 "Press Enter for the next pin.*Every signal walked"
  wiring-walk --port-library ${VIRTUAL_PORT} --columns 8 --rows 1 --chip HD44780
  INPUT enters SETUP enters=\n\n\n\n\n\n\n\n\n\n\n)
case(wiring_walk_without_input 1 "standard input ended before the walk did"
  wiring-walk --port-library ${VIRTUAL_PORT})
case(wiring_walk_on_endless_input 1 "a line longer than any answer \\(256 characters\\) on standard input"
  ABSENT "DB-25 pin 3" wiring-walk --port-library ${VIRTUAL_PORT} INPUT /dev/zero)
case(step_ms_without_a_walk 2 "--step-ms: lcd_host demo does not take it \\(wiring-walk does\\)" demo --step-ms 5)
case(two_modes 2 "--check-port and --wiring-walk are two modes: give one" --check-port --wiring-walk)
# A mode refuses an option it does not take, naming the modes that do.
case(real_port_without_virtual_lcd 2 "--trace: lcd_host real-port does not take it \\(demo, script, test-pattern, replay and run do\\)"
  real-port --trace)

# virtual-lcd-run, the launcher: a bad option is named with status 2, a
# program that cannot be run is said with a shell's 127, and without a
# terminal it only sets the program up (here a shell that shows it).
case(launcher_bad_cable 2 "--cable: 'nonsense' is not a cable \\(ours, lcdproc-winamp"
  PROGRAM ${VIRTUAL_LCD_RUN} --cable nonsense -- true)
case(launcher_without_a_program 2 "name the program to run" PROGRAM ${VIRTUAL_LCD_RUN})
case(launcher_program_missing 127 "cannot run ./missing: No such file or directory"
  PROGRAM ${VIRTUAL_LCD_RUN} -- ./missing)
case(launcher_sets_up_the_program 0
  "HD_VLCD_PARPORT=/dev/parport3 HD_VLCD_CABLE=lcdproc-4bit HD_VLCD_ROWS=2 [^\n]*virtual_parport.so"
  PROGRAM ${VIRTUAL_LCD_RUN} --device /dev/parport3 --rows 2 --cable lcdproc-4bit --no-live
  -- sh -c "echo HD_VLCD_PARPORT=$HD_VLCD_PARPORT HD_VLCD_CABLE=$HD_VLCD_CABLE HD_VLCD_ROWS=$HD_VLCD_ROWS $LD_PRELOAD"
  ENV ASAN_OPTIONS=verify_asan_link_order=0)
# The same as lcd_host's run mode, on Linux.
case(run_mode_sets_up_the_program 0
  "HD_VLCD_PARPORT=/dev/parport3 HD_VLCD_CHIP=HD44780 [^\n]*virtual_parport.so"
  run --device /dev/parport3 --chip HD44780 --no-live
  -- sh -c "echo HD_VLCD_PARPORT=$HD_VLCD_PARPORT HD_VLCD_CHIP=$HD_VLCD_CHIP $LD_PRELOAD"
  ENV ASAN_OPTIONS=verify_asan_link_order=0)
case(run_mode_without_a_program 2 "lcd_host: name the program to run, as in: lcd_host run" run --chip HD44780)
