// libFuzzer target for the project's side file: any text applied to a fixed
// project changes no key's frame or matrix and no Part's name or links,
// leaves every joint limit valid and the unit unknown or valid, and what it gave is written back by
// BuildProjectExtras into a side file that gives the same again.
//   build-fuzz/bin/fuzz_project_extras -max_total_time=300 corpus/ fuzz/corpus/fuzz_project_extras/
#include "ExtrasFuzzProject.h"
#include "scene/JointLimit.h"
#include "scene/ProjectExtrasFile.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

using namespace m3d;

namespace {

// The frames and matrices of a's keys are b's, and a's Part records but their limits are b's.
bool SameModel(const ExtrasFuzzProject& a, const ExtrasFuzzProject& b)
{
    if (a.parts.size() != b.parts.size() || a.motions.size() != b.motions.size()) return false;
    for (size_t p = 0; p < a.parts.size(); ++p)
        if (a.parts[p].baseName != b.parts[p].baseName || a.parts[p].parentIndex != b.parts[p].parentIndex ||
            a.parts[p].symmetryIndex != b.parts[p].symmetryIndex)
            return false;
    for (size_t m = 0; m < a.motions.size(); ++m)
        for (size_t t = 0; t < a.motions[m].tracks.size(); ++t) {
            const std::vector<KeyFrame>& x = a.motions[m].tracks[t].keys;
            const std::vector<KeyFrame>& y = b.motions[m].tracks[t].keys;
            if (x.size() != y.size()) return false;
            for (size_t k = 0; k < x.size(); ++k)
                if (x[k].frame != y[k].frame || !(x[k].matrix == y[k].matrix)) return false;
        }
    return true;
}

// Every interpolation, joint limit and loop switch of a, and its unit, are b's.
bool SameExtras(const ExtrasFuzzProject& a, const ExtrasFuzzProject& b)
{
    if (a.metresPerUnit != b.metresPerUnit) return false;
    for (size_t m = 0; m < a.motions.size(); ++m)
        if (a.motions[m].loop != b.motions[m].loop) return false;
    for (size_t p = 0; p < a.parts.size(); ++p)
        if (!(a.parts[p].jointLimit == b.parts[p].jointLimit)) return false;
    for (size_t m = 0; m < a.motions.size(); ++m)
        for (size_t t = 0; t < a.motions[m].tracks.size(); ++t)
            for (size_t k = 0; k < a.motions[m].tracks[t].keys.size(); ++k)
                if (!(a.motions[m].tracks[t].keys[k].interpolation == b.motions[m].tracks[t].keys[k].interpolation))
                    return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const ExtrasFuzzProject pristine = MakeExtrasFuzzProject();
    ExtrasFuzzProject applied = pristine;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const Outcome outcome = ApplyProjectExtras(text, "fuzz.m3d.json", pristine.bytes, applied);
    if (!outcome && outcome.Message().empty()) std::abort();
    if (!SameModel(applied, pristine)) std::abort();
    for (const ProjectPartRecord& part : applied.parts)
        if (!part.jointLimit.IsFree() && !IsValidJointLimit(part.jointLimit)) std::abort();

    if (applied.metresPerUnit != kUnknownLengthUnit && !IsKnownLengthUnit(applied.metresPerUnit)) std::abort();

    const std::string written =
        BuildProjectExtras(applied.parts, applied.motions, applied.metresPerUnit, pristine.bytes);
    ExtrasFuzzProject again = pristine;
    if (!written.empty() && !ApplyProjectExtras(written, "again.m3d.json", pristine.bytes, again)) std::abort();
    if (!SameExtras(again, applied)) std::abort();
    return 0;
}
