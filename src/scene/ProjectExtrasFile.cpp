#include "scene/ProjectExtrasFile.h"

#include "io/PathLookup.h"

#include <nlohmann/json.hpp>
#include <zlib.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <optional>

namespace m3d {

namespace {

using Json = nlohmann::json;

constexpr const char* kFormatName = "Marionettica3D project extras";
constexpr int kVersion = 1;
// Refusals beyond this many are counted, not listed.
constexpr size_t kMaxListedRefusals = 8;

std::string Crc32Text(std::string_view bytes)
{
    uLong crc = crc32(0, nullptr, 0);
    // zlib takes at most 4 GiB a call.
    for (size_t at = 0; at < bytes.size();) {
        const size_t run = std::min<size_t>(bytes.size() - at, std::numeric_limits<uInt>::max());
        crc = crc32(crc, reinterpret_cast<const Bytef*>(bytes.data() + at), static_cast<uInt>(run));
        at += run;
    }
    char text[16];
    std::snprintf(text, sizeof text, "%08lx", static_cast<unsigned long>(crc));
    return text;
}

// The refusals of one application of a side file.
class Refusals {
public:
    explicit Refusals(const std::string& path) : path(path) {}
    void Add(const std::string& why)
    {
        if (++count <= kMaxListedRefusals) lines += (lines.empty() ? "" : "\n") + path + ": " + why;
    }
    Outcome Result() const
    {
        if (count == 0) return {};
        std::string text = lines;
        if (count > kMaxListedRefusals)
            text += "\n" + path + ": " + std::to_string(count - kMaxListedRefusals) + " more";
        return Outcome::Failure(text);
    }

private:
    const std::string& path;
    std::string lines;
    size_t count = 0;
};

const Json* Member(const Json& object, const char* name)
{
    if (!object.is_object()) return nullptr;
    const auto found = object.find(name);
    return found == object.end() ? nullptr : &*found;
}

bool IntegerMember(const Json& object, const char* name, int64_t& out)
{
    const Json* value = Member(object, name);
    if (!value || !value->is_number_integer()) return false;
    out = value->get<int64_t>();
    return true;
}

bool TextMember(const Json& object, const char* name, std::string& out)
{
    const Json* value = Member(object, name);
    if (!value || !value->is_string()) return false;
    out = value->get<std::string>();
    return true;
}

bool NumberMember(const Json& object, const char* name, double& out)
{
    const Json* value = Member(object, name);
    if (!value || !value->is_number()) return false;
    out = value->get<double>();
    return true;
}

// The double that prints as the shortest text reading back as value, so that
// 0.1f is written "0.1" and read back as 0.1f.
Json FloatNumber(float value)
{
    char text[32];
    const auto written = std::to_chars(text, text + sizeof text - 1, value);
    *written.ptr = '\0';
    return std::strtod(text, nullptr);
}

// The "jointLimits" section: every Part that is not free.
Json JointLimitEntries(const std::vector<ProjectPartRecord>& parts)
{
    Json entries = Json::array();
    for (size_t p = 0; p < parts.size(); ++p) {
        const JointLimit& limit = parts[p].jointLimit;
        if (limit.IsFree()) continue;
        entries.push_back({{"part", p},
                           {"partName", parts[p].baseName},
                           {"axis", JointAxisName(limit.axis)},
                           {"min", FloatNumber(limit.minDegrees)},
                           {"max", FloatNumber(limit.maxDegrees)}});
    }
    return entries;
}

void ApplyJointLimits(const Json& entries, std::vector<ProjectPartRecord>& parts, Refusals& refusals)
{
    for (const Json& entry : entries) {
        int64_t part = -1;
        std::string name, axisName;
        if (!IntegerMember(entry, "part", part) || !TextMember(entry, "partName", name) ||
            !TextMember(entry, "axis", axisName)) {
            refusals.Add("a joint limit without its part, partName and axis was skipped");
            continue;
        }
        if (part < 0 || part >= static_cast<int64_t>(parts.size()) || parts[size_t(part)].baseName != name) {
            refusals.Add("Part " + std::to_string(part) + " \"" + name +
                         "\" is not in the project; its joint limit was not applied");
            continue;
        }
        JointLimit limit;
        double low = 0.0, high = 0.0;
        const std::optional<JointAxis> axis = ParseJointAxis(axisName);
        if (axis) limit.axis = *axis;
        if (axis && !limit.IsFree() && NumberMember(entry, "min", low) && NumberMember(entry, "max", high)) {
            limit.minDegrees = static_cast<float>(low);
            limit.maxDegrees = static_cast<float>(high);
        }
        if (!axis || !IsValidJointLimit(limit)) {
            refusals.Add("the joint limit of " + name +
                         " is not free nor an axis x, y or z with -180 <= min <= max "
                         "<= 180; the Part stays free");
            continue;
        }
        parts[size_t(part)].jointLimit = limit;
    }
}

bool OwnsHandles(const KeyInterpolation& interpolation)
{
    return interpolation.Kind() == InterpolationKind::Bezier && HasOwnHandles(interpolation.Tangents());
}

// A key's own handles as the side file keeps them: {"in": [[frames, value]
// for H, P, B, x, y, z], "out": [...]}.
Json HandlesJson(const BezierHandles& handles)
{
    Json in = Json::array(), out = Json::array();
    for (int c = 0; c < 6; ++c) {
        in.push_back({handles.inFrames[c], handles.inValues[c]});
        out.push_back({handles.outFrames[c], handles.outValues[c]});
    }
    return {{"in", std::move(in)}, {"out", std::move(out)}};
}

// The handles a "handles" entry gives; nothing unless both sides hold six
// pairs of numbers within +-1e7, in frames at most 0 and out frames at least 0.
std::optional<BezierHandles> HandlesOf(const Json* entry)
{
    constexpr double kLimit = 1e7;
    if (!entry || !entry->is_object()) return std::nullopt;
    BezierHandles handles;
    for (const bool isIn : {true, false}) {
        const Json* side = Member(*entry, isIn ? "in" : "out");
        if (!side || !side->is_array() || side->size() != 6) return std::nullopt;
        for (size_t c = 0; c < 6; ++c) {
            const Json& pair = (*side)[c];
            if (!pair.is_array() || pair.size() != 2 || !pair[0].is_number() || !pair[1].is_number())
                return std::nullopt;
            const double frames = pair[0].get<double>(), value = pair[1].get<double>();
            if (!(std::fabs(frames) <= kLimit && std::fabs(value) <= kLimit) || (isIn ? frames > 0 : frames < 0))
                return std::nullopt;
            (isIn ? handles.inFrames : handles.outFrames)[c] = float(frames);
            (isIn ? handles.inValues : handles.outValues)[c] = float(value);
        }
    }
    return handles;
}

// The track an entry of the side file names.
struct EntryTarget {
    MotionTrack* track = nullptr;  // nullptr: refused
    std::string motion, part;
};

EntryTarget TargetOf(const Json& entry, const std::vector<ProjectPartRecord>& parts, std::vector<Motion>& motions,
                     Refusals& refusals)
{
    EntryTarget target;
    int64_t part = -1;
    if (!TextMember(entry, "motion", target.motion) || !IntegerMember(entry, "part", part) ||
        !TextMember(entry, "partName", target.part)) {
        refusals.Add("an entry without its motion, part and partName was skipped");
        return target;
    }
    Motion* motion = nullptr;
    for (Motion& m : motions)
        if (m.name == target.motion) motion = &m;
    if (!motion) {
        refusals.Add("Motion \"" + target.motion + "\" is not in the project; its interpolations were not applied");
        return target;
    }
    if (part < 0 || part >= static_cast<int64_t>(parts.size()) || parts[size_t(part)].baseName != target.part ||
        size_t(part) >= motion->tracks.size()) {
        refusals.Add("Part " + std::to_string(part) + " \"" + target.part + "\" is not in the project; its keys in \"" +
                     target.motion + "\" stay linear");
        return target;
    }
    target.track = &motion->tracks[size_t(part)];
    return target;
}

}  // namespace

std::string ProjectExtrasPath(const std::string& projectPath)
{
    constexpr std::string_view kProjectExtension = ".anm";
    std::string stem = projectPath;
    if (stem.size() > kProjectExtension.size()) {
        std::string ending = stem.substr(stem.size() - kProjectExtension.size());
        for (char& c : ending)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (ending == kProjectExtension) stem.resize(stem.size() - kProjectExtension.size());
    }
    return stem + ".m3d.json";
}

std::string BuildProjectExtras(const std::vector<ProjectPartRecord>& parts, const std::vector<Motion>& motions,
                               double metresPerUnit, std::string_view projectBytes)
{
    Json entries = Json::array();
    for (const Motion& motion : motions) {
        for (size_t p = 0; p < motion.tracks.size() && p < parts.size(); ++p) {
            Json keys = Json::array();
            for (const KeyFrame& key : motion.tracks[p].keys) {
                if (key.interpolation.IsLinear()) continue;
                keys.push_back({{"frame", key.frame}, {"interpolation", InterpolationName(key.interpolation)}});
                if (OwnsHandles(key.interpolation)) keys.back()["handles"] = HandlesJson(key.handles);
            }
            if (keys.empty()) continue;
            entries.push_back(
                {{"motion", motion.name}, {"part", p}, {"partName", parts[p].baseName}, {"keys", std::move(keys)}});
        }
    }
    Json limits = JointLimitEntries(parts);
    Json loops = Json::array();
    for (const Motion& motion : motions)
        if (motion.loop) loops.push_back(motion.name);
    const bool unitKnown = IsKnownLengthUnit(metresPerUnit);
    if (entries.empty() && limits.empty() && loops.empty() && !unitKnown) return {};
    // "interpolations" is always there, so that a reader that knows no
    // limits still takes a file that holds only those.
    Json file = {{"format", kFormatName},
                 {"version", kVersion},
                 {"project", {{"size", projectBytes.size()}, {"crc32", Crc32Text(projectBytes)}}},
                 {"interpolations", std::move(entries)}};
    if (!limits.empty()) file["jointLimits"] = std::move(limits);
    if (unitKnown) file["lengthUnit"] = {{"metres", metresPerUnit}};
    if (!loops.empty()) file["loops"] = std::move(loops);
    // Names are UTF-8 already; anything that is not is replaced rather than refused.
    return file.dump(1, '\t', false, Json::error_handler_t::replace) + "\n";
}

Outcome ApplyProjectExtras(std::string_view text, const std::string& path, std::string_view projectBytes,
                           ProjectData& data)
{
    std::vector<ProjectPartRecord>& parts = data.parts;
    std::vector<Motion>& motions = data.motions;
    const Json file = Json::parse(text.begin(), text.end(), nullptr, false);
    if (file.is_discarded() || !file.is_object())
        return Outcome::Failure(path + ": not a JSON object; every key stays linear and every Part free");
    std::string format;
    int64_t version = 0;
    if (!TextMember(file, "format", format) || format != kFormatName || !IntegerMember(file, "version", version))
        return Outcome::Failure(path + ": not a side file of this program; every key stays linear and every Part free");
    if (version != kVersion)
        return Outcome::Failure(path + ": version " + std::to_string(version) +
                                " is not one this program reads; every key stays linear and every Part free");
    const Json* project = Member(file, "project");
    int64_t size = -1;
    std::string crc;
    if (!project || !IntegerMember(*project, "size", size) || !TextMember(*project, "crc32", crc) ||
        size != static_cast<int64_t>(projectBytes.size()) || crc != Crc32Text(projectBytes))
        return Outcome::Failure(path +
                                ": it was written for another state of the project file (saved since by another "
                                "program, or left from an earlier save); every key stays linear and every Part free");
    const Json* entries = Member(file, "interpolations");
    if (!entries || !entries->is_array()) return Outcome::Failure(path + ": no list of interpolations");

    Refusals refusals(path);
    if (const Json* limits = Member(file, "jointLimits")) {
        if (limits->is_array())
            ApplyJointLimits(*limits, parts, refusals);
        else
            refusals.Add("\"jointLimits\" is no list; every Part stays free");
    }
    if (const Json* unit = Member(file, "lengthUnit")) {
        double metres = 0.0;
        if (NumberMember(*unit, "metres", metres) && IsKnownLengthUnit(metres))
            data.metresPerUnit = metres;
        else
            refusals.Add("\"lengthUnit\" gives no length in metres between 1e-9 and 1e9; the unit stays unknown");
    }
    if (const Json* loops = Member(file, "loops")) {
        for (const Json& name : loops->is_array() ? *loops : Json::array({*loops})) {
            Motion* looped = nullptr;
            for (Motion& motion : motions)
                if (name.is_string() && motion.name == name.get<std::string>()) looped = &motion;
            if (looped)
                looped->loop = true;
            else
                refusals.Add(name.dump(-1, ' ', false, Json::error_handler_t::replace) +
                             " in \"loops\" names no Motion of the project; it was not made a loop");
        }
    }
    for (const Json& entry : *entries) {
        const EntryTarget target = TargetOf(entry, parts, motions, refusals);
        MotionTrack* track = target.track;
        if (!track) continue;
        const Json* keys = Member(entry, "keys");
        if (!keys || !keys->is_array()) {
            refusals.Add("an entry without its list of keys was skipped");
            continue;
        }
        for (const Json& key : *keys) {
            int64_t frame = -1;
            std::string name;
            if (!IntegerMember(key, "frame", frame) || !TextMember(key, "interpolation", name)) {
                refusals.Add("a key without its frame and interpolation was skipped");
                continue;
            }
            const std::optional<KeyInterpolation> interpolation = ParseInterpolation(name);
            const int found =
                frame < 0 || frame > std::numeric_limits<int32_t>::max() ? -1 : track->FindKey(static_cast<int>(frame));
            if (!interpolation)
                refusals.Add("\"" + name + "\" (frame " + std::to_string(frame) + ") is no interpolation");
            else if (found < 0)
                refusals.Add("frame " + std::to_string(frame) + " of " + target.part + " in \"" + target.motion +
                             "\" has no key");
            else if (!OwnsHandles(*interpolation))
                track->keys[size_t(found)].interpolation = *interpolation;
            else if (const std::optional<BezierHandles> handles = HandlesOf(Member(key, "handles")))
                track->keys[size_t(found)].interpolation = *interpolation,
                track->keys[size_t(found)].handles = *handles;
            else
                refusals.Add("frame " + std::to_string(frame) + " of " + target.part + " in \"" + target.motion +
                             "\" has no usable handles; it stays linear");
        }
    }
    return refusals.Result();
}

}  // namespace m3d
