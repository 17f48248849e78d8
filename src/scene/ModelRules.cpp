#include "scene/ModelRules.h"

#include "scene/Scene.h"

namespace m3d {

namespace {

const char* RuleText(ModelRule rule)
{
    switch (rule) {
    case ModelRule::ParentBeforeChild: return "parent is not -1 or an earlier Part";
    case ModelRule::PartnerInRange: return "partner is not -1 or a Part";
    case ModelRule::JointLimitValid: return "joint limit is not free or a range within -180 ... 180 degrees";
    case ModelRule::OneTrackPerPart: return "track count differs from the Part count";
    case ModelRule::TrackHasKeys: return "track has no key";
    case ModelRule::KeysAscending: return "keys are not in strictly ascending frame order";
    case ModelRule::FirstKeyAtFrameZero: return "first key is not at frame 0";
    }
    return "unknown rule";
}

}  // namespace

std::string DescribeViolation(const ModelViolation& violation)
{
    std::string text;
    const auto place = [&text](const char* what, int index) {
        if (index < 0) return;
        text += (text.empty() ? "" : ", ") + std::string(what) + " " + std::to_string(index);
    };
    place("Motion", violation.motion);
    place("Part", violation.part);
    place("key", violation.key);
    return (text.empty() ? "" : text + ": ") + RuleText(violation.rule);
}

std::string DescribeViolations(const std::vector<ModelViolation>& violations)
{
    std::string text;
    for (const ModelViolation& violation : violations) text += DescribeViolation(violation) + "\n";
    return text;
}

std::optional<ModelViolation> ValidateTrack(const MotionTrack& track)
{
    if (track.keys.empty()) return ModelViolation{ModelRule::TrackHasKeys};
    for (size_t k = 1; k < track.keys.size(); ++k)
        if (track.keys[k].frame <= track.keys[k - 1].frame)
            return ModelViolation{ModelRule::KeysAscending, -1, -1, static_cast<int>(k)};
    if (track.keys.front().frame != 0) return ModelViolation{ModelRule::FirstKeyAtFrameZero, -1, -1, 0};
    return std::nullopt;
}

std::vector<ModelViolation> Validate(const Motion& motion, int partCount)
{
    std::vector<ModelViolation> violations;
    if (static_cast<int>(motion.tracks.size()) != partCount) violations.push_back({ModelRule::OneTrackPerPart});
    for (size_t p = 0; p < motion.tracks.size(); ++p)
        if (std::optional<ModelViolation> broken = ValidateTrack(motion.tracks[p])) {
            broken->part = static_cast<int>(p);
            violations.push_back(*broken);
        }
    return violations;
}

std::vector<ModelViolation> Validate(const Scene& scene)
{
    std::vector<ModelViolation> violations;
    const int partCount = scene.PartCount();
    for (int i = 0; i < partCount; ++i) {
        const Part& part = *scene.Parts()[static_cast<size_t>(i)];
        if (!IsValidParentIndex(part.parentIndex, i)) violations.push_back({ModelRule::ParentBeforeChild, -1, i});
        if (!IsValidPartnerIndex(part.symmetryIndex, partCount))
            violations.push_back({ModelRule::PartnerInRange, -1, i});
        if (!IsValidJointLimit(part.jointLimit)) violations.push_back({ModelRule::JointLimitValid, -1, i});
    }
    for (int m = 0; m < scene.MotionCount(); ++m)
        for (ModelViolation violation : Validate(scene.MotionAt(m), partCount)) {
            violation.motion = m;
            violations.push_back(violation);
        }
    return violations;
}

}  // namespace m3d
