// Entry points of the HD66712 / HD44780 character-LCD display plug-in, for
// the authors of host applications.
//
// A host loads the module, finds these entries by name and calls them one at
// a time, from one thread. On 32-bit Windows every entry uses the
// standard-call convention (__stdcall: arguments pushed right to left, 4
// bytes each, removed by the callee) and is also exported under its
// decorated name (name@argument-bytes, as DISPLAYDLL_Init@16); the 64-bit
// build has the one x64 convention.
//
// Order: DISPLAYDLL_Init first (it may be called again to change the size
// or chip), then any of PowerResume, SetPosition, Write, CustomChar, and
// DISPLAYDLL_Done last. Usage, DriverName, DefaultParameters and
// CustomCharIndex may be called at any time, also before Init.
//
// Texts are NUL-terminated 8-bit strings. Those the driver returns belong
// to it and stay valid while the module is loaded; the host does not free
// them. Positions count from 1: column 1, row 1 is the top left cell.
#ifndef DISPLAYDLL_H
#define DISPLAYDLL_H

#include <stdint.h>

#if defined(_WIN32)
#define DISPLAYDLL_CALL __stdcall
#else
#define DISPLAYDLL_CALL
#endif

#if defined(DISPLAYDLL_BUILDING) && !defined(_WIN32)
#define DISPLAYDLL_API __attribute__((visibility("default")))
#else
#define DISPLAYDLL_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

// The parameters' syntax, "HD66712 usage: LPT1,HD66712,Log".
DISPLAYDLL_API const char* DISPLAYDLL_CALL DISPLAYDLL_Usage(void);
// "HD66712 Display v" and the version.
DISPLAYDLL_API const char* DISPLAYDLL_CALL DISPLAYDLL_DriverName(void);
// "LPT1,HD66712".
DISPLAYDLL_API const char* DISPLAYDLL_CALL DISPLAYDLL_DefaultParameters(void);
// Loads the port library and sets the module up: the driver's name with *ok
// set to 1, or a failure message with *ok set to 0.
// parameters: the port (LPT1, LPT2 or 0x and hexadecimal digits), then
// after a comma the chip (HD66712 or HD44780), then "Log" at the very end
// for a diagnostic log.
DISPLAYDLL_API const char* DISPLAYDLL_CALL DISPLAYDLL_Init(uint8_t columns, uint8_t rows,
                                                           const char* parameters, uint8_t* ok);
// Sets the module up again after the PC resumed from standby.
DISPLAYDLL_API void DISPLAYDLL_CALL DISPLAYDLL_PowerResume(void);
// Clears the module and lets the port library go.
DISPLAYDLL_API void DISPLAYDLL_CALL DISPLAYDLL_Done(void);
// Text from the position on, wrapping at the end of each row.
DISPLAYDLL_API void DISPLAYDLL_CALL DISPLAYDLL_Write(const char* text);
// Where the next text goes, column and row from 1.
DISPLAYDLL_API void DISPLAYDLL_CALL DISPLAYDLL_SetPosition(uint8_t column, uint8_t row);
// Glyph 1 to 8 from its eight pixel rows, the top first (5 dots, bits 4-0).
// Call SetPosition before the next Write: until then the controller takes
// text as more glyph rows.
DISPLAYDLL_API void DISPLAYDLL_CALL DISPLAYDLL_CustomChar(uint8_t glyph, const uint8_t* glyph_rows);
// The character code that shows glyph 1 to 8 in a text (glyph 1 is 8).
DISPLAYDLL_API uint8_t DISPLAYDLL_CALL DISPLAYDLL_CustomCharIndex(uint8_t glyph);

// Pointer types for hosts that resolve the entries at run time.
typedef const char*(DISPLAYDLL_CALL* DISPLAYDLL_TextFn)(void);
typedef const char*(DISPLAYDLL_CALL* DISPLAYDLL_InitFn)(uint8_t, uint8_t, const char*, uint8_t*);
typedef void(DISPLAYDLL_CALL* DISPLAYDLL_VoidFn)(void);
typedef void(DISPLAYDLL_CALL* DISPLAYDLL_WriteFn)(const char*);
typedef void(DISPLAYDLL_CALL* DISPLAYDLL_SetPositionFn)(uint8_t, uint8_t);
typedef void(DISPLAYDLL_CALL* DISPLAYDLL_CustomCharFn)(uint8_t, const uint8_t*);
typedef uint8_t(DISPLAYDLL_CALL* DISPLAYDLL_CustomCharIndexFn)(uint8_t);

#ifdef __cplusplus
}
#endif

#endif  // DISPLAYDLL_H
