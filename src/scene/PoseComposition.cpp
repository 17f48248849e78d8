#include "scene/PoseComposition.h"

namespace m3d {

Matrix4 WorldFromLocal(const Matrix4& localMatrix, Vec3 localPosition, const Matrix4* parentWorld)
{
    if (!parentWorld) {
        Matrix4 world = localMatrix;
        world.SetTranslation(localPosition);
        return world;
    }
    Matrix4 world = localMatrix * *parentWorld;
    world.SetTranslation(TransformPoint(localPosition, *parentWorld));
    return world;
}

Matrix4 LocalFromWorld(const Matrix4& world, const Matrix4* parentWorld)
{
    return parentWorld ? world * InverseOrIdentity(*parentWorld) : world;
}

Matrix4 InverseOrIdentity(const Matrix4& m)
{
    Matrix4 inverse;
    return MatrixInverse(m, inverse) ? inverse : Matrix4::Identity();
}

Matrix4 MirrorRotation(const Matrix4& m)
{
    Matrix4 out = m;
    out.m[0][1] = -out.m[0][1];
    out.m[0][2] = -out.m[0][2];
    out.m[1][0] = -out.m[1][0];
    out.m[2][0] = -out.m[2][0];
    return out;
}

}  // namespace m3d
