#pragma once

#include "editor/KeyMarkerShape.h"

class QBrush;
class QPainter;

namespace m3d {

// Paints a key's marker with the painter's pen: its outline filled with
// body, the part always filled (the step's half) with filled.
void PaintKeyMarker(QPainter& painter, const KeyMarkerPolygons& marker, const QBrush& body, const QBrush& filled);

}  // namespace m3d
