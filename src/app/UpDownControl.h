#pragma once

#include <QWidget>

class QLineEdit;
class QToolButton;

namespace m3d {

// An up-down control (two arrow buttons) that steps the integer in its buddy
// field within minimum ... maximum; the Up and Down keys in the buddy step
// it too. The buddy keeps whatever is typed: the range check is the dialog's.
class UpDownControl : public QWidget {
    Q_OBJECT
public:
    UpDownControl(int minimum, int maximum, QWidget* parent);

    // The field it steps; position is where stepping starts while the field
    // holds no integer inside the range.
    void SetBuddy(QLineEdit* field, int position);
    // One step up (+1) or down (-1); the buddy shows the new value.
    void Step(int delta);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    int minimum;
    int maximum;
    int position;
    QLineEdit* buddy = nullptr;
    QToolButton* up;
    QToolButton* down;
};

}  // namespace m3d
