#pragma once

#include <optional>
#include <string>

namespace m3d {

class Scene;

// The model's height as posed now: the extent along Y of every Part's
// vertices in its world transform, in the model's units; nullopt without
// vertices. O(vertices).
std::optional<double> ModelHeight(const Scene& scene);

// The status line's words for the model's height: "高さ 70" in units, with
// the same in metres when the project's unit is known ("高さ 70（70 cm）");
// "" for a model without vertices.
std::string ModelHeightText(const Scene& scene);

}  // namespace m3d
