#pragma once

#include <QComboBox>

namespace m3d {

// A drop-down list that shows its current text shortened at its end with "…"
// where the text is wider than the box; the open list shows every name whole.
class ElidingComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit ElidingComboBox(QWidget* parent) : QComboBox(parent) {}
    // The text the closed box shows.
    QString DisplayedText() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Where the closed box draws its text.
    QRect TextRect() const;
};

}  // namespace m3d
