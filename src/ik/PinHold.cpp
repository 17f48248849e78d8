#include "ik/PinHold.h"

#include <algorithm>

namespace m3d {

std::vector<IkGoalResult> HoldPins(const IkRig& rig, const LocalPose& before, LocalPose& pose, std::vector<int> pins,
                                   const IkSettings& settings)
{
    const int count = rig.PartCount();
    std::erase_if(pins, [count](int pin) { return pin < 0 || pin >= count; });
    std::sort(pins.begin(), pins.end());
    pins.erase(std::unique(pins.begin(), pins.end()), pins.end());
    std::vector<char> changed(size_t(count), 0);
    for (int i = 0; i < count; ++i) changed[size_t(i)] = !SameLocalPose(before[size_t(i)], pose[size_t(i)]);

    std::vector<IkGoalResult> results;
    for (const int pin : pins) {
        const Vec3 held = PivotIn(rig, before, pin);
        // The Part just below the nearest changed ancestor: the chain's root.
        int root = pin;
        int above = rig.parents[size_t(pin)];
        while (above >= 0 && !changed[size_t(above)]) {
            root = above;
            above = rig.parents[size_t(above)];
        }
        const bool moved = !(before[size_t(pin)].localPosition == pose[size_t(pin)].localPosition);
        if (above < 0 || root == pin || moved) {
            results.push_back(GoalResultIn(rig, pose, pin, held));
            continue;
        }
        results.push_back(SolveChain(rig, pose, {pin, root, held, std::nullopt}, settings));
        for (int p = rig.parents[size_t(pin)]; p != above; p = rig.parents[size_t(p)])
            changed[size_t(p)] = !SameLocalPose(before[size_t(p)], pose[size_t(p)]);
    }
    return results;
}

}  // namespace m3d
