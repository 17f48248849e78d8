#pragma once

#include "foreign/ForeignModel.h"
#include "io/Outcome.h"

#include <string>
#include <vector>

namespace m3d {

class Scene;

// Frames a second at which an imported animation is sampled unless given.
constexpr int kDefaultImportFrameRate = 30;

// An animation that does not fit in a Motion (kMaxMotionLength frames at the
// import's frame rate): cut at the last frame, or left out when its first key
// comes after it.
struct AnimationCut {
    std::string name;                // the animation's, as the file has it
    double firstKey = 0.0;           // seconds
    double lastKey = 0.0;            // seconds
    int framesPerSecond = 0;         // the import's
    int fittingFramesPerSecond = 0;  // the highest rate at which it fits whole; 0 when even 1 does not
    bool whole = false;              // left out whole: it starts after the last frame
};

// seconds for a note: whole ones with their digits grouped ("333", "1,200"),
// tenths below ten ("2.5"), three digits from 10^12 on ("1e+30").
std::string SecondsFigure(double seconds);

// The English line of cut for the import's report: "animation 'walk' (0 ...
// 400 s) cut at 9,999 frames, 333 s at 30 fps; try --fps 24".
std::string AnimationCutNote(const AnimationCut& cut);

// Which animations of a model an import brings, and from when.
struct AnimationChoice {
    // Per animation of the model, whether it becomes a Motion; empty: every one.
    std::vector<bool> kept;
    // Each Motion starts at its animation's earliest key, the hold before
    // that key left out; else at the animation's time 0.
    bool fromFirstKey = true;
};

// What an import added, by index in the Scene, and what it could not bring.
struct ModelImport {
    std::vector<int> parts;    // the new Parts, in order
    std::vector<int> motions;  // the new Motions, in order
    // One English line for each thing left behind: the readers' notes, the
    // animated scales that were dropped, Parts whose files could not be read.
    std::vector<std::string> dropped;
    // The animations cut short or left out (not in dropped: the window words them itself).
    std::vector<AnimationCut> cuts;
};

// Every English line of what import left behind: dropped, then a line for
// each cut (AnimationCutNote), as the command line reports them.
std::vector<std::string> ImportNotes(const ModelImport& import);

// Fails, naming path and the limit, when adding model to a scene of
// partsThere Parts would leave it with more than kMaxModelNodes Parts; asked
// before anything of the model is built.
Outcome CheckModelFits(const ForeignModel& model, int partsThere, const std::string& path);

// Adds model (in the editor's space: ForeignSpace.h) to scene as Parts and
// Motions; path is the file it came from (named in messages, where its
// textures are looked up).
// - One Part per node ImportedPartOfNode (ImportedParts.h) keeps, under the
//   Part of its nearest kept ancestor (top-level Parts at the root), named
//   after the node (made storable and unique). Its pivot and axes are its
//   node's: the rotations of the node's chain and the place of its origin;
//   whatever scale the chain has at rest is baked into the geometry, so every
//   vertex stands where the file puts it.
// - Each animation that choice keeps becomes a Motion named after it
//   (storable, unique, at most 16 bytes), every Part sampled at every frame of
//   framesPerSecond from ImportStartOf on by the file's rules
//   (ImportedAnimations.h), then thinned by the removal of redundant keys
//   (kRedundantKeyTolerance). One longer than kMaxMotionLength frames is cut
//   there, and one whose keys all come after that is left out; both are
//   listed in cuts. Animated scale is not kept: the rest scale stays, and a
//   line in dropped says which nodes lost it.
// - A model that brings no Motion into a scene without Motions brings one,
//   named after the file, holding the rest pose (a project needs a Motion).
// - Existing Motions get a frame-0 key of each new Part's rest pose; the new
//   Motions a frame-0 key of each existing Part's current pose.
// The Parts' world transforms are composed; the model is left at its rest pose.
ModelImport ImportModel(Scene& scene, const ForeignModel& model, const std::string& path, int framesPerSecond,
                        const AnimationChoice& choice = {});

}  // namespace m3d
