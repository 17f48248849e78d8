#pragma once

#include "ik/IkRig.h"
#include "math/Matrix4.h"

#include <gtest/gtest.h>

#include <cstring>

namespace m3d {

// Rigs built without a Scene for the solvers' tests: each Part's local pose
// as a key would give it (its translation row holding its localPosition).
struct TestRig {
    IkRig rig;
    LocalPose pose;

    // Adds a Part under parent (-1: top level) with its pivot at position in
    // the parent's frame; returns its index.
    int Add(int parent, Vec3 position, const Matrix4& rotation = Matrix4())
    {
        rig.parents.push_back(parent);
        rig.partners.push_back(-1);
        rig.limits.push_back({});
        Matrix4 local = rotation;
        local.SetTranslation(position);
        pose.push_back({local, position});
        return static_cast<int>(pose.size()) - 1;
    }
    void Partners(int a, int b)
    {
        rig.partners[size_t(a)] = b;
        rig.partners[size_t(b)] = a;
    }
    Vec3 Pivot(int part) const { return PivotIn(rig, pose, part); }
};

// Every Part of after but those of allowed has the local pose it had in
// before, bit for bit; and every localPosition is unchanged.
inline ::testing::AssertionResult OnlyTheseTurned(const LocalPose& before, const LocalPose& after,
                                                  const std::vector<int>& allowed)
{
    for (size_t i = 0; i < before.size(); ++i) {
        if (std::memcmp(&before[i].localPosition, &after[i].localPosition, sizeof(Vec3)) != 0)
            return ::testing::AssertionFailure() << "Part " << i << "'s localPosition changed";
        bool may = false;
        for (int a : allowed) may = may || a == static_cast<int>(i);
        if (may) {
            if (before[i].localMatrix.Translation() == after[i].localMatrix.Translation()) continue;
            return ::testing::AssertionFailure() << "Part " << i << "'s translation row changed";
        }
        if (!SameLocalPose(before[i], after[i])) return ::testing::AssertionFailure() << "Part " << i << " changed";
    }
    return ::testing::AssertionSuccess();
}

}  // namespace m3d
