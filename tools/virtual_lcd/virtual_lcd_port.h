// The virtual port library's control entries. Besides the port entries
// Inp32 and Out32 it exports these, which a host finds by name after loading
// the library by path.
#ifndef VIRTUAL_LCD_VIRTUAL_LCD_PORT_H
#define VIRTUAL_LCD_VIRTUAL_LCD_PORT_H

// Starts over with a fresh module of this chip ("HD66712" or "HD44780"),
// size and port; everything sent before is forgotten.
constexpr char kVirtualLcdConfigure[] = "VirtualLcd_Configure";
using VirtualLcdConfigureFn = void (*)(const char* chip, int columns, int rows, int port);

// Writes the screen now to <prefix>.txt and <prefix>.png and returns the
// report: the framed screen, the summary line and any violations. The text
// stays valid until the next call.
constexpr char kVirtualLcdSnapshot[] = "VirtualLcd_Snapshot";
using VirtualLcdSnapshotFn = const char* (*)(const char* prefix);

#endif  // VIRTUAL_LCD_VIRTUAL_LCD_PORT_H
