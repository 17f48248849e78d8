#pragma once

#include "scene/Motion.h"

#include <optional>
#include <string>
#include <vector>

namespace m3d {

class Scene;

// The rules every model holds between two commands, whoever built it (a
// command, the project reader, undo and redo).
enum class ModelRule {
    // A Part's parentIndex is -1 (top level) or the index of an earlier Part.
    ParentBeforeChild,
    // A Part's symmetryIndex is -1 or the index of a Part. Links need not be
    // mutual and a Part may name itself: the symmetry table accepts both.
    PartnerInRange,
    // A Part's joint limit is free or a range within -180 ... 180 degrees
    // (IsValidJointLimit).
    JointLimitValid,
    // A Motion has exactly one track per Part, in Part order.
    OneTrackPerPart,
    // A track holds at least one key (its frame-0 key cannot be deleted).
    TrackHasKeys,
    // A track's keys stand in strictly ascending frame order.
    KeysAscending,
    // A track's first key is at frame 0.
    FirstKeyAtFrameZero,
};

// One broken rule and where: the Motion, Part and key it concerns, each -1
// where it does not apply.
struct ModelViolation {
    ModelRule rule;
    int motion = -1;
    int part = -1;
    int key = -1;
};

// One short line naming the rule and the place, for messages and test output.
std::string DescribeViolation(const ModelViolation& violation);
// Every line of violations, each ended by '\n'; "" for none.
std::string DescribeViolations(const std::vector<ModelViolation>& violations);

// Whether parentIndex is a valid parent for Part partIndex.
constexpr bool IsValidParentIndex(int parentIndex, int partIndex)
{
    return parentIndex >= -1 && parentIndex < partIndex;
}
// Whether partnerIndex is a valid partner in a model of partCount Parts.
constexpr bool IsValidPartnerIndex(int partnerIndex, int partCount)
{
    return partnerIndex >= -1 && partnerIndex < partCount;
}

// The first rule track breaks, checked in this order: TrackHasKeys,
// KeysAscending (key = the first key not after its predecessor),
// FirstKeyAtFrameZero; nullopt when it holds them all. motion and part are -1.
std::optional<ModelViolation> ValidateTrack(const MotionTrack& track);

// What motion breaks in a model of partCount Parts: OneTrackPerPart, or the
// first broken rule of each track (part = the track's index); empty when it
// holds every rule. motion is -1 in the results.
std::vector<ModelViolation> Validate(const Motion& motion, int partCount);
// What the scene breaks: every Part's parent, partner and joint limit, then every
// Motion's tracks in Motion order; empty when the model holds every rule.
std::vector<ModelViolation> Validate(const Scene& scene);

}  // namespace m3d
