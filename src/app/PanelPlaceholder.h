#pragma once

#include <QFrame>

// A panel whose controls come later: a framed box of the panel's size and
// place, named by its template number, with a grey caption.
class PanelPlaceholder : public QFrame {
    Q_OBJECT
public:
    PanelPlaceholder(int templateId, const QString& caption, QWidget* parent);
};
