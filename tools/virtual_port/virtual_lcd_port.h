// The virtual port library's control entries. Besides the port entries
// Inp32 and Out32 it exports these, which a host finds by name after loading
// the library by path. None of them throws or ends the host.
#ifndef VIRTUAL_LCD_VIRTUAL_LCD_PORT_H
#define VIRTUAL_LCD_VIRTUAL_LCD_PORT_H

#include <cstdint>

// Flags for VirtualLcd_Configure.
constexpr int kVirtualLcdTrace = 1;     // keep every latched byte for VirtualLcd_Trace
constexpr int kVirtualLcdProgress = 2;  // a line on standard error every few seconds

// Starts over with a fresh module of these settings (as vlcd::SettingsText
// writes them: "columns=16 rows=2 chip=HD44780 rom=A02", a setting left out
// keeping its default) at this port (0-0xFFFF); everything sent before is
// forgotten. Returns 0, changing nothing, when a setting is unknown, given
// twice or has a bad value.
constexpr char kVirtualLcdConfigure[] = "VirtualLcd_Configure";
using VirtualLcdConfigureFn = int (*)(const char* settings, int port, int flags);

// Why the last VirtualLcd_Configure returned 0, for a host to show; null
// when it did not.
constexpr char kVirtualLcdRefusal[] = "VirtualLcd_Refusal";
using VirtualLcdRefusalFn = const char* (*)();

// Writes the screen now to <prefix>.txt and <prefix>.png and returns the
// report: the framed screen, the summary line, notes and violations, and a
// last line saying where the files went or why they could not be written.
// Sets `saved` to 1 when both were written. The text stays valid until the
// next call.
constexpr char kVirtualLcdSnapshot[] = "VirtualLcd_Snapshot";
using VirtualLcdSnapshotFn = const char* (*)(const char* prefix, int* saved);

// The bytes latched since the last call, a line each, while tracing.
constexpr char kVirtualLcdTraceEntry[] = "VirtualLcd_Trace";
using VirtualLcdTraceFn = const char* (*)();

// Announces that `bytes` characters are coming in one write, so the
// progress line can show a total and the time left.
constexpr char kVirtualLcdExpect[] = "VirtualLcd_Expect";
using VirtualLcdExpectFn = void (*)(int64_t bytes);

// The levels on the virtual module's pins now (vlcd::PinLevels' bits), so a
// wiring walk can show what the module sees.
constexpr char kVirtualLcdPins[] = "VirtualLcd_Pins";
using VirtualLcdPinsFn = int (*)();

// Shows the screen live in a window of its own (on Windows, with the window's
// module beside the library). Returns null when it is shown, else why not.
constexpr char kVirtualLcdShowWindow[] = "VirtualLcd_ShowWindow";
using VirtualLcdShowWindowFn = const char* (*)();

#endif  // VIRTUAL_LCD_VIRTUAL_LCD_PORT_H
