#include "view/PictureViews.h"
#include "scene/Scene.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace m3d;

// A camera looking straight down or up still sees its target in the middle
// of the picture, below a point beside it.
TEST(PictureViews, AVerticalCameraSeesItsTargetInTheMiddle)
{
    Scene scene;
    for (const float height : {500.0f, -500.0f}) {
        PictureViewOptions options;
        options.width = 64;
        options.height = 48;
        options.camera = PictureCamera{{0, height, 0}, {0, 0, 0}};
        const PictureViews picture = MakePictureViews(scene, options);
        const ViewState& views = picture.views;
        const Matrix4 toClip = views.ViewMatrix(PictureViews::kView) * views.ProjectionMatrix(PictureViews::kView);
        const Vec3 middle = TransformCoord({0, 0, 0}, toClip);
        const Vec3 beside = TransformCoord({10, 0, 0}, toClip);
        ASSERT_TRUE(std::isfinite(middle.x) && std::isfinite(middle.y)) << height;
        EXPECT_NEAR(middle.x, 0.0f, 1e-3f) << height;
        EXPECT_NEAR(middle.y, 0.0f, 1e-3f) << height;
        EXPECT_GT(std::abs(beside.x - middle.x), 1e-3f) << height;
    }
}
