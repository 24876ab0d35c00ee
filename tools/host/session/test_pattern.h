// A session that exercises every part of a module, for checking a real one
// without the host application: each row labelled with every cell written
// once, the character set a screen at a time, all eight glyphs, then a
// blank-and-redraw. On a real module pauses let a person read each page; on
// the virtual LCD each page is saved as a snapshot instead.
#ifndef HOST_TEST_PATTERN_H
#define HOST_TEST_PATTERN_H

#include <string>

enum class PatternPages { Paused, Snapshots };
// How long a paused page stays, unless told otherwise.
constexpr int kDefaultPageMs = 2000;

std::string TestPatternScript(int columns, int rows, PatternPages pages,
                              int page_ms = kDefaultPageMs);

#endif  // HOST_TEST_PATTERN_H
