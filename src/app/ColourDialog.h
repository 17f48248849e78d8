#pragma once

#include "editor/ColourSettings.h"

#include <QDialog>

#include <functional>

namespace m3d {

// The dialog "色の設定" (template 215): eight swatches painted at their fixed
// places with their labels, a click on a swatch opens the platform's colour
// picker, "標準に戻す" puts the defaults back. It edits a copy; the caller
// stores Colours() after OK.
class ColourDialog : public QDialog {
    Q_OBJECT
public:
    ColourDialog(const ColourTable& current, QWidget* parent);

    const ColourTable& Colours() const { return state.Colours(); }
    // Called with the new ARGB grid colour when one is picked, so that the
    // views can show it at once.
    std::function<void(uint32_t)> gridColourPicked;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    ColourDialogState state;
};

}  // namespace m3d
