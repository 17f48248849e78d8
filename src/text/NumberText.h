#pragma once

#include <cstdint>
#include <string>

namespace m3d {

// Whole decimal numbers as a person or a command line writes them: no
// spaces, no trailing characters.

// Parses a whole decimal integer that fits an int; false for anything else
// (value untouched).
bool ParseInteger(const std::string& text, int& value);
// Parses a whole decimal number that is a finite float; false for anything
// else (value untouched).
bool ParseFloat(const std::string& text, float& value);

// value with its digits in groups of three ("1,000,000"), for messages.
std::string GroupedDigits(uint64_t value);

}  // namespace m3d
