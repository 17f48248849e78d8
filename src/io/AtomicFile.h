#pragma once

#include <string>
#include <string_view>

// Writes data to path through a temporary file in the same folder that is
// renamed over the target, so a failed write never destroys the previous file.
// Returns true on success; on failure error says why (with the path) and the
// target is untouched.
bool WriteFileAtomically(const std::string& path, std::string_view data, std::string& error);

// Reads the whole file into out. Returns false with a message naming the file
// when it cannot be opened or read, or when it is larger than maxBytes.
bool ReadWholeFile(const std::string& path, std::string& out, std::string& error,
                   size_t maxBytes = size_t(1) << 31);
