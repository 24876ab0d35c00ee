// The files lcd_host writes: PREFIX.txt and PREFIX.png, and numbered
// snapshots PREFIX-1.txt, PREFIX-1.png, ... None may replace a file it reads.
#ifndef HOST_OUTPUT_FILES_H
#define HOST_OUTPUT_FILES_H

#include <string>
#include <vector>

#include "problem.h"

// Whether a file lcd_host may write from `prefix` is one of `inputs`,
// naming both.
Problem CheckOutputAgainstInputs(const std::string& prefix, const std::vector<std::string>& inputs);

std::string NumberedPrefix(const std::string& prefix, int number);

#endif  // HOST_OUTPUT_FILES_H
