#include "anim/PoseEvaluation.h"
#include "pictures/MotionPictures.h"
#include "support/MotionFixtures.h"
#include "view/PictureViews.h"

#include <gtest/gtest.h>

using namespace m3d;

// A cube that hops 30 units up in the middle of its Motion, far out of the
// box it has at rest, must stay inside a picture framed without a camera.
TEST(MotionFraming, EveryFrameOfAHopStaysInsideThePicture)
{
    MotionSessionFixture fixture(1, 20);
    Scene& scene = fixture.session.GetScene();
    const int motion = fixture.session.CurrentMotion();
    ASSERT_TRUE(SetKeyMatrix(scene, motion, 0, 0, Matrix4::Identity()));
    ASSERT_TRUE(SetKeyMatrix(scene, motion, 0, 10, MatrixTranslation(0, 30, 0)));
    ASSERT_TRUE(SetKeyMatrix(scene, motion, 0, 20, Matrix4::Identity()));
    EvaluatePose(scene, motion, 0);

    for (ViewType type : {ViewType::Pers, ViewType::Front}) {
        PictureViewOptions options;
        options.type = type;
        PictureViews views = MakePictureViews(scene, options);
        FrameWholeMotion(scene, {motion, 0, 20}, views.views);
        const PixelRect picture = views.views.Viewport(PictureViews::kView);
        for (int frame = 0; frame <= 20; ++frame) {
            EvaluatePose(scene, motion, frame);
            const CMesh* mesh = scene.Meshes().front();
            for (int k = 0; k < mesh->GetVertexNum(); ++k) {
                const _MESH_VERTEX* v = mesh->GetVertex(k);
                const std::optional<PixelPoint> at =
                    views.views.PixelOf(PictureViews::kView, TransformPoint({v->x, v->y, v->z}, mesh->GetMatrix()));
                ASSERT_TRUE(at.has_value());
                EXPECT_TRUE(at->x >= float(picture.left) && at->x <= float(picture.right) &&
                            at->y >= float(picture.top) && at->y <= float(picture.bottom))
                    << ViewTypeName(type) << " frame " << frame << " vertex " << k << " at " << at->x << ", " << at->y;
            }
        }
    }
}
