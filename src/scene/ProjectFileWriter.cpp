#include "scene/ProjectFileFormat.h"

#include "text/ShiftJis.h"

#include <cstdint>
#include <cmath>
#include <cstring>

namespace m3d {

const char kProjectFileHeader[] = "Marionettica3Dv1.00";

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

bool PutPartRecord(std::string& out, int index, const ProjectPartRecord& part, std::string& error)
{
    const std::optional<std::string> name = Utf8ToShiftJis(part.baseName);
    if (!name || name->size() > size_t(kMaxPartNameBytes)) {
        error = "Part " + std::to_string(index) + " \"" + part.baseName + "\": " +
                (name ? "the name is longer than 259 bytes" : "the name has characters without a Shift-JIS form");
        return false;
    }
    // The name field is padded to a multiple of 4; a name that fills it has no terminator.
    const size_t field = (name->size() + 3) / 4 * 4;
    PutInt(out, static_cast<int32_t>(field));
    out += *name;
    out.append(field - name->size(), '\0');
    PutInt(out, part.parentIndex);
    PutInt(out, part.symmetryIndex);
    return true;
}

bool PutMotionRecord(std::string& out, int index, const Motion& motion, size_t partCount, std::string& error)
{
    const std::optional<std::string> name = Utf8ToShiftJis(motion.name);
    const std::string what = "Motion " + std::to_string(index) + " \"" + motion.name + "\": ";
    if (!name || name->empty() || name->size() > size_t(kMaxMotionNameBytes)) {
        error = what + "the name is empty, longer than 16 bytes or has characters without a Shift-JIS form";
        return false;
    }
    if (motion.tracks.size() != partCount) {
        error = what + std::to_string(motion.tracks.size()) + " tracks for " + std::to_string(partCount) + " Parts";
        return false;
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
                        error = what + "Part " + std::to_string(t) + ", frame " + std::to_string(key.frame) +
                                ": the key holds a value beyond the float range";
                        return false;
                    }
                    PutFloat(out, value);
                }
        }
    }
    return true;
}

}  // namespace

bool BuildProjectFile(const std::vector<ProjectPartRecord>& parts, const std::vector<Motion>& motions,
                      std::string& bytes, std::string& error)
{
    size_t keyCount = 0;
    for (const Motion& motion : motions)
        for (const MotionTrack& track : motion.tracks) keyCount += track.keys.size();
    bytes.clear();
    bytes.reserve(kProjectHeaderBytes + 8 + parts.size() * 24 + motions.size() * 24 + keyCount * kKeyRecordBytes);

    bytes.append(kProjectFileHeader);
    bytes.append(kProjectHeaderBytes - std::strlen(kProjectFileHeader), '\0');
    PutInt(bytes, static_cast<int32_t>(parts.size()));
    for (size_t i = 0; i < parts.size(); ++i)
        if (!PutPartRecord(bytes, int(i), parts[i], error)) return false;
    PutInt(bytes, static_cast<int32_t>(motions.size()));
    for (size_t m = 0; m < motions.size(); ++m)
        if (!PutMotionRecord(bytes, int(m), motions[m], parts.size(), error)) return false;
    return true;
}

}  // namespace m3d
