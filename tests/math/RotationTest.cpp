#include "math/Matrix4.h"
#include "math/Quaternion.h"
#include "support/MatrixMatchers.h"

#include <cmath>
#include <random>

using namespace m3d;

namespace {

constexpr float kHalfPi = 1.5707963f;
constexpr float kPi = 3.1415927f;

// In this left-handed world a positive turn about an axis is clockwise seen
// from the positive end of the axis looking at the origin.
TEST(Rotation, QuarterTurnsMoveTheAxesTheLeftHandedWay)
{
    EXPECT_TRUE(VectorsNear(TransformPoint({0, 1, 0}, MatrixRotationX(kHalfPi)), {0, 0, 1}, 1e-6f));
    EXPECT_TRUE(VectorsNear(TransformPoint({0, 0, 1}, MatrixRotationY(kHalfPi)), {1, 0, 0}, 1e-6f));
    EXPECT_TRUE(VectorsNear(TransformPoint({1, 0, 0}, MatrixRotationZ(kHalfPi)), {0, 1, 0}, 1e-6f));
    // The axis rotation about a coordinate axis agrees with the dedicated one.
    EXPECT_TRUE(MatricesNear(MatrixRotationAxis({0, 2, 0}, 0.7f), MatrixRotationY(0.7f), 1e-6f));
    EXPECT_TRUE(MatricesNear(MatrixRotationAxis({1, 0, 0}, -0.3f), MatrixRotationX(-0.3f), 1e-6f));
}

TEST(Rotation, EditorAxisRotationTurnsTheOtherWay)
{
    // The editor's axis rotation by +90 degrees about Y takes +Z to -X.
    EXPECT_TRUE(VectorsNear(TransformPoint({0, 0, 1}, AxisRotation({0, 1, 0}, kHalfPi)), {-1, 0, 0}, 1e-6f));
    const Vec3 axis = Normalize({1, 2, 3});
    EXPECT_TRUE(MatricesNear(AxisRotation(axis, 0.4f), MatrixRotationAxis(axis, -0.4f), 1e-7f));
}

TEST(Rotation, YawPitchRollAppliesBankThenPitchThenHeading)
{
    const float yaw = 0.3f, pitch = -0.8f, roll = 1.1f;
    const Matrix4 expected = MatrixRotationZ(roll) * MatrixRotationX(pitch) * MatrixRotationY(yaw);
    EXPECT_TRUE(MatricesNear(MatrixRotationYawPitchRoll(yaw, pitch, roll), expected, 1e-6f));
    // Heading 90: the forward axis +Z turns to +X; pitch 90 alone points it down.
    EXPECT_TRUE(VectorsNear(TransformNormal({0, 0, 1}, MatrixRotationYawPitchRoll(kHalfPi, 0, 0)), {1, 0, 0}, 1e-6f));
    EXPECT_TRUE(VectorsNear(TransformNormal({0, 0, 1}, MatrixRotationYawPitchRoll(0, kHalfPi, 0)), {0, -1, 0}, 1e-6f));
}

TEST(MatrixProduct, AppliesLeftOperandFirst)
{
    const Matrix4 move = MatrixTranslation(1, 0, 0);
    const Matrix4 turn = MatrixRotationY(kHalfPi);
    // Move then turn: (1, 0, 0) turns to (0, 0, -1).
    EXPECT_TRUE(VectorsNear(TransformPoint({0, 0, 0}, move * turn), {0, 0, -1}, 1e-6f));
    // Turn then move: the origin only moves.
    EXPECT_TRUE(VectorsNear(TransformPoint({0, 0, 0}, turn * move), {1, 0, 0}, 1e-6f));
}

TEST(MatrixInverse, UndoesAGeneralTransformAndRefusesSingular)
{
    const Matrix4 m =
        MatrixScaling(2, 3, 0.5f) * MatrixRotationYawPitchRoll(0.4f, 1.2f, -0.7f) * MatrixTranslation(5, -6, 7);
    Matrix4 inverse;
    ASSERT_TRUE(MatrixInverse(m, inverse));
    EXPECT_TRUE(MatricesNear(m * inverse, Matrix4::Identity(), 1e-5f));
    EXPECT_TRUE(MatricesNear(inverse * m, Matrix4::Identity(), 1e-5f));

    Matrix4 untouched = MatrixTranslation(9, 9, 9);
    EXPECT_FALSE(MatrixInverse(MatrixScaling(1, 0, 1), untouched));
    EXPECT_EQ(untouched, MatrixTranslation(9, 9, 9));
}

TEST(Projection, OrthoMapsTheBoxToUnitSquareAndDepthZeroToOne)
{
    const Matrix4 p = MatrixOrthoLH(200, 100, 1, 101);
    EXPECT_TRUE(VectorsNear(TransformCoord({100, 50, 1}, p), {1, 1, 0}, 1e-6f));
    EXPECT_TRUE(VectorsNear(TransformCoord({-100, -50, 101}, p), {-1, -1, 1}, 1e-6f));
}

TEST(Projection, PerspectiveUsesVerticalFieldOfView)
{
    const Matrix4 p = MatrixPerspectiveFovLH(kHalfPi, 2.0f, 1, 100);
    // At distance 10 the top edge of a 90-degree view is y = 10; the right edge x = 20.
    EXPECT_TRUE(VectorsNear(TransformCoord({20, 10, 10}, p), {1, 1, TransformCoord({0, 0, 10}, p).z}, 1e-5f));
    EXPECT_NEAR(TransformCoord({0, 0, 1}, p).z, 0.0f, 1e-6f);
    EXPECT_NEAR(TransformCoord({0, 0, 100}, p).z, 1.0f, 1e-6f);
}

TEST(Projection, LookAtPutsTargetOnPositiveZAndNormalisesUp)
{
    // From the front (-Z) looking at the origin with a slanted, unnormalised up vector.
    const Matrix4 v = MatrixLookAtLH({0, 0, -10}, {0, 0, 0}, {0, 3, 0.5f});
    EXPECT_TRUE(VectorsNear(TransformPoint({0, 0, 0}, v), {0, 0, 10}, 1e-5f));
    EXPECT_TRUE(VectorsNear(TransformPoint({1, 0, 0}, v), {1, 0, 10}, 1e-5f));
    EXPECT_TRUE(VectorsNear(TransformPoint({0, 1, 0}, v), {0, 1, 10}, 1e-5f));
    // Looking from +Z (the back) the world's +X appears on the left.
    const Matrix4 back = MatrixLookAtLH({0, 0, 10}, {0, 0, 0}, {0, 1, 0});
    EXPECT_LT(TransformPoint({1, 0, 0}, back).x, 0.0f);
}

TEST(Quaternion, MatrixRoundTripForRandomRotations)
{
    std::mt19937 rng(12345);
    std::uniform_real_distribution<float> angle(-kPi, kPi);
    for (int i = 0; i < 2000; ++i) {
        const Matrix4 m = MatrixRotationYawPitchRoll(angle(rng), angle(rng), angle(rng));
        const Matrix4 back = MatrixRotationQuaternion(QuaternionRotationMatrix(m));
        ASSERT_TRUE(MatricesNear(back, m, 1e-5f)) << "rotation " << i;
    }
    // Half turns take the branches away from the trace.
    for (const Matrix4& m : {MatrixRotationX(kPi), MatrixRotationY(kPi), MatrixRotationZ(kPi)})
        EXPECT_TRUE(MatricesNear(MatrixRotationQuaternion(QuaternionRotationMatrix(m)), m, 1e-5f));
}

TEST(Quaternion, MatrixFromQuaternionIgnoresTranslationAndKeepsRowFour)
{
    Matrix4 m = MatrixRotationY(0.5f);
    m.SetTranslation({3, 4, 5});
    const Matrix4 r = MatrixRotationQuaternion(QuaternionRotationMatrix(m));
    EXPECT_EQ(r.m[3][0], 0.0f);
    EXPECT_EQ(r.m[3][1], 0.0f);
    EXPECT_EQ(r.m[3][2], 0.0f);
    EXPECT_EQ(r.m[3][3], 1.0f);
    EXPECT_EQ(r.m[0][3], 0.0f);
    EXPECT_TRUE(MatricesNear(r, MatrixRotationY(0.5f), 1e-6f));
}

TEST(Slerp, HalfwayBetweenZeroAndHalfTurnIsQuarterTurn)
{
    const Quaternion q0 = QuaternionRotationMatrix(Matrix4::Identity());
    const Quaternion q1 = QuaternionRotationMatrix(MatrixRotationY(kPi));
    const Matrix4 mid = MatrixRotationQuaternion(QuaternionSlerp(q0, q1, 0.5f));
    // Both arcs are equally short; rounding of the half turn picks one of +90 and -90.
    EXPECT_TRUE(MatricesNear(mid, MatrixRotationY(kHalfPi), 1e-5f) ||
                MatricesNear(mid, MatrixRotationY(-kHalfPi), 1e-5f));
}

TEST(Slerp, TakesTheShorterArc)
{
    // 0 to 270 degrees is the same as 0 to -90: halfway is -45, not +135.
    const Quaternion q0 = QuaternionRotationMatrix(Matrix4::Identity());
    const Quaternion q1 = QuaternionRotationMatrix(MatrixRotationY(1.5f * kPi));
    const Matrix4 mid = MatrixRotationQuaternion(QuaternionSlerp(q0, q1, 0.5f));
    EXPECT_TRUE(MatricesNear(mid, MatrixRotationY(-kHalfPi / 2), 1e-5f));
    // A key stored as the negated quaternion gives the same path.
    const Quaternion q1n{-q1.x, -q1.y, -q1.z, -q1.w};
    EXPECT_TRUE(MatricesNear(MatrixRotationQuaternion(QuaternionSlerp(q0, q1n, 0.5f)), mid, 1e-6f));
}

TEST(Slerp, EndsAndNearlyEqualInputs)
{
    const Quaternion a = QuaternionRotationMatrix(MatrixRotationX(0.3f));
    const Quaternion b = QuaternionRotationMatrix(MatrixRotationZ(-1.0f));
    const Quaternion at0 = QuaternionSlerp(a, b, 0.0f);
    EXPECT_NEAR(at0.x, a.x, 1e-6f);
    EXPECT_NEAR(at0.w, a.w, 1e-6f);
    const Quaternion at1 = QuaternionSlerp(a, b, 1.0f);
    EXPECT_NEAR(at1.z, b.z, 1e-6f);
    EXPECT_NEAR(at1.w, b.w, 1e-6f);
    // Equal inputs take the linear blend and must not divide by sin(0).
    const Quaternion same = QuaternionSlerp(a, a, 0.25f);
    EXPECT_TRUE(std::isfinite(same.w));
    EXPECT_NEAR(same.x, a.x, 1e-6f);
    EXPECT_NEAR(same.w, a.w, 1e-6f);
}

// The algebra the solvers turn Parts with must agree with the matrices the
// Scene composes: order of composition, direction of turning, axis-angle.
TEST(QuaternionAlgebra, AgreesWithTheMatrices)
{
    const Quaternion a = QuaternionRotationMatrix(MatrixRotationYawPitchRoll(0.4f, -1.1f, 0.3f));
    const Quaternion b = QuaternionRotationMatrix(MatrixRotationYawPitchRoll(-2.0f, 0.5f, 1.7f));
    const Matrix4 ma = MatrixRotationQuaternion(a), mb = MatrixRotationQuaternion(b);
    EXPECT_TRUE(MatricesNear(MatrixRotationQuaternion(QuaternionThen(a, b)), ma * mb, 1e-5f));
    EXPECT_TRUE(MatricesNear(MatrixRotationQuaternion(QuaternionThen(a, QuaternionInverse(a))), Matrix4(), 1e-6f));
    const Vec3 v{0.3f, -2.0f, 5.0f};
    EXPECT_TRUE(VectorsNear(RotateByQuaternion(v, a), TransformNormal(v, ma), 1e-5f));
    const Vec3 axis = Normalize({1, -2, 0.5f});
    EXPECT_TRUE(
        MatricesNear(MatrixRotationQuaternion(QuaternionAxisAngle(axis, 2.5f)), MatrixRotationAxis(axis, 2.5f), 1e-6f));
    EXPECT_NEAR(QuaternionAngle(QuaternionAxisAngle(axis, -2.5f)), 2.5f, 1e-6f);
    // Between: onto the other direction, also for opposite and zero ones.
    const Vec3 from{0, 3, 0}, to{1, 1, -1};
    EXPECT_TRUE(VectorsNear(RotateByQuaternion(Normalize(from), QuaternionBetween(from, to)), Normalize(to), 1e-6f));
    EXPECT_TRUE(
        VectorsNear(RotateByQuaternion({0, 1, 0}, QuaternionBetween({0, 1, 0}, {0, -2, 0})), {0, -1, 0}, 1e-6f));
    const Quaternion none = QuaternionBetween({0, 0, 0}, to);
    EXPECT_EQ(none.w, 1.0f);
    EXPECT_EQ(QuaternionNormalize({0, 0, 0, 0}).w, 1.0f);
}

}  // namespace
