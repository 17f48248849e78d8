#include "pictures/MotionPictures.h"

#include "anim/PoseEvaluation.h"
#include "gl/OffscreenDrawing.h"
#include "pictures/MovieFile.h"
#include "scene/Scene.h"
#include "view/PictureViews.h"

#include <cfloat>
#include <string>

namespace m3d {

void FrameWholeMotion(Scene& scene, const MotionFrameRange& range, ViewState& views)
{
    Vec3 lo{FLT_MAX, FLT_MAX, FLT_MAX};
    Vec3 hi{-FLT_MAX, -FLT_MAX, -FLT_MAX};
    int seen = 0;
    for (int frame = range.first; frame <= range.last; ++frame) {
        EvaluatePose(scene, range.motion, frame);
        seen += WidenByVertices(scene.Meshes(), lo, hi);
    }
    if (seen > 0)
        views.FitBox(lo, hi);
    else
        views.FitWholeModel(scene.Meshes());
}

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
