#include "scene/ProjectFileFormat.h"

#include "scene/ModelRules.h"
#include "text/ShiftJis.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <unordered_set>

namespace m3d {

namespace {

constexpr int kPartRecordMinBytes = 12;  // name length, parent, partner

// Reads little-endian values from the file's bytes, always knowing where it is.
class ByteCursor {
public:
    explicit ByteCursor(std::string_view bytes) : bytes(bytes) {}
    size_t Offset() const { return offset; }
    size_t Remaining() const { return bytes.size() - offset; }
    bool ReadInt(int32_t& value)
    {
        uint32_t raw;
        if (!ReadWord(raw)) return false;
        value = static_cast<int32_t>(raw);
        return true;
    }
    bool ReadFloat(float& value)
    {
        uint32_t raw;
        if (!ReadWord(raw)) return false;
        std::memcpy(&value, &raw, sizeof value);
        return true;
    }
    bool ReadBytes(size_t count, std::string_view& out)
    {
        if (count > Remaining()) return false;
        out = bytes.substr(offset, count);
        offset += count;
        return true;
    }

private:
    bool ReadWord(uint32_t& raw)
    {
        if (Remaining() < 4) return false;
        const auto* p = reinterpret_cast<const unsigned char*>(bytes.data() + offset);
        raw = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
        offset += 4;
        return true;
    }

    std::string_view bytes;
    size_t offset = 0;
};

class ProjectReader {
public:
    ProjectReader(std::string_view bytes, const std::string& fileName) : in(bytes), fileName(fileName) {}

    Outcome Read(ProjectData& out)
    {
        std::string_view header;
        if (!in.ReadBytes(kProjectHeaderBytes, header)) return Fail(0, "the file is shorter than its header");
        if (Outcome read = ReadParts(out); !read) return read;
        if (Outcome read = ReadMotions(out); !read) return read;
        if (in.Remaining() != 0) return Fail(in.Offset(), "unexpected bytes after the last Motion");
        return Outcome();
    }

private:
    Outcome Fail(size_t offset, const std::string& reason) const
    {
        return Outcome::Failure(fileName + ": byte " + std::to_string(offset) + ": " + reason);
    }
    Outcome Truncated() const { return Fail(in.Offset(), "the file ends early"); }

    // A count read at offset must be non-negative and leave room for count
    // records of at least minBytes each.
    Outcome ReadCount(const char* what, uint64_t minBytes, int32_t& count)
    {
        const size_t at = in.Offset();
        if (!in.ReadInt(count)) return Truncated();
        if (count < 0) return Fail(at, std::string("negative ") + what + " count " + std::to_string(count));
        if (uint64_t(count) * minBytes > in.Remaining())
            return Fail(at, std::string(what) + " count " + std::to_string(count) + " does not fit in the file");
        return Outcome();
    }

    Outcome ReadPartName(int index, std::string& name)
    {
        const size_t at = in.Offset();
        int32_t length;
        if (!in.ReadInt(length)) return Truncated();
        if (length < 0 || length > kMaxPartNameBytes + 1)
            return Fail(at, "name length " + std::to_string(length) + " of Part " + std::to_string(index) +
                                " is outside 0 ... 260");
        std::string_view field;
        if (!in.ReadBytes(size_t(length), field)) return Truncated();
        const std::string_view raw = field.substr(0, field.find('\0'));
        if (raw.size() > size_t(kMaxPartNameBytes))
            return Fail(at + 4, "name of Part " + std::to_string(index) + " is longer than 259 bytes");
        const std::optional<std::string> decoded = ShiftJisToUtf8(raw);
        if (!decoded) return Fail(at + 4, "name of Part " + std::to_string(index) + " is not Shift-JIS text");
        // Earlier versions stored a typed ¥ as its code, which reads back as
        // '\': the full-width yen names the same file (FolderIndex::FindFile).
        std::string utf8;
        for (char c : *decoded) utf8 += c == '\\' ? std::string("￥") : std::string(1, c);
        // The name becomes a file name in the project's folder: it must not lead anywhere else.
        if (!IsPlainPartName(utf8))
            return Fail(at + 4, "name of Part " + std::to_string(index) +
                                    " holds a path separator, a control character or \"..\"");
        name = utf8;
        return Outcome();
    }

    Outcome ReadParts(ProjectData& out)
    {
        int32_t count;
        if (Outcome read = ReadCount("Part", kPartRecordMinBytes, count); !read) return read;
        out.parts.resize(size_t(count));
        for (int i = 0; i < count; ++i) {
            ProjectPartRecord& record = out.parts[i];
            if (Outcome read = ReadPartName(i, record.baseName); !read) return read;
            size_t at = in.Offset();
            if (!in.ReadInt(record.parentIndex)) return Truncated();
            if (!IsValidParentIndex(record.parentIndex, i))
                return Fail(at, "parent " + std::to_string(record.parentIndex) + " of Part " + std::to_string(i) +
                                    " is not -1 or an earlier Part");
            at = in.Offset();
            if (!in.ReadInt(record.symmetryIndex)) return Truncated();
            if (!IsValidPartnerIndex(record.symmetryIndex, count))
                return Fail(at, "partner " + std::to_string(record.symmetryIndex) + " of Part " + std::to_string(i) +
                                    " is not -1 or a Part of the file");
        }
        return Outcome();
    }

    Outcome ReadMotionName(int index, std::unordered_set<std::string>& taken, std::string& name)
    {
        const size_t at = in.Offset();
        const std::string what = "name of Motion " + std::to_string(index);
        std::string_view field;
        if (!in.ReadBytes(kMotionNameFieldBytes, field)) return Truncated();
        const size_t end = field.find('\0');
        if (end == std::string_view::npos) return Fail(at, what + " has no terminating zero");
        const std::string_view raw = field.substr(0, end);
        if (raw.empty()) return Fail(at, what + " is empty");
        if (raw.size() > size_t(kMaxMotionNameBytes)) return Fail(at, what + " is longer than 16 bytes");
        const std::optional<std::string> utf8 = ShiftJisToUtf8(raw);
        if (!utf8) return Fail(at, what + " is not Shift-JIS text");
        if (!taken.insert(*utf8).second) return Fail(at, what + " \"" + *utf8 + "\" is used twice");
        name = *utf8;
        return Outcome();
    }

    Outcome ReadTrack(int motion, int part, MotionTrack& track)
    {
        const std::string what = "Motion " + std::to_string(motion) + ", Part " + std::to_string(part);
        const size_t at = in.Offset();
        int32_t count;
        if (Outcome read = ReadCount("key", kKeyRecordBytes, count); !read) return read;
        track.keys.resize(size_t(count));
        bool ordered = true;
        for (int k = 0; k < count; ++k) {
            KeyFrame& key = track.keys[k];
            const size_t keyAt = in.Offset();
            if (!in.ReadInt(key.frame)) return Truncated();
            if (key.frame < 0) return Fail(keyAt, what + ": key " + std::to_string(k) + " has a negative frame");
            for (auto& row : key.matrix.m)
                for (float& value : row) {
                    if (!in.ReadFloat(value)) return Truncated();
                    if (!std::isfinite(value))
                        return Fail(in.Offset() - 4, what + ": key " + std::to_string(k) + " holds a non-finite value");
                }
            if (k > 0 && key.frame <= track.keys[k - 1].frame) ordered = false;
        }
        // Keys out of order are put in order: their meaning does not depend on it.
        if (!ordered) track.SortKeys();
        const std::optional<ModelViolation> broken = ValidateTrack(track);
        if (!broken) return Outcome();
        switch (broken->rule) {
        case ModelRule::TrackHasKeys: return Fail(at, what + ": no keys (a frame-0 key is required)");
        // Sorted keys out of order can only be two at one frame.
        case ModelRule::KeysAscending:
            return Fail(at, what + ": two keys at frame " + std::to_string(track.keys[size_t(broken->key)].frame));
        default: return Fail(at, what + ": no key at frame 0");  // FirstKeyAtFrameZero
        }
    }

    Outcome ReadMotions(ProjectData& out)
    {
        const uint64_t partCount = out.parts.size();
        int32_t count;
        // A Motion holds its name, its length and a track of at least one key for every Part.
        const uint64_t motionMinBytes = kMotionNameFieldBytes + 4 + (4 + kKeyRecordBytes) * partCount;
        if (Outcome read = ReadCount("Motion", motionMinBytes, count); !read) return read;
        out.motions.resize(size_t(count));
        std::unordered_set<std::string> taken;
        for (int m = 0; m < count; ++m) {
            Motion& motion = out.motions[m];
            if (Outcome read = ReadMotionName(m, taken, motion.name); !read) return read;
            const size_t at = in.Offset();
            if (!in.ReadInt(motion.length)) return Truncated();
            if (motion.length < kMinMotionLength || motion.length > kMaxMotionLength)
                return Fail(at, "length " + std::to_string(motion.length) + " of Motion " + std::to_string(m) +
                                    " is outside 1 ... 9999");
            motion.tracks.resize(partCount);
            for (size_t p = 0; p < partCount; ++p)
                if (Outcome read = ReadTrack(m, int(p), motion.tracks[p]); !read) return read;
        }
        return Outcome();
    }

    ByteCursor in;
    const std::string& fileName;
};

}  // namespace

std::optional<int32_t> ClaimedPartCount(std::string_view bytes)
{
    ByteCursor in(bytes);
    std::string_view header;
    int32_t count = 0;
    if (!in.ReadBytes(kProjectHeaderBytes, header) || !in.ReadInt(count)) return std::nullopt;
    return count;
}

Outcome ParseProjectFile(std::string_view bytes, const std::string& fileName, ProjectData& out)
{
    out = ProjectData();
    return ProjectReader(bytes, fileName).Read(out);
}

}  // namespace m3d
