#include "foreign/readers/GltfNodeMatrix.h"

#include "math/Matrix4.h"

#include <cmath>

namespace m3d {

namespace {

// Cosine between two axes above which they are taken as not at right angles.
constexpr double kShearCosine = 1e-4;

struct Axis {
    double x, y, z;
};

double DotOf(Axis a, Axis b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
double LengthOf(Axis a) { return std::sqrt(DotOf(a, a)); }
Axis Scaled(Axis a, double s) { return {a.x * s, a.y * s, a.z * s}; }
Axis Minus(Axis a, Axis b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Axis CrossOf(Axis a, Axis b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }

}  // namespace

MatrixFit DecomposeNodeMatrix(const double matrix[16], ForeignNode& node)
{
    Axis axes[3];
    for (int c = 0; c < 3; ++c) axes[c] = {matrix[4 * c], matrix[4 * c + 1], matrix[4 * c + 2]};
    node.translation = {float(matrix[12]), float(matrix[13]), float(matrix[14])};
    double lengths[3];
    for (int c = 0; c < 3; ++c) lengths[c] = LengthOf(axes[c]);
    node.rotation = Quaternion();
    node.scale = {float(lengths[0]), float(lengths[1]), float(lengths[2])};
    const double largest = std::fmax(lengths[0], std::fmax(lengths[1], lengths[2]));
    if (largest == 0.0 || std::fmin(lengths[0], std::fmin(lengths[1], lengths[2])) <= largest * 1e-12)
        return MatrixFit::Singular;

    Axis unit[3];
    for (int c = 0; c < 3; ++c) unit[c] = Scaled(axes[c], 1.0 / lengths[c]);
    const bool sheared = std::fabs(DotOf(unit[0], unit[1])) > kShearCosine ||
                         std::fabs(DotOf(unit[0], unit[2])) > kShearCosine ||
                         std::fabs(DotOf(unit[1], unit[2])) > kShearCosine;
    // Axes in one plane (or nearly) span no frame to turn.
    const double volume = DotOf(CrossOf(unit[0], unit[1]), unit[2]);
    if (std::fabs(volume) <= 1e-9) return MatrixFit::Singular;
    // A mirror: the x axis turned round makes the rest a rotation.
    if (volume < 0) {
        unit[0] = Scaled(unit[0], -1.0);
        node.scale.x = -node.scale.x;
    }
    // Gram-Schmidt: the nearest right-handed frame keeping the x axis.
    Axis y = Minus(unit[1], Scaled(unit[0], DotOf(unit[0], unit[1])));
    y = Scaled(y, 1.0 / LengthOf(y));
    const Axis z = CrossOf(unit[0], y);
    Matrix4 rotation;  // row-vector convention: the rows are the turned axes
    const Axis rows[3] = {unit[0], y, z};
    for (int r = 0; r < 3; ++r) {
        rotation.m[r][0] = float(rows[r].x);
        rotation.m[r][1] = float(rows[r].y);
        rotation.m[r][2] = float(rows[r].z);
    }
    Quaternion q = QuaternionRotationMatrix(rotation);
    const float norm = std::sqrt(q.x * q.x + q.y * q.y + q.z * q.z + q.w * q.w);
    node.rotation = {q.x / norm, q.y / norm, q.z / norm, q.w / norm};
    if (sheared) return MatrixFit::Sheared;
    if (matrix[3] != 0.0 || matrix[7] != 0.0 || matrix[11] != 0.0 || matrix[15] != 1.0) return MatrixFit::Projective;
    return MatrixFit::Exact;
}

}  // namespace m3d
