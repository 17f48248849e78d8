#pragma once

#include <string>

namespace m3d {

// What one unit of a glTF file is in metres (glTF's lengths are metres).
constexpr double kGltfMetresPerUnit = 1.0;

// The scales an export's dialog accepts, inclusive.
constexpr float kMinExportScale = 1e-6f;
constexpr float kMaxExportScale = 1e6f;

// The scale an export writes lengths at unless told otherwise: from a
// project of known unit projectUnit into a format whose unit is formatUnit,
// projectUnit / formatUnit (a centimetre project into glTF: 0.01); 1 (the
// numbers as they are) when either unit is unknown (kUnknownLengthUnit) or
// the quotient is outside kMinExportScale ... kMaxExportScale.
float DefaultExportScale(double projectUnit, double formatUnit);

// The words for a model height units tall written at scale into a format
// whose unit is formatUnit: "高さ 0.7 m" when formatUnit is known, else the
// figure alone ("高さ 70").
std::string ExportedHeightText(double height, float scale, double formatUnit);

}  // namespace m3d
