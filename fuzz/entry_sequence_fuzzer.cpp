// Arbitrary sequences of entry calls with arbitrary arguments, on virtual
// time, with port libraries appearing and disappearing between calls.
// Every call is followed by the invariants a host relies on.
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <string>

#include "displaydll.h"
#include "driver_records.h"
#include "fuzz_checks.h"
#include "lcd/display_config.h"
#include "lcd/text_output.h"
#include "port/port_backend.h"

namespace {

// Hands out the input's bytes; zeros once it runs dry.
struct Input {
  const uint8_t* data;
  size_t size;
  uint8_t Byte() {
    if (size == 0) return 0;
    --size;
    return *data++;
  }
  // A text of up to 63 bytes of any value, cut at its first 0 by the driver.
  std::string Text() {
    std::string text(Byte() % 64, '\0');
    for (char& c : text) c = static_cast<char>(Byte());
    return text;
  }
};

int Largest(int32_t size) { return size > 0 ? size - 1 : 0; }

void CheckCursorAfterPosition(uint8_t x, uint8_t y) {
  const int32_t column = cursor_state().column;
  const int32_t row = cursor_state().row;
  FUZZ_CHECK(column >= -1 && column <= Largest(display_config().width), "clamped column");
  FUZZ_CHECK(row >= -1 && row <= Largest(display_config().height), "clamped row");
  FUZZ_CHECK(x > 0 || column == 0, "column 0 for x = 0");
  FUZZ_CHECK(y > 0 || row == 0, "row 0 for y = 0");
}

void Step(Input& in) {
  const uint8_t op = in.Byte() % 8;
  switch (op) {
    case 0: {
      const uint8_t columns = in.Byte();
      const uint8_t rows = in.Byte();
      const bool flag_pointer = in.Byte() & 1;
      const std::string parameters = in.Text();
      uint8_t ok = 0xAA;
      DISPLAYDLL_Init(columns, rows, in.Byte() & 1 ? nullptr : parameters.c_str(),
                      flag_pointer ? &ok : nullptr);
      if (flag_pointer) {
        FUZZ_CHECK(ok == 0 || ok == 1, "success flag is 0 or 1");
        FUZZ_CHECK(ok == 0 || PortBackendReady(), "success without a library");
      }
      break;
    }
    case 1:
      DISPLAYDLL_Done();
      FUZZ_CHECK(!PortBackendReady(), "library kept after Done");
      break;
    case 2:
      DISPLAYDLL_PowerResume();
      break;
    case 3: {
      const uint8_t x = in.Byte();
      const uint8_t y = in.Byte();
      DISPLAYDLL_SetPosition(x, y);
      CheckCursorAfterPosition(x, y);
      break;
    }
    case 4: {
      const std::string text = in.Text();
      const bool missing = in.Byte() & 1;
      const bool row_in_range =
          cursor_state().row >= 0 && cursor_state().row < display_config().height;
      DISPLAYDLL_Write(missing ? nullptr : text.c_str());
      if (!missing && !text.empty() && text[0] != '\0') {
        FUZZ_CHECK(
            cursor_state().column >= 0 && cursor_state().column <= Largest(display_config().width),
            "column after writing");
        FUZZ_CHECK(!row_in_range || (cursor_state().row >= 0 &&
                                     cursor_state().row <= Largest(display_config().height)),
                   "row after writing");
      }
      break;
    }
    case 5: {
      const uint8_t glyph = in.Byte();
      uint8_t rows[8];
      for (uint8_t& row : rows) row = in.Byte();
      DISPLAYDLL_CustomChar(glyph, in.Byte() & 1 ? nullptr : rows);
      break;
    }
    case 6: {
      const uint8_t glyph = in.Byte();
      const uint8_t code = DISPLAYDLL_CustomCharIndex(glyph);
      // Glyphs 1-8 from the table; any other number is one above its code.
      constexpr uint8_t kCodes[9] = {0, 8, 1, 2, 3, 4, 5, 6, 7};
      FUZZ_CHECK(glyph >= 1 && glyph <= 8 ? code == kCodes[glyph]
                                          : static_cast<uint8_t>(code + 1) == glyph,
                 "glyph code");
      break;
    }
    case 7: {
      // Port libraries appear, lose entries or vanish between calls.
      const uint8_t change = in.Byte();
      const char* name = kPortLibraryFiles[change % std::size(kPortLibraryFiles)].file_name;
      if (change & 0x80) {
        fake_ports::state.present.erase(name);
      } else {
        fake_ports::state.present[name] = fake_ports::Library{!(change & 0x10), !(change & 0x20)};
      }
      break;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  ResetDriverRecords();
  fake_ports::state.present["inpout32.dll"] = {};
  Input in{data, size};
  size_t seen = 0;
  for (int calls = 0; in.size > 0 && calls < 64; ++calls) {
    Step(in);
    CheckNewBusCycles(&seen, display_config().port_address);
  }
  DISPLAYDLL_Done();
  std::error_code ignored;
  std::filesystem::remove_all("logs", ignored);
  return 0;
}
