#include "math/TimingCurves.h"

#include <cmath>

namespace m3d {

namespace {

// One coordinate of the Bezier from 0 through a and b to 1 at u.
double BezierAt(double a, double b, double u)
{
    const double v = 1.0 - u;
    return 3.0 * v * v * u * a + 3.0 * v * u * u * b + u * u * u;
}

double BezierSlopeAt(double a, double b, double u)
{
    const double v = 1.0 - u;
    return 3.0 * v * v * a + 6.0 * v * u * (b - a) + 3.0 * u * u * (1.0 - b);
}

}  // namespace

double EaseWeight(double x1, double y1, double x2, double y2, double t)
{
    if (!(t > 0.0)) return 0.0;
    if (t >= 1.0) return 1.0;
    return BezierAt(y1, y2, BezierParameterAt(x1, x2, t));
}

double BezierParameterAt(double x1, double x2, double t)
{
    if (!(t > 0.0)) return 0.0;
    if (t >= 1.0) return 1.0;
    // Newton from u = t while it converges inside the bracket, else halving:
    // x rises with u, so [low, high] always holds the root.
    double low = 0.0, high = 1.0, u = t;
    for (int i = 0; i < 64; ++i) {
        const double x = BezierAt(x1, x2, u) - t;
        if (std::fabs(x) < 1e-14) break;
        if (x < 0.0)
            low = u;
        else
            high = u;
        const double slope = BezierSlopeAt(x1, x2, u);
        double next = slope > 1e-12 ? u - x / slope : low - 1.0;
        if (!(next > low && next < high)) next = 0.5 * (low + high);
        if (high - low < 1e-15) break;
        u = next;
    }
    return u;
}

HermiteBasis HermiteBasisAt(double t)
{
    const double t2 = t * t;
    const double t3 = t2 * t;
    return {2.0 * t3 - 3.0 * t2 + 1.0, t3 - 2.0 * t2 + t, -2.0 * t3 + 3.0 * t2, t3 - t2};
}

}  // namespace m3d
