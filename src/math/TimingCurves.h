#pragma once

namespace m3d {

// The weight y(u) at the parameter u where x(u) = t on the cubic Bezier
// curve with control points (0, 0), (x1, y1), (x2, y2), (1, 1). x1 and x2
// must lie within [0, 1] (then x rises with u and u is unique); t is clamped
// into [0, 1], so t = 0 gives 0 and t = 1 gives 1 exactly.
double EaseWeight(double x1, double y1, double x2, double y2, double t);

// The parameter u at which x(u) = t on the cubic Bezier with x control
// points 0, x1, x2, 1 (x1 and x2 within [0, 1], so u is unique); t is
// clamped into [0, 1].
double BezierParameterAt(double x1, double x2, double t);

// The cubic Hermite basis at t: a curve through p0 (t = 0) and p1 (t = 1)
// with tangents m0 and m1 (per unit of t) is
// h00 p0 + h10 m0 + h01 p1 + h11 m1.
struct HermiteBasis {
    double h00, h10, h01, h11;
};
HermiteBasis HermiteBasisAt(double t);

}  // namespace m3d
