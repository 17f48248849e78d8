#pragma once

#include "meshlib/MqoDocument.h"

#include <vector>

namespace m3d {

// Shading normals of an object's faces and corners, in the editor's space
// (the side of a face its corners wind clockwise around when seen from).

// Unit normal of every face by Newell's method, so a bent polygon gets the
// area-weighted mean of its parts; (0, 0, 0) for a face without area.
void ComputeFaceNormals(const MqoObject& object, std::vector<Vec3>& faceNormals);

// One unit normal per corner. Flat objects use the face normal. Smooth objects
// give a corner the mean of the normals of the faces around its vertex that
// are within the object's facet angle of the corner's own face (each face
// compared with this one, not with a running average, so a ring of 45-degree
// steps smooths while a 90-degree rim next to it stays sharp). Faces are
// weighted by their corner angle at the vertex, which keeps the result
// independent of how the surface around it is cut into triangles.
//
// Comparing every pair of faces at a vertex is quadratic, so it is kept for
// vertices of at most kMaxPairwiseSmoothedFaces faces. Around a busier vertex
// the faces are first gathered into direction cells (each a small patch of the
// unit sphere, see SmoothingCells in the .cpp) and a corner takes the cells
// whose mean direction is within the facet angle: at most a hundred
// comparisons a corner, at the price of deciding near the facet angle by the
// cell's direction rather than by each face's. A corner whose sum vanishes
// gets its face normal, and (0, 1, 0) when the face has no area either.
void ComputeCornerNormals(const MqoObject& object, const std::vector<Vec3>& faceNormals,
                          std::vector<Vec3>& cornerNormals);

inline constexpr size_t kMaxPairwiseSmoothedFaces = 256;

}  // namespace m3d
