#include "app/ElidingComboBox.h"

#include <QStyleOptionComboBox>
#include <QStylePainter>

namespace m3d {

QRect ElidingComboBox::TextRect() const
{
    QStyleOptionComboBox option;
    initStyleOption(&option);
    // The styles draw the label one pixel inside the edit field on either side.
    return style()
        ->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this)
        .adjusted(1, 0, -1, 0);
}

QString ElidingComboBox::DisplayedText() const
{
    return fontMetrics().elidedText(currentText(), Qt::ElideRight, TextRect().width());
}

void ElidingComboBox::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    option.currentText = DisplayedText();
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

}  // namespace m3d
