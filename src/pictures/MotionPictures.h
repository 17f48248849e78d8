#pragma once

#include "io/Outcome.h"

#include <functional>

namespace m3d {

class GlRenderDevice;
class MovieWriter;
class OffscreenTarget;
class Scene;
class ViewState;
struct PictureViews;

// The frames first ... last (inclusive) of Motion motion of scene.
struct MotionFrameRange {
    int motion = 0;
    int first = 0;
    int last = 0;
    int Count() const { return last - first + 1; }
};

// Frames views on the box of the model over every frame of range (as
// FitWholeModel frames one pose), so no Part leaves the picture at any of
// them. Leaves scene posed at range.last; a model without vertices leaves
// the views as FitWholeModel does.
void FrameWholeMotion(Scene& scene, const MotionFrameRange& range, ViewState& views);

// Poses scene at every frame of range in order (as EvaluatePose does), draws
// it in views into target through device and hands the picture to writer;
// progress, when set, hears the number of frames done after each and stops
// the work with a Cancellation by answering false. Stops at the
// first frame the writer refuses, with its failure. Needs the context of
// device and target current when each frame is drawn.
Outcome WriteMotionPictures(Scene& scene, const MotionFrameRange& range, const PictureViews& views,
                            GlRenderDevice& device, const OffscreenTarget& target, MovieWriter& writer,
                            const std::function<bool(int done)>& progress = {});

}  // namespace m3d
