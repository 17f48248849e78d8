#pragma once

#include <string>

namespace m3d {

// What one unit of a model's lengths is in metres. A known unit is finite and
// above 0; kUnknownLengthUnit stands for a model nobody said anything about
// (an .mqo, an OBJ, a project saved before units were kept).
constexpr double kUnknownLengthUnit = 0.0;
// The most and least a known unit may be: a light year and a nanometre are
// far outside what anyone poses, so a value beyond them is a damaged file.
constexpr double kMinLengthUnit = 1e-9;
constexpr double kMaxLengthUnit = 1e9;

// metresPerUnit is a known unit (kMinLengthUnit ... kMaxLengthUnit).
bool IsKnownLengthUnit(double metresPerUnit);

// metres as a person reads a size, in the metric unit that gives it one to
// three digits before the point and three significant digits in all: "0.7 m"
// is "70 cm", "1.8 m" stays "1.8 m", 0.0042 is "4.2 mm", 12345 is "12.3 km".
// Zero is "0 m"; a value that is not finite or is negative is "?"; from a
// thousand kilometres on the figure has an exponent ("1e+06 km").
std::string MetricLengthText(double metres);

// value to three significant digits, as MetricLengthText writes its figure:
// "0.7", "12.3", "1.5e+04".
std::string LengthFigure(double value);

}  // namespace m3d
