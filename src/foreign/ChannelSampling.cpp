#include "foreign/ChannelSampling.h"

#include <algorithm>
#include <cmath>

namespace m3d {

namespace {

void Normalise4(double* q)
{
    const double length = std::sqrt(q[0] * q[0] + q[1] * q[1] + q[2] * q[2] + q[3] * q[3]);
    if (!(length > 0.0) || !std::isfinite(length)) {
        q[0] = q[1] = q[2] = 0.0;
        q[3] = 1.0;
        return;
    }
    for (int k = 0; k < 4; ++k) q[k] /= length;
}

// Shorter-arc spherical interpolation in double precision.
void Slerp(const float* a, const float* b, double t, double* out)
{
    double cosTheta = 0.0;
    for (int k = 0; k < 4; ++k) cosTheta += double{a[k]} * b[k];
    const double sign = cosTheta < 0.0 ? -1.0 : 1.0;
    cosTheta *= sign;
    double wa = 1.0 - t, wb = t;
    if (cosTheta < 1.0 - 1e-9) {
        const double theta = std::acos(std::min(cosTheta, 1.0));
        const double sinTheta = std::sin(theta);
        wa = std::sin((1.0 - t) * theta) / sinTheta;
        wb = std::sin(t * theta) / sinTheta;
    }
    for (int k = 0; k < 4; ++k) out[k] = wa * a[k] + sign * wb * b[k];
    Normalise4(out);
}

}  // namespace

void SampleChannel(const ForeignChannel& channel, double time, float* out)
{
    const size_t n = channel.times.size();
    const int width = ForeignComponents(channel.path);
    const bool cubic = channel.interpolation == ForeignInterpolation::CubicSpline;
    const size_t stride = static_cast<size_t>(width) * (cubic ? 3 : 1);
    if (n == 0 || channel.values.size() < n * stride) return;
    // The value of key i (past the in-tangent of a cubic key).
    auto value = [&](size_t i) { return channel.values.data() + i * stride + (cubic ? width : 0); };
    auto put = [&](const double* v) {
        for (int k = 0; k < width; ++k) out[k] = static_cast<float>(v[k]);
    };
    double result[4];
    if (time <= channel.times.front() || n == 1) {
        std::copy(value(0), value(0) + width, out);
        return;
    }
    if (time >= channel.times.back()) {
        std::copy(value(n - 1), value(n - 1) + width, out);
        return;
    }
    const size_t i = static_cast<size_t>(std::upper_bound(channel.times.begin(), channel.times.end(), time) -
                                         channel.times.begin()) -
                     1;
    const double interval = double{channel.times[i + 1]} - channel.times[i];
    const double t = (time - channel.times[i]) / interval;
    const float* a = value(i);
    const float* b = value(i + 1);
    switch (channel.interpolation) {
    case ForeignInterpolation::Step: std::copy(a, a + width, out); return;
    case ForeignInterpolation::Linear:
        if (channel.path == ForeignPath::Rotation) {
            Slerp(a, b, t, result);
        } else {
            for (int k = 0; k < width; ++k) result[k] = a[k] + (double{b[k]} - a[k]) * t;
        }
        break;
    case ForeignInterpolation::CubicSpline: {
        const float* outTangent = a + width;  // key i's out-tangent follows its value
        const float* inTangent = b - width;   // key i + 1's in-tangent precedes its value
        const double t2 = t * t, t3 = t2 * t;
        const double h00 = 2 * t3 - 3 * t2 + 1, h10 = t3 - 2 * t2 + t, h01 = -2 * t3 + 3 * t2, h11 = t3 - t2;
        for (int k = 0; k < width; ++k)
            result[k] = h00 * a[k] + h10 * interval * outTangent[k] + h01 * b[k] + h11 * interval * inTangent[k];
        if (channel.path == ForeignPath::Rotation) Normalise4(result);
        break;
    }
    }
    put(result);
}

std::vector<NodeTransform> NodeTransformsAt(const ForeignModel& model, int animation, double time)
{
    std::vector<NodeTransform> transforms;
    transforms.reserve(model.nodes.size());
    for (const ForeignNode& node : model.nodes) transforms.push_back({node.translation, node.rotation, node.scale});
    if (animation < 0 || static_cast<size_t>(animation) >= model.animations.size()) return transforms;
    for (const ForeignChannel& channel : model.animations[static_cast<size_t>(animation)].channels) {
        if (channel.node < 0 || static_cast<size_t>(channel.node) >= transforms.size()) continue;
        NodeTransform& target = transforms[static_cast<size_t>(channel.node)];
        Vec3& vector = channel.path == ForeignPath::Translation ? target.translation : target.scale;
        Quaternion& q = target.rotation;
        float v[4] = {vector.x, vector.y, vector.z, 0.0f};
        if (channel.path == ForeignPath::Rotation) {
            v[0] = q.x, v[1] = q.y, v[2] = q.z, v[3] = q.w;
            SampleChannel(channel, time, v);
            q = {v[0], v[1], v[2], v[3]};
        } else {
            SampleChannel(channel, time, v);
            vector = {v[0], v[1], v[2]};
        }
    }
    return transforms;
}

double AnimationDuration(const ForeignAnimation& animation)
{
    double last = 0.0;
    for (const ForeignChannel& channel : animation.channels)
        if (!channel.times.empty()) last = std::max(last, double{channel.times.back()});
    return last;
}

}  // namespace m3d
