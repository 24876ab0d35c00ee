/* The diagnostic log's lines, as the driver writes them with Log and
 * lcd_host --replay reads them back:
 *   HH:MM:SS dd/mm/yy <event> : <text>
 * Every fact both sides depend on is here, once. */
#ifndef HD66712_LOG_FORMAT_H
#define HD66712_LOG_FORMAT_H

#include <cstddef>

namespace hd66712_log {

// strftime's format for the stamp, and the stamp's length in characters.
inline constexpr char kStampFormat[] = "%H:%M:%S %d/%m/%y";
inline constexpr std::size_t kStampLength = sizeof "HH:MM:SS dd/mm/yy" - 1;
// Between the event and its text.
inline constexpr char kSeparator[] = " : ";

// Events.
inline constexpr char kOpened[] = "dp_open_log";  // a session's first line
inline constexpr char kInit[] = "Init";
inline constexpr char kParameters[] = "j=";  // text: the host's parameters
inline constexpr char kWrite[] = "Write";    // text: the host's own
inline constexpr char kInstruction[] = "WriteC";
inline constexpr char kData[] = "WriteD";
inline constexpr char kDone[] = "Done";
inline constexpr char kPowerResume[] = "PowerResume";  // the controller set up anew

// PowerResume's texts, at the start and the end of the set-up.
inline constexpr char kEntered[] = "Entered";
inline constexpr char kComplete[] = "Complete";

// An instruction's or data byte's text: decimal, hexadecimal, character.
inline constexpr char kByteFormat[] = "%3u (0x%02x) '%c'";
// Init's texts: the display's size, the chip, and a port library loaded
// ("inpout32.dll loaded").
inline constexpr char kWidthLabel[] = "Display width=";
inline constexpr char kHeightLabel[] = ", height=";
inline constexpr char kPortLabel[] = "port=";  // then 0x and the address
inline constexpr char kChipLabel[] = "Chip type=";
inline constexpr char kLoadedEnding[] = " loaded";

}  // namespace hd66712_log

#endif  // HD66712_LOG_FORMAT_H
