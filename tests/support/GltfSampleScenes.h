#pragma once

#include "anim/MotionOperations.h"
#include "meshlib/TextureWriter.h"
#include "support/SceneFixtures.h"

#include <string>

namespace m3d {

// Models the glTF export is read back from by outside readers.

// A key pose: turned about Y by yaw and about X by pitch, placed at (x, y, z).
inline Matrix4 SampleKey(float yaw, float pitch, Vec3 at)
{
    Matrix4 m = MatrixRotationYawPitchRoll(yaw, pitch, 0.0f);
    m.SetTranslation(at);
    return m;
}

// A figure with Japanese names: "胴体" (textured, 肌.png) with "頭" and the
// arms "左腕" (at -X, the model's left) and "右腕" under it, "目印" without
// faces under "頭", and the top-level "台". Motions: "歩く" (40 frames; the
// torso turns one and a half times round in steps of 120 degrees, so
// neighbouring keys' quaternions change sign; the arms swing on keys the
// other Parts lack), "待機" (frame-0 keys only) and "jump" (30 frames, the
// torso rises, a key on frame 30 itself).
inline void BuildFigureSample(EditorSession& session, const TempFolder& folder)
{
    Scene& scene = session.GetScene();
    TextureImage skin;
    skin.width = skin.height = 4;
    for (int i = 0; i < 16; ++i) skin.rgba.insert(skin.rgba.end(), {uint8_t(i * 16), 128, uint8_t(255 - i * 16), 255});
    const Expected<std::string> png = EncodeTextureImage(skin, ImageFormat::Png);
    folder.Write("肌.png", png ? *png : std::string());
    folder.Write("胴体.mqo", CubeObjectFile(1.0f, "肌.png"));
    const int torso = scene.AddPartFromFile(folder.File("胴体.mqo")).index;
    const int head = AddCubeUnder(scene, folder, torso, "頭.mqo");
    const int left = AddCubeUnder(scene, folder, torso, "左腕.mqo");
    const int right = AddCubeUnder(scene, folder, torso, "右腕.mqo");
    folder.Write("目印.mqo",
                 "Metasequoia Document\r\nFormat Text Ver 1.0\r\n\r\nObject \"mark\" {\r\n\tvertex 1 {\r\n"
                 "\t\t0 0 0\r\n\t}\r\n}\r\nEof\r\n");
    SelectPart(scene, head);
    const int mark = scene.AddPartFromFile(folder.File("目印.mqo")).index;
    const int stand = AddCubeUnder(scene, folder, -1, "台.mqo");

    NewMotion(scene, "歩く");
    SetMotionLength(scene, 0, 40);
    for (int k = 0; k <= 4; ++k)
        SetKeyMatrix(scene, 0, torso, k * 10, SampleKey(2.0943951f * k, 0.0f, {0, 3, 0.5f * k}));
    SetKeyMatrix(scene, 0, head, 0, SampleKey(0, 0, {0, 2.5f, 0}));
    SetKeyMatrix(scene, 0, head, 40, SampleKey(0.5f, -0.3f, {0, 2.5f, 0}));
    SetKeyMatrix(scene, 0, left, 0, SampleKey(0, 0.8f, {-2, 0, 0}));
    SetKeyMatrix(scene, 0, left, 15, SampleKey(0, -0.8f, {-2, 0, 0}));
    SetKeyMatrix(scene, 0, right, 0, SampleKey(0, -0.8f, {2, 0, 0}));
    SetKeyMatrix(scene, 0, right, 25, SampleKey(0.3f, 0.8f, {2, 0.5f, 0}));
    SetKeyMatrix(scene, 0, mark, 0, SampleKey(0, 0, {0, 1.5f, -1}));
    SetKeyMatrix(scene, 0, stand, 0, SampleKey(0, 0, {0, -2, 0}));
    NewMotion(scene, "待機");
    NewMotion(scene, "jump");
    SetMotionLength(scene, 2, 30);
    SetKeyMatrix(scene, 2, torso, 30, SampleKey(0.0f, 0.0f, {0, 6, 0}));
    session.SelectMotion(0);
}

// Keys of one Part given whole: each key's matrix and the interpolation of
// the segment it starts (the frame-0 key already there takes it too).
struct SampleTrackKey {
    int frame;
    Matrix4 matrix;
    KeyInterpolation interpolation;
};
inline void SetSampleKeys(Scene& scene, int motion, int part, const std::vector<SampleTrackKey>& keys)
{
    for (const SampleTrackKey& key : keys) {
        SetKeyMatrix(scene, motion, part, key.frame, key.matrix, key.interpolation);
        SetKeyInterpolation(scene, motion, part, key.frame, key.interpolation);
    }
}

// Every kind of interpolation, for the glTF and DirectX exports: cubes
// "smooth" (with "step" under it), "ease" (with "mixed" under it) and
// "linear". Motion "kinds" (50 frames): smooth turns by 120 degrees a key
// (quaternions change sign) and ends at 40, step holds, ease has an ease-in-
// out and an overshooting ease, mixed runs smooth, step, ease-in, linear,
// smooth, linear keeps to its keys. Motion "past" (30 frames) has keys past
// its end: smooth keys on "smooth" (one on frame 30) and on "step" (none
// there), step keys on "ease".
inline void BuildInterpolationSample(EditorSession& session, const TempFolder& folder)
{
    Scene& scene = session.GetScene();
    const int smooth = AddCubeUnder(scene, folder, -1, "smooth.mqo");
    const int step = AddCubeUnder(scene, folder, smooth, "step.mqo");
    const int ease = AddCubeUnder(scene, folder, -1, "ease.mqo");
    const int mixed = AddCubeUnder(scene, folder, ease, "mixed.mqo");
    const int linear = AddCubeUnder(scene, folder, -1, "linear.mqo");
    const KeyInterpolation s = KeyInterpolation::Smooth(), t = KeyInterpolation::Step(), l = KeyInterpolation::Linear();
    const KeyInterpolation overshoot = KeyInterpolation::Ease(0.3f, -0.5f, 0.7f, 1.6f);

    NewMotion(scene, "kinds");
    SetMotionLength(scene, 0, 50);
    SetSampleKeys(scene, 0, smooth,
                  {{0, SampleKey(0, 0, {0, 0, 0}), s},
                   {10, SampleKey(2.0943951f, 0.3f, {1, 2, 0}), s},
                   {25, SampleKey(4.1887902f, -0.2f, {3, 1, -1}), s},
                   {40, SampleKey(6.2f, 0.5f, {0, 3, 2}), s}});
    SetSampleKeys(scene, 0, step,
                  {{0, SampleKey(0, 0.2f, {0, 2, 0}), t},
                   {7, SampleKey(1.0f, -0.4f, {1, 2, 0}), t},
                   {20, SampleKey(-1.0f, 0.4f, {0, 2, 1}), t}});
    SetSampleKeys(scene, 0, ease,
                  {{0, SampleKey(0, 0, {-3, 0, 0}), KeyInterpolation::EaseInOut()},
                   {12, SampleKey(1.5f, 0.5f, {-3, 2, 0}), overshoot},
                   {30, SampleKey(-1.0f, 0, {-4, 0, 1}), l}});
    SetSampleKeys(scene, 0, mixed,
                  {{0, SampleKey(0, 0, {0, 1, 0}), s},
                   {8, SampleKey(0.8f, 0.2f, {0, 1.5f, 0}), t},
                   {16, SampleKey(1.6f, 0.4f, {0.5f, 1, 0}), KeyInterpolation::EaseIn()},
                   {24, SampleKey(2.4f, 0.2f, {0, 1, 0.5f}), l},
                   {32, SampleKey(3.2f, 0, {0, 2, 0}), s},
                   {44, SampleKey(4.0f, -0.3f, {1, 1, 1}), s}});
    SetSampleKeys(scene, 0, linear, {{0, SampleKey(0, 0, {3, 0, 0}), l}, {20, SampleKey(1.0f, 0, {3, 1, 0}), l}});

    NewMotion(scene, "past");
    SetSampleKeys(scene, 1, smooth,
                  {{0, SampleKey(0, 0, {0, 0, 0}), s},
                   {30, SampleKey(2.5f, 0.4f, {2, 1, 0}), s},
                   {45, SampleKey(5.0f, 0, {0, 2, 0}), s}});
    SetSampleKeys(scene, 1, step,
                  {{0, SampleKey(0, 0, {0, 2, 0}), s},
                   {20, SampleKey(1.5f, 0.3f, {1, 2, 0}), s},
                   {40, SampleKey(3.0f, 0, {0, 3, 0}), s}});
    SetSampleKeys(scene, 1, ease,
                  {{0, SampleKey(0, 0, {-3, 0, 0}), t},
                   {25, SampleKey(1.0f, 0, {-3, 1, 0}), t},
                   {40, SampleKey(2.0f, 0, {-3, 2, 0}), t}});
    scene.EditMotion(1)->length = 30;
    session.SelectMotion(0);
}

// parts Parts in chains of four under the root entry (so nested four deep),
// each an offset cube, with motions Motions of 60 frames keyed every 5 frames.
inline void BuildManyPartsSample(EditorSession& session, const TempFolder& folder, int parts, int motions)
{
    Scene& scene = session.GetScene();
    for (int i = 0; i < parts; ++i)
        AddCubeUnder(scene, folder, i % 4 == 0 ? -1 : i - 1, "p" + std::to_string(i) + ".mqo");
    for (int m = 0; m < motions; ++m) {
        NewMotion(scene, "motion" + std::to_string(m));
        for (int p = 0; p < parts; ++p)
            for (int f = 0; f <= 60; f += 5)
                SetKeyMatrix(scene, m, p, f,
                             SampleKey(0.05f * f * (m + 1) + p, 0.02f * p - 0.01f * f,
                                       {p % 4 == 0 ? 3.0f * (p / 4) : 0.0f, p % 4 == 0 ? 0.0f : 2.0f, 0.1f * f}));
    }
    session.SelectMotion(0);
}

}  // namespace m3d
