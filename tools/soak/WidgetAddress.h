#pragma once

#include <QString>

class QWidget;

namespace m3d::soak {

// Where a widget is, as text that names the same widget in a replay of the
// same steps: the window it lies in ("main" for the main window, "modal" for
// the active modal dialog, "popup" for the open popup), then one segment per
// widget down to it, each the widget's object name where its siblings do not
// share it, else "Class#k" (the k-th child of that class).
QString AddressOf(const QWidget* widget, const QWidget* mainWindow);
// The widget at address, or nullptr when there is none now.
QWidget* WidgetAt(const QString& address, QWidget* mainWindow);

}  // namespace m3d::soak
