#include "app/KeyMarkerPainting.h"

#include <QPainter>
#include <QPolygon>

namespace m3d {

namespace {

QPolygon PolygonOf(const std::vector<MarkerPoint>& points)
{
    QPolygon polygon;
    for (const MarkerPoint& p : points) polygon << QPoint(p.x, p.y);
    return polygon;
}

}  // namespace

void PaintKeyMarker(QPainter& painter, const KeyMarkerPolygons& marker, const QBrush& body, const QBrush& filled)
{
    painter.setBrush(body);
    painter.drawPolygon(PolygonOf(marker.outline));
    if (marker.filled.empty()) return;
    painter.setBrush(filled);
    painter.drawPolygon(PolygonOf(marker.filled));
}

}  // namespace m3d
