#include "anim/ImportedAnimations.h"

#include "anim/ImportedParts.h"
#include "anim/WholeMotionOperations.h"
#include "foreign/ChannelSampling.h"
#include "math/NearlyEqualMatrices.h"
#include "scene/ProjectFileFormat.h"

#include <algorithm>
#include <cmath>

namespace m3d {

namespace {

// The time of the first key of animation (0 without keys).
double FirstKeyOf(const ForeignAnimation& animation)
{
    double first = 0.0;
    bool any = false;
    for (const ForeignChannel& channel : animation.channels)
        if (!channel.times.empty()) {
            first = any ? std::min(first, double{channel.times.front()}) : double{channel.times.front()};
            any = true;
        }
    return first;
}

// Whether animations a and b, both of length frames, give every Part the same key at every frame.
bool SameMotion(const ForeignModel& model, const ImportedParts& parts, size_t a, size_t b, int length,
                int framesPerSecond, bool fromFirstKey)
{
    const double startA = ImportStartOf(model.animations[a], fromFirstKey);
    const double startB = ImportStartOf(model.animations[b], fromFirstKey);
    for (int frame = 0; frame <= length; ++frame) {
        const double offset = double(frame) / framesPerSecond;
        const std::vector<Matrix4> keysA = ImportedPartKeys(model, parts, static_cast<int>(a), startA + offset);
        const std::vector<Matrix4> keysB = ImportedPartKeys(model, parts, static_cast<int>(b), startB + offset);
        for (size_t p = 0; p < keysA.size(); ++p)
            if (!NearlyEqualMatrices(keysA[p], keysB[p], kRedundantKeyTolerance)) return false;
    }
    return true;
}

}  // namespace

double ImportStartOf(const ForeignAnimation& animation, bool fromFirstKey)
{
    return fromFirstKey ? FirstKeyOf(animation) : 0.0;
}

double ImportLastFrameOf(const ForeignAnimation& animation, int framesPerSecond, bool fromFirstKey)
{
    return std::ceil((AnimationDuration(animation) - ImportStartOf(animation, fromFirstKey)) * framesPerSecond - 1e-3);
}

int ImportedMotionLength(const ForeignAnimation& animation, int framesPerSecond, bool fromFirstKey)
{
    return static_cast<int>(std::clamp(ImportLastFrameOf(animation, framesPerSecond, fromFirstKey),
                                       static_cast<double>(kMinMotionLength), static_cast<double>(kMaxMotionLength)));
}

std::vector<ImportableAnimation> ImportableAnimations(const ForeignModel& model, int framesPerSecond, bool fromFirstKey)
{
    const ImportedParts parts = ImportedPartsOf(model);
    const std::vector<Matrix4> rest = ImportedPartKeys(model, parts, -1, 0.0);
    std::vector<ImportableAnimation> list;
    for (size_t a = 0; a < model.animations.size(); ++a) {
        const ForeignAnimation& animation = model.animations[a];
        ImportableAnimation entry;
        entry.name = animation.name;
        entry.length = ImportedMotionLength(animation, framesPerSecond, fromFirstKey);
        const double start = ImportStartOf(animation, fromFirstKey);
        std::vector<bool> moved(rest.size(), false);
        for (int frame = 0; frame <= entry.length; ++frame) {
            const std::vector<Matrix4> keys =
                ImportedPartKeys(model, parts, static_cast<int>(a), start + double(frame) / framesPerSecond);
            for (size_t p = 0; p < keys.size(); ++p)
                moved[p] = moved[p] || !NearlyEqualMatrices(keys[p], rest[p], kRedundantKeyTolerance);
        }
        for (size_t p = 0; p < moved.size(); ++p)
            if (moved[p]) entry.movedParts.push_back(static_cast<int>(p));
        // Compared only with the animations offered before it: a repeat of a repeat repeats the first.
        for (size_t b = 0; b < a && entry.repeats < 0 && !entry.movedParts.empty(); ++b)
            if (list[b].offered && list[b].length == entry.length && list[b].movedParts == entry.movedParts &&
                SameMotion(model, parts, b, a, entry.length, framesPerSecond, fromFirstKey))
                entry.repeats = static_cast<int>(b);
        entry.offered = !entry.movedParts.empty() && entry.repeats < 0;
        list.push_back(std::move(entry));
    }
    return list;
}

std::vector<bool> OfferedAnimations(const std::vector<ImportableAnimation>& animations)
{
    std::vector<bool> offered;
    for (const ImportableAnimation& animation : animations) offered.push_back(animation.offered);
    return offered;
}

Expected<std::vector<bool>> AnimationsNamed(const ForeignModel& model, const std::vector<std::string>& names,
                                            const std::string& path)
{
    std::vector<bool> kept(model.animations.size(), false);
    for (const std::string& name : names) {
        bool found = false;
        for (size_t a = 0; a < model.animations.size(); ++a)
            if (model.animations[a].name == name) kept[a] = found = true;
        if (found) continue;
        std::string there;
        for (const ForeignAnimation& animation : model.animations)
            there += (there.empty() ? "'" : ", '") + animation.name + "'";
        return Outcome::Failure(path + ": no animation is named '" + name + "' (" +
                                (there.empty() ? std::string("the file has none") : "the file has " + there) + ")");
    }
    return kept;
}

}  // namespace m3d
