#include "io/TemporaryNames.h"

#include <random>

namespace m3d {

namespace {

constexpr std::string_view kOwnMark = ".m3d-tmp-";
constexpr std::string_view kLegacyMark = ".tmp";
constexpr std::string_view kRecordMark = ".m3d-commit";
constexpr size_t kRandomChars = 6;
// NAME_MAX of Linux's file systems.
constexpr size_t kMaxNameBytes = 255;

bool IsAlphanumeric(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool EndsInRandomChars(std::string_view name)
{
    if (name.size() < kRandomChars) return false;
    for (char c : name.substr(name.size() - kRandomChars))
        if (!IsAlphanumeric(c)) return false;
    return true;
}

// file with mark appended to its name, the name cut short to leave room for it.
std::string WithMark(const std::string& file, std::string_view mark)
{
    const size_t slash = file.rfind('/');
    const size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    size_t nameEnd = file.size();
    if (nameEnd - nameStart + mark.size() > kMaxNameBytes) {
        nameEnd = nameStart + (kMaxNameBytes - mark.size());
        // Not inside a character: 10xxxxxx bytes continue one.
        while (nameEnd > nameStart && (static_cast<unsigned char>(file[nameEnd]) & 0xC0) == 0x80) --nameEnd;
    }
    return file.substr(0, nameEnd) + std::string(mark);
}

}  // namespace

std::string OwnTemporaryName(const std::string& file)
{
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::mt19937_64 random{std::random_device{}()};
    std::string mark = std::string(kOwnMark) + IdentityToken(ThisProcess()) + "-";
    for (size_t i = 0; i < kRandomChars; ++i) mark += kLetters[random() % (sizeof kLetters - 1)];
    return WithMark(file, mark);
}

std::optional<ProcessIdentity> TemporaryWriter(std::string_view name)
{
    const size_t mark = name.rfind(kOwnMark);
    if (mark == std::string_view::npos || !EndsInRandomChars(name)) return std::nullopt;
    const size_t tokenStart = mark + kOwnMark.size();
    const size_t tokenEnd = name.size() - kRandomChars - 1;
    if (tokenEnd <= tokenStart || name[tokenEnd] != '-') return std::nullopt;
    return ParseIdentityToken(name.substr(tokenStart, tokenEnd - tokenStart));
}

bool IsLegacyTemporaryName(std::string_view name)
{
    const size_t suffix = kLegacyMark.size() + kRandomChars;
    return name.size() > suffix && name.substr(name.size() - suffix, kLegacyMark.size()) == kLegacyMark &&
           EndsInRandomChars(name);
}

std::string CommitRecordPath(const std::string& file) { return WithMark(file, kRecordMark); }

bool IsCommitRecordName(std::string_view name)
{
    return name.size() > kRecordMark.size() && name.substr(name.size() - kRecordMark.size()) == kRecordMark;
}

}  // namespace m3d
