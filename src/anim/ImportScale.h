#pragma once

#include "foreign/ForeignModel.h"
#include "math/Vec3.h"

#include <string>

namespace m3d {

// The size an imported model is proposed to have, in units of the editor:
// its largest extent within kWorkingSizeLow ... kWorkingSizeHigh, so that it
// stands a few cells of the default grid (50 units) tall and a move snapped
// to the grid is a sensible step.
constexpr double kWorkingSizeLow = 20.0;
constexpr double kWorkingSizeHigh = 200.0;

// The size of the box around model's rest pose (every mesh placed by each
// node that uses it), in the model's own units; zero without vertices.
Vec3 RestSizeOf(const ForeignModel& model);

// The scale an import proposes for a model whose largest extent is extent
// in its own units of modelUnit metres, into a project whose unit is
// projectUnit (either may be kUnknownLengthUnit):
// - both known: modelUnit / projectUnit, so the model keeps the project's
//   unit whatever its size (the person chose that unit with an earlier import);
// - otherwise the power of ten (1e-4 ... 1e4) that brings extent within
//   kWorkingSizeLow ... kWorkingSizeHigh (a 0.7 m lamp: 100, one unit a
//   centimetre); 1 for a model of no extent.
// Always within kMinModelScale ... kMaxModelScale.
float ProposedImportScale(double extent, double modelUnit, double projectUnit);

// The model's size as the import dialog shows it, width × height × depth:
// in metric units when its unit (metresPerUnit) is known ("30 cm × 70 cm ×
// 20 cm"), else in its own units to three digits ("0.3 × 0.7 × 0.2").
std::string ModelSizeText(const Vec3& size, double metresPerUnit);

}  // namespace m3d
