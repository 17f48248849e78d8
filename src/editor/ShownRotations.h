#pragma once

#include "view/TransformOperations.h"

#include <cstdint>
#include <unordered_map>

namespace m3d {

class Scene;

// The rotations the transform panel last showed or had typed for each Part,
// so that every Part's numbers go on from where the user last saw them: a
// rotation is read as the triple of angles nearest the one last shown for
// the same Part and row (NearestAngles), (0, 0, 0) for a Part not shown yet.
// Kept by Part id, so a Part renumbered or taken out and put back keeps them.
class ShownRotations {
public:
    // The panel's values for Part part of scene (all zero for an index
    // outside the Parts), their rotations nearest those last shown for it,
    // which they then become.
    TransformValues Show(const Scene& scene, int part);
    // The rotations a Set typed for Part part become those last shown, so
    // that the Part's rotation reads back as typed. Nothing for an index
    // outside the Parts.
    void Typed(const Scene& scene, int part, HeadingPitchBank relative, HeadingPitchBank absolute);

private:
    struct Rotations {
        HeadingPitchBank relative, absolute;
    };
    std::unordered_map<uint64_t, Rotations> last;
};

}  // namespace m3d
