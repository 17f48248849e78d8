#pragma once

#include <string>
#include <vector>

namespace m3d {

// Splits a command's words into plain words (paths, in order) and the integer
// after option (value is left as it is when option is absent); "--overwrite"
// sets *overwrite when the command offers it (overwrite not null). false for
// any other "--" word, an option without its number or a number that is not
// an integer: a misuse.
bool ParseWordsAndIntOption(const std::vector<std::string>& args, const std::string& option, int& value,
                            std::vector<std::string>& words, bool* overwrite = nullptr);

// Takes "option X" out of args into value (left as it is when the option is
// absent). false when X is missing or no finite number above 0: a misuse.
bool TakeScaleOption(std::vector<std::string>& args, const std::string& option, float& value);

}  // namespace m3d
