#include "view/ConstrainedPose.h"

#include "scene/PartPlacement.h"
#include "scene/Scene.h"

#include <cmath>

namespace m3d {

namespace {

constexpr float kPi = 3.14159265f;
// Below this 1 - cos^2 between a ray and an axis (about 1.8 degrees) the two
// count as parallel: the nearest point would run off with every pixel.
constexpr float kParallelLines = 1e-3f;

}  // namespace

float SweptAngle(PixelPoint centre, PixelPoint from, PixelPoint to)
{
    const float fx = from.x - centre.x, fy = from.y - centre.y;
    const float tx = to.x - centre.x, ty = to.y - centre.y;
    if ((fx == 0.0f && fy == 0.0f) || (tx == 0.0f && ty == 0.0f)) return 0.0f;
    float angle = std::atan2(ty, tx) - std::atan2(fy, fx);
    if (angle > kPi) angle -= 2.0f * kPi;
    if (angle <= -kPi) angle += 2.0f * kPi;
    return angle;
}

float SnapToStep(float value, float step)
{
    if (!(step > 0.0f)) return value;
    return std::round(value / step) * step;
}

std::optional<float> NearestAlongLine(const Ray& ray, Vec3 origin, Vec3 unitAxis)
{
    const Vec3 w = origin - ray.origin;
    const float b = Dot(unitAxis, ray.direction);
    const float denominator = 1.0f - b * b;
    if (!(denominator >= kParallelLines)) return std::nullopt;
    return (b * Dot(ray.direction, w) - Dot(unitAxis, w)) / denominator;
}

std::optional<Vec3> MeetPlane(const Ray& ray, Vec3 point, Vec3 unitNormal)
{
    const float along = Dot(ray.direction, unitNormal);
    if (!(std::fabs(along) >= 1e-6f)) return std::nullopt;
    return ray.origin + ray.direction * (Dot(point - ray.origin, unitNormal) / along);
}

Matrix4 TurnFollowingSweep(Vec3 unitAxis, Vec3 towardViewer, float angle)
{
    return MatrixRotationAxis(unitAxis, Dot(unitAxis, towardViewer) >= 0.0f ? angle : -angle);
}

Matrix4 TurnedAbout(const Matrix4& world, const Matrix4& turn)
{
    Matrix4 rotation = world;
    rotation.SetTranslation({});
    Matrix4 turned = rotation * turn;
    turned.SetTranslation(world.Translation());
    return turned;
}

void FollowOnPartners(Scene& scene, int edited, bool turned)
{
    const Part* source = scene.PartAt(edited);
    if (!source || !source->mesh) return;
    const Matrix4 sourceWorld = source->mesh->GetMatrix();
    for (int i = 0; i < scene.PartCount(); ++i) {
        Part& partner = *scene.Parts()[i];
        if (i == edited || partner.symmetryIndex != edited) continue;
        if (partner.parentIndex >= 0) {
            partner.localMatrix = MirrorRotation(source->localMatrix);
            partner.localPosition = MirrorPosition(source->localPosition);
            PlaceFromLocal(scene, i);
        } else if (turned) {
            Matrix4 partnerWorld = MirrorRotation(sourceWorld);
            partnerWorld.SetTranslation(partner.localPosition);
            SetMeshWorld(scene, i, partnerWorld);
            partner.localMatrix = MirrorRotation(source->localMatrix);
        } else {
            partner.localPosition = MirrorPosition(source->localPosition);
            partner.localMatrix = MirrorRotation(source->localMatrix);
            partner.localMatrix.SetTranslation(partner.localPosition);
            SetMeshWorld(scene, i, partner.localMatrix);
        }
        UpdateChildren(scene, i);
    }
}

}  // namespace m3d
