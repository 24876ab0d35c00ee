// Entry points of the HD66712 / HD44780 character-LCD display plug-in.
//
// A host loads the module, finds these entries by name and calls them one at
// a time. On 32-bit Windows every entry uses the standard-call convention and
// is also exported under its decorated name (name@argument-bytes).
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

DISPLAYDLL_API const char* DISPLAYDLL_CALL DISPLAYDLL_Usage(void);
DISPLAYDLL_API const char* DISPLAYDLL_CALL DISPLAYDLL_DriverName(void);
DISPLAYDLL_API const char* DISPLAYDLL_CALL DISPLAYDLL_DefaultParameters(void);
DISPLAYDLL_API const char* DISPLAYDLL_CALL DISPLAYDLL_Init(uint8_t columns, uint8_t rows,
                                                           const char* parameters, uint8_t* ok);
DISPLAYDLL_API void DISPLAYDLL_CALL DISPLAYDLL_PowerResume(void);
DISPLAYDLL_API void DISPLAYDLL_CALL DISPLAYDLL_Done(void);
DISPLAYDLL_API void DISPLAYDLL_CALL DISPLAYDLL_Write(const char* text);
DISPLAYDLL_API void DISPLAYDLL_CALL DISPLAYDLL_SetPosition(uint8_t column, uint8_t row);
DISPLAYDLL_API void DISPLAYDLL_CALL DISPLAYDLL_CustomChar(uint8_t glyph, const uint8_t* glyph_rows);
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
