#include "app/ColourDialog.h"

#include "app/CommandIds.h"
#include "view/WindowLayout.h"

#include <QColorDialog>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>

#include <algorithm>

namespace {

constexpr int kWidthUnits = 149;
constexpr int kHeightUnits = 146;
// Buttons in dialog units: left, top, width, height.
constexpr QRect kDefaultsButton(7, 124, 46, 14);
constexpr QRect kOkButton(58, 124, 40, 14);
constexpr QRect kCancelButton(102, 124, 40, 14);
// A label sits this many pixels below its swatch and reaches this far past its sides.
constexpr int kLabelGap = 3;
constexpr int kLabelOverhang = 10;

QRect PixelsOf(QRect units)
{
    const int left = DialogUnitsToPixelsX(units.left()), top = DialogUnitsToPixelsY(units.top());
    return QRect(left, top, DialogUnitsToPixelsX(units.left() + units.width()) - left,
                 DialogUnitsToPixelsY(units.top() + units.height()) - top);
}

QColor QColorOf(uint32_t argb)
{
    const PickerColour c = PickerColourOf(argb);
    return QColor(c.red, c.green, c.blue);
}

QPushButton* Button(QDialog* dialog, const QString& text, int id, QRect units)
{
    auto* button = new QPushButton(text, dialog);
    button->setObjectName(IdName(id));
    button->setAccessibleDescription(IdName(id));
    button->setGeometry(PixelsOf(units));
    button->setAutoDefault(false);
    return button;
}

}  // namespace

ColourDialog::ColourDialog(const ColourTable& current, QWidget* parent) : QDialog(parent), state(current)
{
    setObjectName(IdName(IDD_COLOUR_SETTINGS));
    setAccessibleDescription(IdName(IDD_COLOUR_SETTINGS));
    setWindowTitle(QStringLiteral("色の設定"));
    setFixedSize(DialogUnitsToPixelsX(kWidthUnits), DialogUnitsToPixelsY(kHeightUnits));

    for (const ColourSwatch& swatch : ColourSwatches()) {
        QString text = QString::fromUtf8(swatch.label);
        if (*swatch.secondLine != '\0') text += QLatin1Char('\n') + QString::fromUtf8(swatch.secondLine);
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
    QPushButton* defaults = Button(this, QStringLiteral("標準に戻す"), IDC_COLOUR_DEFAULTS, kDefaultsButton);
    QPushButton* ok = Button(this, QStringLiteral("OK"), IDC_OK, kOkButton);
    QPushButton* cancel = Button(this, QStringLiteral("ｷｬﾝｾﾙ"), IDC_CANCEL, kCancelButton);
    ok->setDefault(true);
    connect(defaults, &QPushButton::clicked, this, [this] {
        state.RestoreDefaults();
        update();
    });
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
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
            if (index == COLOUR_GRID && gridColourPicked) gridColourPicked(Colours()[COLOUR_GRID]);
        }
    }
    update();
    QDialog::mousePressEvent(event);
}
