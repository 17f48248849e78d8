// libFuzzer target for the commit record reader: any bytes give either a
// record within its bounds that names only files of its own folder and reads
// back the same once written, or a refusal with a message. Each input is read
// twice: as it is, and with the digest line that matches it appended, so that
// mutations reach the fields behind the digest.
//   build-fuzz/bin/fuzz_commit_record -max_total_time=300 corpus/ fuzz/corpus/fuzz_commit_record/
#include "io/CommitRecord.h"
#include "io/TemporaryNames.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace m3d;

namespace {

bool NamesAFileOfTheFolder(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
           name.find('\0') == std::string::npos && !IsCommitRecordName(name) && !TemporaryWriter(name);
}

void Check(std::string_view bytes)
{
    CommitRecord record;
    if (const Outcome read = DecodeCommitRecord(bytes, "fuzz.m3d-commit", record); !read) {
        if (read.Message().empty()) std::abort();
        return;
    }
    if (bytes.size() > kMaxCommitRecordBytes || record.entries.empty() ||
        record.entries.size() > kMaxCommitRecordEntries)
        std::abort();
    for (const CommitRecordEntry& entry : record.entries) {
        if (!NamesAFileOfTheFolder(entry.target) || TemporaryWriter(entry.staged) != record.writer ||
            (!entry.backup.empty() && TemporaryWriter(entry.backup) != record.writer) || entry.stagedFile.inode == 0)
            std::abort();
    }
    CommitRecord again;
    if (!DecodeCommitRecord(EncodeCommitRecord(record), "again.m3d-commit", again) || !(again == record)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Check(bytes);
    Check(std::string(bytes) + CommitRecordDigestLine(bytes));
    return 0;
}
