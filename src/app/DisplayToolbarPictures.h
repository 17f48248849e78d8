#pragma once

#include <QPixmap>

namespace m3d {

// The pictures of the display toolbar, drawn by code at size x size pixels:
// a magnifier (zoom, bitmap 206), four arrows (pan, 204), and the layout
// switch: one pane, to show the view alone (233, shown in four-view mode),
// and four panes, to go back to all four views (231).
QPixmap ZoomPicture(int size);
QPixmap PanPicture(int size);
QPixmap LayoutPicture(int size, bool fourViewMode);

}  // namespace m3d
