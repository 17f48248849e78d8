#include "scene/ProjectFileFormat.h"

#include "text/ShiftJis.h"
#include "text/StoredName.h"

#include <cstdint>
#include <cmath>
#include <cstring>
#include <unordered_set>

namespace m3d {

const char kProjectFileHeader[] = "Marionettica3Dv1.00";

bool IsPlainPartName(std::string_view name)
{
    for (unsigned char c : name)
        if (c < 0x20 || c == 0x7F || c == '/' || c == '\\') return false;
    return name.find("..") == std::string_view::npos;
}

namespace {

void PutInt(std::string& out, int32_t value)
{
    const auto raw = static_cast<uint32_t>(value);
    const char bytes[4] = {char(raw & 0xFF), char(raw >> 8 & 0xFF), char(raw >> 16 & 0xFF), char(raw >> 24 & 0xFF)};
    out.append(bytes, 4);
}

void PutFloat(std::string& out, float value)
{
    uint32_t raw;
    std::memcpy(&raw, &value, sizeof raw);
    PutInt(out, static_cast<int32_t>(raw));
}

Outcome PutPartRecord(std::string& out, int index, const ProjectPartRecord& part)
{
    const std::optional<std::string> name = Utf8ToShiftJis(part.baseName);
    const std::string what = "Part " + std::to_string(index) + " \"" + part.baseName + "\": ";
    if (!name || name->size() > size_t(kMaxPartNameBytes)) {
        return Outcome::Failure(
            what + (name ? "the name is longer than 259 bytes" : "the name has characters without a Shift-JIS form"));
    }
    // What the reader would refuse or misread is never written.
    if (ShiftJisStoredForm(part.baseName) != part.baseName)
        return Outcome::Failure(what + "the name would read back as \"" + *ShiftJisToUtf8(*name) + "\"");
    if (!IsPlainPartName(part.baseName))
        return Outcome::Failure(what + "the name holds a path separator, a control character or \"..\"");
    // The name field is padded to a multiple of 4; a name that fills it has no terminator.
    const size_t field = (name->size() + 3) / 4 * 4;
    PutInt(out, static_cast<int32_t>(field));
    out += *name;
    out.append(field - name->size(), '\0');
    PutInt(out, part.parentIndex);
    PutInt(out, part.symmetryIndex);
    return Outcome();
}

Outcome PutMotionRecord(std::string& out, int index, const Motion& motion, size_t partCount,
                        std::unordered_set<std::string>& storedNames)
{
    const std::optional<std::string> name = Utf8ToShiftJis(motion.name);
    const std::string what = "Motion " + std::to_string(index) + " \"" + motion.name + "\": ";
    if (!name || name->empty() || name->size() > size_t(kMaxMotionNameBytes)) {
        return Outcome::Failure(what +
                                "the name is empty, longer than 16 bytes or has characters without a Shift-JIS form");
    }
    if (ShiftJisStoredForm(motion.name) != motion.name)
        return Outcome::Failure(what + "the name would read back as \"" + *ShiftJisToUtf8(*name) + "\"");
    if (!storedNames.insert(*name).second) return Outcome::Failure(what + "another Motion has the same name");
    if (motion.tracks.size() != partCount) {
        return Outcome::Failure(what + std::to_string(motion.tracks.size()) + " tracks for " +
                                std::to_string(partCount) + " Parts");
    }
    out += *name;
    out.append(kMotionNameFieldBytes - name->size(), '\0');
    PutInt(out, motion.length);
    for (size_t t = 0; t < motion.tracks.size(); ++t) {
        const MotionTrack& track = motion.tracks[t];
        PutInt(out, static_cast<int32_t>(track.keys.size()));
        for (const KeyFrame& key : track.keys) {
            PutInt(out, key.frame);
            for (const auto& row : key.matrix.m)
                for (float value : row) {
                    // The reader refuses such a file, so it is never written.
                    if (!std::isfinite(value)) {
                        return Outcome::Failure(what + "Part " + std::to_string(t) + ", frame " +
                                                std::to_string(key.frame) +
                                                ": the key holds a value beyond the float range");
                    }
                    PutFloat(out, value);
                }
        }
    }
    return Outcome();
}

}  // namespace

Expected<std::string> BuildProjectFile(const std::vector<ProjectPartRecord>& parts, const std::vector<Motion>& motions)
{
    size_t keyCount = 0;
    for (const Motion& motion : motions)
        for (const MotionTrack& track : motion.tracks) keyCount += track.keys.size();
    std::string bytes;
    bytes.reserve(kProjectHeaderBytes + 8 + parts.size() * 24 + motions.size() * 24 + keyCount * kKeyRecordBytes);

    bytes.append(kProjectFileHeader);
    bytes.append(kProjectHeaderBytes - std::strlen(kProjectFileHeader), '\0');
    PutInt(bytes, static_cast<int32_t>(parts.size()));
    for (size_t i = 0; i < parts.size(); ++i)
        if (Outcome put = PutPartRecord(bytes, int(i), parts[i]); !put) return put;
    PutInt(bytes, static_cast<int32_t>(motions.size()));
    std::unordered_set<std::string> storedNames;
    for (size_t m = 0; m < motions.size(); ++m)
        if (Outcome put = PutMotionRecord(bytes, int(m), motions[m], parts.size(), storedNames); !put) return put;
    return bytes;
}

}  // namespace m3d
