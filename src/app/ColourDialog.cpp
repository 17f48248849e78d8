#include "app/ColourDialog.h"

#include "app/CommandIds.h"
#include "app/DialogControls.h"
#include "app/InterfaceTranslation.h"
#include "view/WindowLayout.h"

#include <QColorDialog>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

#include <algorithm>

namespace m3d {

namespace {

constexpr int kWidthUnits = 149;
constexpr int kHeightUnits = 146;
// Buttons in dialog units: left, top, width, height.
constexpr DialogUnitsRect kDefaultsButton{7, 124, 46, 14};
constexpr DialogUnitsRect kOkButton{58, 124, 40, 14};
constexpr DialogUnitsRect kCancelButton{102, 124, 40, 14};
// A label sits this many pixels below its swatch and reaches this far past its sides.
constexpr int kLabelGap = 3;
constexpr int kLabelOverhang = 10;

QColor QColorOf(uint32_t argb)
{
    const PickerColour c = PickerColourOf(argb);
    return QColor(c.red, c.green, c.blue);
}

}  // namespace

ColourDialog::ColourDialog(const ColourTable& current, QWidget* parent) : QDialog(parent), state(current)
{
    SetControlId(this, IDD_COLOUR_SETTINGS);
    setWindowTitle(tr("色の設定"));
    setFixedSize(DialogUnitsToPixelsX(kWidthUnits), DialogUnitsToPixelsY(kHeightUnits));

    for (const ColourSwatch& swatch : ColourSwatches()) {
        QString text = CoreText(swatch.label);
        if (*swatch.secondLine != '\0') text += QLatin1Char('\n') + CoreText(swatch.secondLine);
        auto* label = new QLabel(text, this);
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        const PixelRect& r = swatch.rect;
        // Centred under the swatch; a line wider than the room between the
        // swatches may reach into it, the neighbours' texts are short.
        int width = r.Width() + 2 * kLabelOverhang;
        for (const QString& line : text.split(QLatin1Char('\n')))
            width = std::max(width, fontMetrics().horizontalAdvance(line) + 2);
        label->setGeometry((r.left + r.right - width) / 2, r.bottom + kLabelGap, width, label->sizeHint().height());
    }
    QPushButton* defaults = AddButton(this, IDC_COLOUR_DEFAULTS, tr("標準に戻す"), kDefaultsButton);
    defaults->setAutoDefault(false);
    AddOkCancelButtons(this, tr("OK"), kOkButton, kCancelButton);
    connect(defaults, &QPushButton::clicked, this, [this] {
        state.RestoreDefaults();
        update();
    });
}

void ColourDialog::paintEvent(QPaintEvent* event)
{
    QDialog::paintEvent(event);
    QPainter painter(this);
    const auto& swatches = ColourSwatches();
    for (size_t i = 0; i < swatches.size(); ++i) {
        const PixelRect& r = swatches[i].rect;
        const QRect area(r.left, r.top, r.Width(), r.Height());
        painter.fillRect(area, QColorOf(Colours()[i]));
        painter.setPen(Qt::black);
        painter.drawRect(area.adjusted(0, 0, -1, -1));
    }
}

void ColourDialog::mousePressEvent(QMouseEvent* event)
{
    const QPoint p = event->position().toPoint();
    const int index = event->button() == Qt::LeftButton ? SwatchAt(p.x(), p.y()) : -1;
    if (index >= 0) {
        QColorDialog picker(Qt::black, this);
        if (picker.exec() == QDialog::Accepted) {
            const QColor chosen = picker.selectedColor();
            state.Pick(index, {chosen.red(), chosen.green(), chosen.blue()});
            if (index == ColourIndex::Grid && gridColourPicked) gridColourPicked(Colours()[ColourIndex::Grid]);
        }
    }
    update();
    QDialog::mousePressEvent(event);
}

}  // namespace m3d
