#!/usr/bin/env bash
# A small mutation check: plants one realistic fault at a time in a scratch
# copy of the driver's and the tools' sources, rebuilds the native lane
# there, runs the unit tests, then the module tests, then the tools'
# tests and lcd_host checks, and says whether the tests caught the fault.
# The last line is the share caught. Takes about half an hour.
#   scripts/mutate.sh            every fault below
#   scripts/mutate.sh PATTERN... only the faults whose line contains one of the PATTERNs
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
case "${1:-}" in
  -h | --help) sed -n '2,7p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
esac
filters=("$@")
matches() {
  ((${#filters[@]} == 0)) && return 0
  local pattern
  for pattern in "${filters[@]}"; do
    [[ "$1" == *"$pattern"* ]] && return 0
  done
  return 1
}

# One fault a line: "file: original text ~> faulty text". The original must
# occur exactly once in the file.
#
# Left out as equivalent or out of the tests' reach, on purpose:
# - text_output.cpp "position <= size" -> "position < size": at
#   position == size both branches give size - 1, so no input tells them apart.
# - a clock that runs slow (waits too long): only the benchmarks see it; the
#   tests bound waits from below and have no timed upper bounds, which would
#   flake on a busy machine.
# - screen.cpp "row - kSecondControllerFirstRow" -> "row" for a second
#   controller: an HD44780 shows rows 3-4 as its lines' second halves, which
#   on the 40-column modules that have two controllers wrap to the same cells.
# - report.cpp "last == '/' ||" dropped: an existing folder is still found by
#   is_directory, and a missing one cannot be written to either way.
# - port_notices.cpp "written >= device.progress.expected_bytes" -> ">": at
#   exactly the announced total the progress line says "N of N characters
#   written, about 0 s left" instead of "N bytes latched so far", both true;
#   a test would wait out the line's 2 s in real time.
faults=$(cat <<'LIST'
src/driver/startup_parameters.cpp: c >= 'a' && c <= 'f' ~> c >= 'a' && c < 'f'
src/driver/startup_parameters.cpp: c >= 'A' && c <= 'F' ~> c >= 'A' && c < 'F'
src/driver/startup_parameters.cpp: return length >= 3 && ~> return length > 3 &&
src/driver/startup_parameters.cpp: std::strcmp(parameters + length - 3, "Log") == 0 ~> std::strstr(parameters, "Log") != nullptr
src/driver/startup_parameters.cpp: nullptr, 10) == 2 ? ~> nullptr, 10) >= 2 ?
src/driver/startup_parameters.cpp: std::strtol(parameters + 3, nullptr, 10) ~> std::strtol(parameters + 3, nullptr, 0)
src/driver/startup_parameters.cpp: if (std::strncmp(name, "HD44780", 7) == 0) ~> if (std::strncmp(name, "HD44780", 6) == 0)
src/driver/startup_parameters.cpp: position < length; ~> position <= length;
src/driver/startup_parameters.cpp: return position + 1; ~> return position;
src/driver/startup_parameters.cpp: kLogSuffixLength = 4; ~> kLogSuffixLength = 3;
src/driver/lifecycle_entries.cpp:   if (ok != nullptr) *ok = 0; ~>
src/driver/lifecycle_entries.cpp:   WriteC(kClearDisplay); ~>
src/driver/driver_state.cpp: "%s%s", ~> "%s %s",
include/hd66712_port_libraries.h: {"inpout32_debug.dll", true, ~> {"inpout32_debug.dll", false,
src/port/port_backend.cpp: && !logging_requested) continue; ~> && logging_requested) continue;
src/port/port_backend.cpp: if (port_backend_record.read_port == nullptr) return candidate.read_missing; ~> if (port_backend_record.read_port == nullptr) return platform::LibraryFind(port_backend_record.library, candidate.write_entry) ? candidate.read_missing : candidate.write_missing;
src/port/port_backend.cpp: static_cast<int8_t>(value) ~> static_cast<uint8_t>(value)
src/lcd/controller_link.cpp: kInstructionStrobe = 0x02; ~> kInstructionStrobe = 0x03;
src/lcd/controller_link.cpp: kDataIdle = 0x0F; ~> kDataIdle = 0x0E;
src/lcd/controller_link.cpp: data_register + 2 ~> data_register + 1
include/hd66712_parameters.h: kBusSettleUs = 40; ~> kBusSettleUs = 39;
src/lcd/controller_link.cpp: ClockTicks() - start <= target ~> ClockTicks() - start < target
src/lcd/controller_link.cpp: if (microseconds > 1000) ~> if (microseconds >= 1000)
src/lcd/controller_link.cpp: static_cast<int64_t>(microseconds) * frequency / 1000000; ~> frequency / 1000000 * microseconds;
src/lcd/power_up.cpp: height == 4 ? ~> height >= 4 ?
src/lcd/power_up.cpp: height <= 1 ? ~> height < 1 ?
src/lcd/text_output.cpp: kHd66712RowPitch = 0x20; ~> kHd66712RowPitch = 0x40;
src/lcd/text_output.cpp: return display_config().width + column; ~> return kHd44780SecondLine + column;
src/lcd/text_output.cpp: cursor_state_record.column < display_config().width ~> cursor_state_record.column <= display_config().width
src/lcd/text_output.cpp: cursor_state_record.row >= display_config().height ~> cursor_state_record.row > display_config().height
src/lcd/text_output.cpp: position - 1 : size - 1; ~> position - 1 : size;
src/lcd/text_output.cpp: if (position == 0) return 0; ~>
src/lcd/text_output.cpp: dp_logf("SetPosition", "x=%d, y=%d", x, y); ~> dp_logf("SetPosition", "x=%d, y=%d", cursor_state_record.column + 1, cursor_state_record.row + 1);
src/lcd/custom_chars.cpp: kGlyphRows * (glyph - 1) ~> kGlyphRows * glyph
src/lcd/custom_chars.cpp: if (glyph == 1) return 8; ~> if (glyph == 1) return 0;
include/hd66712_log_format.h: "%H:%M:%S %d/%m/%y" ~> "%H:%M:%S %m/%d/%y"
src/log/diag_log.cpp: if (now != log_state_record.stamp_second) { ~> if (log_state_record.stamp_second < 0) {
include/hd66712_log_format.h: "%3u (0x%02x) '%c'" ~> "%3u (0x%2x) '%c'"
src/log/diag_log.cpp: if (text < 0 || length >= sizeof line) return false; ~> if (text < 0 || length > sizeof line) return false;
src/log/diag_log.cpp: std::fflush(file); ~>
src/platform/local_time_posix.cpp: localtime_r(&time, local) ~> gmtime_r(&time, local)
src/platform/clock_posix.cpp: * kNanosecondsPerSecond + now.tv_nsec; ~> * kNanosecondsPerSecond + now.tv_nsec * 2;
tools/virtual_lcd/number_text.cpp: number < low || number > high) { ~> number < low || number >= high) {
tools/virtual_lcd/number_text.cpp: digits.size() > 1 && digits[0] == '0' ~> digits.size() > 2 && digits[0] == '0'
tools/virtual_lcd/number_text.cpp: if (digits.empty() || digits[0] == '-' || digits[0] == '+') { ~> if (digits.empty()) {
tools/virtual_lcd/module_settings.cpp: if (columns > kDisplayRamCells) { ~> if (columns >= kDisplayRamCells) {
tools/virtual_lcd/module.h: return rows > kSecondControllerFirstRow && ~> return rows >= kSecondControllerFirstRow &&
tools/port_abi/port_registers.h: constexpr int kControlOffset = 2; ~> constexpr int kControlOffset = 1;
tools/virtual_lcd/report.cpp: if (module.rows <= 2) return Chip::HD44780; ~> if (module.rows < 2) return Chip::HD44780;
tools/virtual_lcd/virtual_lcd.cpp: if (byte & kExtensionBit) ++lcd.traffic.extension_function_sets; ~> if (byte & 0x08) ++lcd.traffic.extension_function_sets;
tools/virtual_lcd/model/controller.cpp: return row == 0 && column < kOneLineLength ? shifted : -1; ~> return column < kOneLineLength ? shifted : -1;
tools/virtual_lcd/model/controller.cpp:     c.increment = true; ~>
tools/virtual_lcd/model/controller.cpp: const int offset = row >= 2 ? columns : 0; ~> const int offset = row >= 2 ? 20 : 0;
tools/virtual_lcd/model/byte_meaning.cpp: (c.address & 0x3F) / 8 + 1 ~> (c.address & 0x3F) / 8
tools/virtual_lcd/model/byte_meaning.cpp: if (byte < 16) return ~> if (byte < 8) return
tools/host/session/script.cpp: if (word.size() > 2 || ~> if (word.size() > 3 ||
tools/host/session/script.cpp: text[i + 2] > '8' ~> text[i + 2] > '9'
tools/host/session/script.cpp: if (value == 0) return ~> if (value < 0) return
tools/host/session/text_lines.cpp: piece.remove_prefix(3); ~> piece.remove_prefix(2);
tools/host/session/script.cpp: c == '\r' || c == '\v' || c == '\f' ~> c == '\r' || c == '\f'
tools/host/session/script.cpp: if (info.needs_driver && !state.initialised) { ~> if (info.needs_driver && !state.ever_initialised) {
tools/host/session/log_replay.cpp: if (name == hd66712_log::kDone) { ~> if (name == "Bye") {
tools/host/session/log_replay.cpp: line_feed_byte = byte == '\n' || byte == '\r'; ~> line_feed_byte = false;
tools/host/session/log_replay.cpp: reading.host_text = CarriesHostText(name); ~> reading.host_text = CarriesHostText(name) && name.empty();
tools/host/session/log_replay.cpp: if (session.init_failed) { ~> if (false) {
tools/host/session/log_replay.cpp: if (stamp < reading.latest_stamp && replay.warnings.empty()) { ~> if (stamp > reading.latest_stamp && replay.warnings.empty()) {
tools/virtual_lcd/port_address.cpp: if (port == kLpt2Port) return "LPT2," + name; ~> if (port == kLpt2Port) return "LPT1," + name;
tools/host/command_line/output_files.cpp: base[stem.size()] == '-' && ~> base[stem.size()] == '_' &&
tools/virtual_lcd/report.cpp: if (last == '/' || last == '\\') return ~> if (last == '\\') return
tools/host/session/demo_script.cpp: if (rows >= 3) { ~> if (rows >= 2) {
tools/parport/ppdev_port.cpp: if (!ppdev_state.tried) Claim( ~> Claim(
tools/parport/ppdev_port.cpp: offset == 0 ? PPWDATA : PPWCONTROL ~> offset == 0 ? PPWCONTROL : PPWDATA
tools/parport/ppdev_port.cpp: Claim(static_cast<uint16_t>(port & ~3u)) ~> Claim(port)
tools/parport/ppdev_port.cpp: (failure.by_variable ? " (named by HD_PARPORT)" : "") ~> std::string()
tools/host/port/port_access.cpp: kControlOutputs = 0x0F; ~> kControlOutputs = 0xFF;
tools/host/port/port_access.cpp:   if (const Problem gone = CheckPortStillReached(library)) return gone; ~>
tools/host/modes/run_real_port.cpp: settings.session.after_command = [&library]() { return CheckPortStillReached(library); }; ~>
tools/virtual_lcd/virtual_lcd.cpp: if (lcd.findings.violations.size() < kViolationsKept) ~> if (lcd.findings.violations.size() <= kViolationsKept)
tools/virtual_lcd/virtual_lcd.cpp: ++lcd.traffic.violation_count; ~>
tools/virtual_lcd/report.cpp: if (lcd.traffic.violation_count > static_cast<int64_t>(kViolationsListed)) ~> if (lcd.traffic.violation_count >= static_cast<int64_t>(kViolationsListed))
tools/virtual_lcd/screen.cpp: return std::clamp(kWidestWindow / std::max(1, width_at_one), 1, kPictureScale); ~> return std::clamp(kWidestWindow / std::max(1, width_at_one), 1, kPictureScale + 1);
tools/virtual_lcd/screen.cpp: int64_t{columns} * (kCellWidth + 1) - 1) ~> int64_t{columns} * kCellWidth - 1)
tools/host/modes/run_replay.cpp:   AddTraceOption(*command, options); ~>
tools/virtual_lcd/virtual_lcd.cpp: lcd.cleared_from = lcd.controller; ~> lcd.cleared_from.reset();
tools/virtual_lcd/model/character_rom.cpp: return (rom == CharacterRom::A02 ? a02 : a00)[code]; ~> return (rom == CharacterRom::A00 ? a02 : a00)[code];
tools/virtual_lcd/virtual_lcd.cpp: lcd.controller.rom = module.rom; ~> lcd.controller.rom = CharacterRom::A00;
tools/host/session/rom_text.cpp: for (int code = 0x10; code <= 0xFF; ++code) { ~> for (int code = 0x80; code <= 0xFF; ++code) {
tools/virtual_lcd/module_settings.cpp: std::string { return RomName(module.rom); } ~> std::string { return ChipName(module.chip); }
tools/virtual_lcd/module_settings.cpp: *module = read; ~> *module = Module{};
tools/virtual_lcd/port_address.cpp: lower(text[2]) == 't'; ~> lower(text[2]) == 'p';
tools/virtual_lcd/module_settings.cpp: if (word.empty()) continue; ~>
tools/virtual_lcd/virtual_lcd.cpp: lcd.cleared_from.reset(); ~>
tools/host/session/session.cpp: *driver_open = true; ~>
tools/host/session/text_lines.cpp: if (line_.size() == limits_.longest_line) { ~> if (line_.size() > limits_.longest_line) {
tools/host/session/text_lines.cpp: const int more = crs_ > 0 ? crs_ - 1 : 0; ~> const int more = crs_;
tools/host/session/log_replay.cpp: replay.unreadable.size() < kUnreadableShown ~> replay.unreadable.size() <= kUnreadableShown
tools/host/command_line/parameter_warnings.cpp: digits.size() - first > 4 ~> digits.size() - first > 5
tools/host/port/port_access.cpp: if (port >= kLowestPortAddress) return std::nullopt; ~> if (port > kLowestPortAddress) return std::nullopt;
tools/parport/ppdev_port.cpp: return ports.empty() ? kDefaultDevice : ""; ~> return kDefaultDevice;
tools/virtual_parport/parport_model.cpp: client.exclusive_wanted && port.registered > 0 ~> client.exclusive_wanted && port.registered > 1
tools/host/port/port_access.cpp:   if (const Problem failed = CheckPortStillReached(library)) return failed; ~>
tools/host/modes/run_wiring_walk.cpp: if (back != signal.data) { ~> if (false) {
tools/virtual_parport/parport_model.cpp: vlcd::ReceiveClaim(port.lcd, ControlSeen(port), port.now()); ~>
tools/virtual_parport/parport_model.cpp: client.control = port.control; ~>
tools/virtual_lcd/virtual_lcd.cpp: lcd.bus.reading = High(now, kRw); ~> lcd.bus.reading = false;
tools/virtual_lcd/virtual_lcd.cpp: lcd.traffic.violation_count = counted; ~>
tools/virtual_lcd/virtual_lcd.cpp: ns - lcd.bus.enable_rose_ns < kDataDelayNs ~> ns - lcd.bus.enable_rose_ns < 0
tools/virtual_lcd/virtual_lcd.cpp: (ns < lcd.bus.busy_until_ns ? 0x80 : 0) ~> 0
tools/virtual_lcd/virtual_lcd.cpp: lcd.bus.busy_until_ns = ns + FinishDataRead(lcd.controller); ~> FinishDataRead(lcd.controller);
tools/virtual_lcd/virtual_lcd.cpp: (lcd.bus.second_nibble ? answer << 4 : answer) ~> (lcd.bus.second_nibble ? answer : answer << 4)
tools/virtual_lcd/model/controller.cpp: c.four_bit = !i.eight_bit; ~>
tools/virtual_lcd/model/instruction.cpp: i.right = byte & 0x04; ~> i.right = byte & 0x08;
tools/virtual_lcd/screen.cpp: screen.controller.blink_on && screen.blink_block ~> screen.controller.blink_on
tools/virtual_lcd/screen.cpp: dots[kCellHeight - 1] = 0x1F; ~> dots[kCellHeight - 2] = 0x1F;
tools/virtual_lcd/module_environment.cpp: c == '-' ? '_' ~> c == '_' ? '_'
tools/parport/ppdev_port.cpp: PpdevWrite(control, lines | lpt::kEnableBit); ~> PpdevWrite(control, lines);
tools/host/session/demo_script.cpp: "\\g3 42\\xB0" ~> "\\g3 42\\xDF"
tools/host/modes/run_real_port.cpp:   AddPageMsOption(*command, options); ~>
tools/host/read_command_line.cpp: (*chosen)->saves_screens == SavesScreens::Always) { ~> (*chosen)->saves_screens != SavesScreens::Never) {
tools/host/command_line/options.cpp: option->get_type_name() == "FILE") { ~> option->get_type_name() == "PATH") {
tools/host/main.cpp: mode->saves_screens != SavesScreens::OnTheSimulator) { ~> true) {
tools/host/modes/run_wiring_walk.cpp: return RunSessionOnVirtualLcd(pattern, settings, true, false); ~> return RunSessionOnVirtualLcd(pattern, settings, false, false);
tools/virtual_lcd/model/controller.cpp: kTwoLineLength = kDisplayRamCells / 2; ~> kTwoLineLength = kDisplayRamCells / 2 - 1;
tools/host/session/script.h: constexpr long kMaxWaitMs = 60000; ~> constexpr long kMaxWaitMs = 60001;
tools/virtual_parport/parport_model.cpp: __builtin_add_overflow(seconds_ns, micros_ns, &timeout_ns) || timeout_ns == 0) { ~> __builtin_add_overflow(seconds_ns, micros_ns, &timeout_ns)) {
tools/virtual_parport/parport_model.cpp:   return -EIO; ~>   return 0;
tools/virtual_parport/parport_model.cpp: DriveControl(port, kCompatibilityWriteControl); ~>
tools/virtual_parport/descriptors.cpp: if (--descriptors.holders[client] > 0) return 0; ~> if (--descriptors.holders[client] >= 0) return 0;
tools/virtual_parport/program_advice.cpp: major(status.st_rdev) == kPpdevMajor ~> major(status.st_rdev) != kPpdevMajor
tools/virtual_parport/preload.cpp: if (last == this_process || (last == 0 && device->maker == this_process)) { ~> if (device->maker == this_process) {
tools/virtual_lcd/cable.h: return (kControlPinsLow & ControlBit(line)) ? !bit : bit; ~> return bit;
tools/virtual_lcd/cable.cpp: width = value == "8" ? 8 : 4; ~> width = 8;
tools/virtual_lcd/cable.cpp: if (first.line != PortLine::None && first.line == second.line) { ~> if (first.line == second.line) {
tools/virtual_lcd/virtual_lcd.cpp: if (rs_setup < kAddressSetupNs || rw_setup < kAddressSetupNs) { ~> if (rs_setup < kAddressSetupNs) {
tools/virtual_lcd/virtual_lcd.cpp: !lcd.bus.first_nibble_read) { ~> lcd.bus.first_nibble_read) {
tools/virtual_lcd/virtual_lcd.cpp: if (enable && lcd.bus.enable_high && (rs_changed || rw_changed)) { ~> if (enable && lcd.bus.enable_high && rs_changed) {
tools/virtual_lcd/virtual_lcd.cpp: lcd.findings.by_rule = by_rule; ~>
tools/virtual_lcd/virtual_lcd.cpp: lcd.findings.latched.size() < kLatchedKept; ~> lcd.findings.latched.size() <= kLatchedKept;
tools/virtual_lcd/virtual_lcd.cpp: if (second.bus.enable_high) return ReceivePortRead(second, port, ns); ~>
tools/virtual_lcd/screen.h: constexpr int64_t kBlinkCycles = 102'400; ~> constexpr int64_t kBlinkCycles = 102'401;
tools/virtual_parport/live_view.cpp: if (controller.cursor_on) look += kUnderline; ~> if (controller.blink_on) look += kUnderline;
tools/host/command_line/parameter_warnings.cpp: word.rfind("0x", 0) == 0 || ~> word.rfind("0x", 0) == 1 ||
tools/host/session/log_replay.cpp: if (!four_bit && session.lcd.controller.four_bit && session.four_bit_line == 0) { ~> if (session.lcd.controller.four_bit && session.four_bit_line == 0) {
tools/host/command_line/old_forms.cpp: if (chosen == nullptr && script >= 0) { ~> if (script >= 0) {
tools/host/command_line/old_forms.cpp:       taken = 2; ~>       taken = 1;
tools/host/command_line/old_forms.cpp: if (first == "--help" || first == "-h") return std::nullopt; ~> if (first == "-h") return std::nullopt;
tools/host/port/own_files.cpp: return {fs::weakly_canonical(installed, missing), true}; ~> return {fs::weakly_canonical(installed, missing), false};
tools/host/port/port_access.cpp: if (library->handle == nullptr && own.installed && !own_library.empty()) { ~> if (library->handle == nullptr && !own_library.empty()) {
tools/host/read_command_line.cpp: if (option->count() > 1) { ~> if (option->count() > 2) {
tools/host/read_command_line.cpp: (takers.size() == 1 ? " does" : " do") ~> (takers.size() == 2 ? " does" : " do")
tools/host/read_command_line.cpp: std::none_of(modes->begin(), modes->end(), named) ~> std::any_of(modes->begin(), modes->end(), named)
tools/host/read_command_line.cpp: if (mark != form.arguments.end()) form.arguments.erase(mark); ~> if (mark != form.arguments.end() && mark == form.arguments.begin()) form.arguments.erase(mark);
tools/host/modes/run_check_port.cpp: command->count("--host-folder") > 0 && command->count("--port-library") > 0 ~> command->count("--host-folder") > 0 && command->count("--port-library") > 1
tools/host/modes/run_real_port.cpp: command->count("--script") > 0 && command->count("--page-ms") > 0 ~> command->count("--script") > 0 && command->count("--page-ms") > 1
tools/virtual_parport/launch.cpp: if (!launch->command.empty() && launch->command.front() == "--") { ~> if (false) {
LIST
)

scratch=build/mutate
tree=$scratch/tree
scripts/setup.sh >/dev/null || exit 1
rm -rf "$tree"
mkdir -p "$tree"
git ls-files -z | xargs -0 cp --parents -t "$tree"
echo "Building the unmutated copy in $tree/build ..."
cmake -S "$tree" -B "$tree/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null || exit 1
build() {
  cmake --build "$tree/build" -j "$(nproc)" --target unit_tests tools_tests module_tests lcd_host \
    ppdev_port fake_parport virtual_parport preload_tests virtual-lcd-run debian_documents >/dev/null 2>&1
}
run() { ctest --test-dir "$tree/build" -L "$1" -j 4 --timeout 120 --stop-on-failure >/dev/null 2>&1; }
if ! build || ! run unit || ! run module || ! run tools; then
  echo "mutate.sh: the unmutated copy does not pass its tests; fix that first" >&2
  exit 1
fi

caught=0 missed=0 stale=0
missed_list=()
while IFS= read -r line; do
  [ -n "$line" ] || continue
  matches "$line" || continue
  file=${line%%: *}
  rest=${line#*: }
  from=${rest%% ~>*}
  to=${rest#* ~>}
  to=${to# }
  cp "$tree/$file" "$scratch/original"
  count=$(grep -cF -- "$from" "$tree/$file")
  if [ "$count" != 1 ]; then
    echo "STALE   $line  (found $count times)"
    stale=$((stale + 1))
    continue
  fi
  original=$(cat "$scratch/original")
  printf '%s\n' "${original/"$from"/"$to"}" >"$tree/$file"
  if ! build; then
    verdict="caught (does not build)"
  elif ! run unit; then
    verdict="caught by unit tests"
  elif ! run module; then
    verdict="caught by module tests"
  elif ! run tools; then
    verdict="caught by the tools' tests"
  else
    verdict=""
  fi
  cp "$scratch/original" "$tree/$file"
  if [ -n "$verdict" ]; then
    caught=$((caught + 1))
    echo "caught  $file: $from  ->  $to   [$verdict]"
  else
    missed=$((missed + 1))
    missed_list+=("$line")
    echo "MISSED  $file: $from  ->  $to"
  fi
done <<<"$faults"
build >/dev/null

total=$((caught + missed))
((stale)) && echo "$stale faults no longer match the sources: update the list"
((missed)) && printf 'missed: %s\n' "${missed_list[@]}"
if ((total == 0)); then
  echo "no fault matched ${filters[*]}"
  exit 2
fi
echo "caught $caught of $total faults ($((100 * caught / total))%)"
((missed == 0 && stale == 0))
