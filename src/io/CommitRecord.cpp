#include "io/CommitRecord.h"

#include "io/TemporaryNames.h"
#include "math/Digest.h"

#include <charconv>
#include <cstdio>
#include <unordered_set>

namespace m3d {

namespace {

constexpr std::string_view kMagic = "m3d-commit ";
constexpr std::string_view kHeader = "m3d-commit 2\n";
constexpr std::string_view kDigestLabel = "digest ";
constexpr std::string_view kForward = "mode forward\n";
constexpr std::string_view kPuttingBack = "mode back\n";
// Longer than any path the system takes: a length beyond it is damage.
constexpr size_t kMaxNameBytes = 4096;

std::string Hex(uint64_t value)
{
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(value));
    return text;
}

void AppendName(std::string& out, std::string_view name)
{
    out += ' ';
    out += std::to_string(name.size());
    out += ':';
    out += name;
}

void AppendFingerprint(std::string& out, const FileFingerprint& file)
{
    out += ' ' + std::to_string(file.inode) + ' ' + std::to_string(file.size) + ' ' + Hex(file.digest);
}

bool IsPlainName(std::string_view name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos;
}

// Reads the record's fields in order, knowing where it is for the messages.
class RecordReader {
public:
    RecordReader(std::string_view bytes, const std::string& path) : bytes(bytes), path(path) {}

    Outcome Read(CommitRecord& record)
    {
        if (bytes.size() > kMaxCommitRecordBytes)
            return Fail(kMaxCommitRecordBytes,
                        "the record is larger than " + std::to_string(kMaxCommitRecordBytes >> 20) + " MiB");
        const size_t digestAt = bytes.rfind(kDigestLabel);
        if (digestAt == std::string_view::npos || bytes.back() != '\n')
            return Fail(bytes.size(), "the record ends before its digest");
        if (bytes.substr(digestAt) != CommitRecordDigestLine(bytes.substr(0, digestAt)))
            return Fail(digestAt, "the digest does not match the record");
        bytes = bytes.substr(0, digestAt);
        if (!Literal(kHeader)) {
            if (bytes.substr(0, kMagic.size()) == kMagic)
                return Fail(0, "a record of another version of the program, which this one does not read");
            return Fail(0, "not the record of a commit");
        }
        std::string_view token;
        if (!Literal("writer ") || !Word(token, '\n')) return Fail(offset, "the writer is missing");
        const std::optional<ProcessIdentity> writer = ParseIdentityToken(token);
        if (!writer) return Fail(offset, "the writer is not a process");
        record.writer = *writer;
        if (Literal(kPuttingBack))
            record.puttingBack = true;
        else if (!Literal(kForward))
            return Fail(offset, "the mode is neither forward nor back");
        uint64_t count = 0;
        if (!Literal("files ") || !Number(count, '\n') || count == 0 || count > bytes.size())
            return Fail(offset, "the number of files is missing or impossible");
        if (count > kMaxCommitRecordEntries)
            return Fail(offset, "more than " + std::to_string(kMaxCommitRecordEntries) + " files");
        record.entries.resize(static_cast<size_t>(count));
        for (CommitRecordEntry& entry : record.entries)
            if (Outcome read = ReadEntry(entry, record.writer); !read) return read;
        if (offset != bytes.size()) return Fail(offset, "unexpected bytes after the last file");
        return Outcome();
    }

private:
    Outcome ReadEntry(CommitRecordEntry& entry, const ProcessIdentity& writer)
    {
        const size_t at = offset;
        if (Literal("r "))
            entry.keepExisting = false;
        else if (Literal("k "))
            entry.keepExisting = true;
        else
            return Fail(at, "a file's kind is neither r nor k");
        if (!Fingerprint(entry.stagedFile, ' ') || entry.stagedFile.inode == 0 || !Fingerprint(entry.oldFile, ' '))
            return Fail(offset, "a file's inodes, sizes and digests are missing");
        if (!Name(entry.target) || !Literal(" ") || !Name(entry.staged) || !Literal(" ") || !Name(entry.backup) ||
            !Literal("\n"))
            return Fail(offset, "a file's names are damaged");
        if (!IsPlainName(entry.target) || IsCommitRecordName(entry.target) || TemporaryWriter(entry.target))
            return Fail(at, "the target " + entry.target + " is no name of a file in the record's folder");
        const auto isOurs = [&writer](const std::string& name) {
            return IsPlainName(name) && TemporaryWriter(name) == writer;
        };
        if (!isOurs(entry.staged) || (!entry.backup.empty() && !isOurs(entry.backup)))
            return Fail(at, "the temporaries of " + entry.target + " are not the writer's");
        for (const std::string* name : {&entry.target, &entry.staged, &entry.backup})
            if (!name->empty() && !names.insert(*name).second) return Fail(at, *name + " is named twice in the record");
        return Outcome();
    }

    bool Literal(std::string_view text)
    {
        if (bytes.substr(offset, text.size()) != text) return false;
        offset += text.size();
        return true;
    }
    // The bytes up to end, which is passed.
    bool Word(std::string_view& word, char end)
    {
        const size_t stop = bytes.find(end, offset);
        if (stop == std::string_view::npos) return false;
        word = bytes.substr(offset, stop - offset);
        offset = stop + 1;
        return true;
    }
    bool Number(uint64_t& value, char end, int base = 10)
    {
        std::string_view word;
        if (!Word(word, end) || word.empty()) return false;
        const auto [stop, error] = std::from_chars(word.data(), word.data() + word.size(), value, base);
        return error == std::errc() && stop == word.data() + word.size();
    }
    // "INODE SIZE DIGEST", the digest in hexadecimal.
    bool Fingerprint(FileFingerprint& file, char end)
    {
        return Number(file.inode, ' ') && Number(file.size, ' ') && Number(file.digest, end, 16);
    }
    // "LENGTH:BYTES"; no name may hold a zero byte.
    bool Name(std::string& name)
    {
        uint64_t length = 0;
        if (!Number(length, ':') || length > kMaxNameBytes || length > bytes.size() - offset) return false;
        name = std::string(bytes.substr(offset, static_cast<size_t>(length)));
        offset += static_cast<size_t>(length);
        return name.find('\0') == std::string::npos;
    }

    Outcome Fail(size_t at, const std::string& reason) const
    {
        return Outcome::Failure(path + ": byte " + std::to_string(at) + ": " + reason);
    }

    std::string_view bytes;
    const std::string& path;
    size_t offset = 0;
    std::unordered_set<std::string> names;
};

}  // namespace

std::string CommitRecordDigestLine(std::string_view body)
{
    Digest digest;
    digest.Add(body);
    return std::string(kDigestLabel) + Hex(digest.Value()) + "\n";
}

std::string EncodeCommitRecord(const CommitRecord& record)
{
    std::string out(kHeader);
    out += "writer " + IdentityToken(record.writer) + "\n";
    out += record.puttingBack ? kPuttingBack : kForward;
    out += "files " + std::to_string(record.entries.size()) + "\n";
    for (const CommitRecordEntry& entry : record.entries) {
        out += entry.keepExisting ? 'k' : 'r';
        AppendFingerprint(out, entry.stagedFile);
        AppendFingerprint(out, entry.oldFile);
        AppendName(out, entry.target);
        AppendName(out, entry.staged);
        AppendName(out, entry.backup);
        out += '\n';
    }
    return out + CommitRecordDigestLine(out);
}

Outcome DecodeCommitRecord(std::string_view bytes, const std::string& path, CommitRecord& record)
{
    if (bytes.empty()) return Outcome::Failure(path + ": the record is empty");
    return RecordReader(bytes, path).Read(record);
}

}  // namespace m3d
