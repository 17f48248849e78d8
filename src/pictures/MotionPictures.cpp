#include "pictures/MotionPictures.h"

#include "anim/PoseEvaluation.h"
#include "gl/OffscreenDrawing.h"
#include "pictures/MovieFile.h"
#include "view/PictureViews.h"

#include <string>

namespace m3d {

Outcome WriteMotionPictures(Scene& scene, const MotionFrameRange& range, const PictureViews& views,
                            GlRenderDevice& device, const OffscreenTarget& target, MovieWriter& writer,
                            const std::function<bool(int done)>& progress)
{
    for (int frame = range.first; frame <= range.last; ++frame) {
        EvaluatePose(scene, range.motion, frame);
        if (Outcome added = writer.Add(DrawOffscreen(device, target, views.Inputs(scene))); !added) return added;
        if (progress && !progress(frame - range.first + 1))
            return Outcome::Cancellation("the pictures were stopped after frame " + std::to_string(frame));
    }
    return Outcome();
}

}  // namespace m3d
