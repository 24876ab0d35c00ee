// A session that exercises every part of a module, for checking a real one
// without the host application: each row labelled with every cell written
// once, the character set a screen at a time, all eight glyphs, then a
// blank-and-redraw. Pauses let a person read each screen.
#ifndef HOST_TEST_PATTERN_H
#define HOST_TEST_PATTERN_H

#include <string>

std::string TestPatternScript(int columns, int rows);

#endif  // HOST_TEST_PATTERN_H
