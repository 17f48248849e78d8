#pragma once

#include "foreign/ForeignModel.h"
#include "io/Outcome.h"

#include <string>
#include <vector>

namespace m3d {

// How the animations of a model become Motions: from when, for how long,
// which Parts they move, and which of them an import offers.

// The time (seconds) the Motion of animation starts at: its earliest key when
// fromFirstKey (the hold before that key left out), else 0.
double ImportStartOf(const ForeignAnimation& animation, bool fromFirstKey);

// The last frame the Motion of animation needs at framesPerSecond from
// ImportStartOf, in double: a far key time is no integer, and the result may
// lie past kMaxMotionLength. Key times are floats, so a key meant for a frame
// may lie a hair past it: that frame is the last.
double ImportLastFrameOf(const ForeignAnimation& animation, int framesPerSecond, bool fromFirstKey);

// The length of that Motion: ImportLastFrameOf within kMinMotionLength ... kMaxMotionLength.
int ImportedMotionLength(const ForeignAnimation& animation, int framesPerSecond, bool fromFirstKey);

// One animation of a model as an import would bring it.
struct ImportableAnimation {
    std::string name;             // as the file has it
    int length = 0;               // of its Motion, in frames (ImportedMotionLength)
    std::vector<int> movedParts;  // the Parts (ImportedPartsOf's order) whose key leaves their rest at a frame
    int repeats = -1;             // the earlier animation whose Motion it repeats key for key, or -1
    bool offered = false;         // on at first: it moves a Part and repeats no other animation
};

// The animations of model (in its order), their Motions sampled at every
// frame at framesPerSecond, started as ImportStartOf says. Two keys are the
// same when no element differs by more than kRedundantKeyTolerance (times
// the larger element's size when that is above 1). A file that holds one take
// per object and action offers only the takes that move something, once each.
std::vector<ImportableAnimation> ImportableAnimations(const ForeignModel& model, int framesPerSecond,
                                                      bool fromFirstKey);

// The offered flag of each animation.
std::vector<bool> OfferedAnimations(const std::vector<ImportableAnimation>& animations);

// Per animation of model, whether its name is one of names (every animation of
// a name given). Fails, naming path and the first name that no animation
// has, and the names there are, when a name is unknown.
Expected<std::vector<bool>> AnimationsNamed(const ForeignModel& model, const std::vector<std::string>& names,
                                            const std::string& path);

}  // namespace m3d
