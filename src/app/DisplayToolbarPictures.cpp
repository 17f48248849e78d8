#include "app/DisplayToolbarPictures.h"

#include <QPainter>
#include <QPainterPath>

#include <functional>

namespace m3d {

namespace {

// A transparent square of size pixels; draw paints in a 16 x 16 space.
QPixmap Picture(int size, const std::function<void(QPainter&)>& draw)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 16.0, size / 16.0);
    draw(painter);
    return pixmap;
}

}  // namespace

QPixmap ZoomPicture(int size)
{
    return Picture(size, [&](QPainter& painter) {
        painter.setPen(QPen(Qt::black, 1.6));
        painter.setBrush(QColor(200, 225, 255));
        painter.drawEllipse(QPointF(6.5, 6.5), 4.5, 4.5);
        painter.setPen(QPen(Qt::black, 2.6, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(10.0, 10.0), QPointF(14.5, 14.5));
    });
}

QPixmap PanPicture(int size)
{
    return Picture(size, [&](QPainter& painter) {
        painter.setPen(QPen(Qt::black, 1.4));
        painter.drawLine(QPointF(8, 2.5), QPointF(8, 13.5));
        painter.drawLine(QPointF(2.5, 8), QPointF(13.5, 8));
        painter.setPen(Qt::NoPen);
        painter.setBrush(Qt::black);
        for (int turn = 0; turn < 4; ++turn) {
            // One arrowhead pointing up, turned about the centre.
            painter.save();
            painter.translate(8, 8);
            painter.rotate(90.0 * turn);
            QPainterPath head;
            head.moveTo(0, -7.5);
            head.lineTo(3, -4);
            head.lineTo(-3, -4);
            head.closeSubpath();
            painter.drawPath(head);
            painter.restore();
        }
    });
}

QPixmap LayoutPicture(int size, bool fourViewMode)
{
    return Picture(size, [&](QPainter& painter) {
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(QColor(200, 225, 255));
        if (fourViewMode) {
            painter.drawRect(QRectF(1.5, 1.5, 13, 13));
            painter.fillRect(QRectF(2, 2, 12, 3), QColor(40, 70, 160));
        } else {
            for (double x : {1.5, 8.5})
                for (double y : {1.5, 8.5}) painter.drawRect(QRectF(x, y, 6, 6));
        }
    });
}

}  // namespace m3d
