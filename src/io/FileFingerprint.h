#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace m3d {

// What tells one regular file from every other without keeping it: the
// inode it is, and its size and a digest of its bytes (math/Digest.h, not for
// security: an equal digest of a file whose bytes are unknown is as unlikely
// as guessing 64 bits). A commit's record keeps it of every file it stages, so
// that a recovery touches only the very files its commit made.
struct FileFingerprint {
    uint64_t inode = 0;
    uint64_t size = 0;
    uint64_t digest = 0;

    bool operator==(const FileFingerprint&) const = default;
};

// The fingerprint of the regular file at path, a symbolic link not followed;
// nullopt when there is none there or it cannot be read through.
std::optional<FileFingerprint> FingerprintOf(const std::string& path);

// Whether the regular file at path (a symbolic link not followed) has
// expected's inode, size and digest; its bytes are read only when the inode
// and size match.
bool HasFingerprint(const std::string& path, const FileFingerprint& expected);

}  // namespace m3d
