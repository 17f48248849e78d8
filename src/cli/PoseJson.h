#pragma once

namespace m3d {

class JsonWriter;
class Scene;

// Writes the member "parts" of the current object: every Part's index,
// display name, localMatrix, localPosition and world matrix, in Part order.
void WritePosePartsJson(JsonWriter& json, const Scene& scene);

}  // namespace m3d
