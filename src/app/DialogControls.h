#pragma once

#include "app/CommandIds.h"
#include "view/WindowLayout.h"

#include <QDialog>
#include <QPushButton>
#include <QWidget>

// Gives a control its number as objectName (tests find it by that) and as
// accessible description (assistive tools read it).
inline void SetControlId(QWidget* control, int id)
{
    control->setObjectName(IdName(id));
    control->setAccessibleDescription(IdName(id));
}

// A rectangle given in dialog units, in pixels.
inline QRect DialogUnitsRect(int left, int top, int width, int height)
{
    return QRect(DialogUnitsToPixelsX(left), DialogUnitsToPixelsY(top), DialogUnitsToPixelsX(width),
                 DialogUnitsToPixelsY(height));
}

// A push button with its number and text at a place given in dialog units.
inline QPushButton* AddButton(QWidget* parent, int id, const QString& text, const QRect& units)
{
    auto* button = new QPushButton(text, parent);
    SetControlId(button, id);
    button->setGeometry(DialogUnitsRect(units.x(), units.y(), units.width(), units.height()));
    return button;
}

// The dialog's default button okText (IDOK, runs accept) and "ｷｬﾝｾﾙ"
// (IDCANCEL, runs reject), at places given in dialog units.
inline void AddOkCancelButtons(QDialog* dialog, const QString& okText, const QRect& okUnits, const QRect& cancelUnits)
{
    QPushButton* ok = AddButton(dialog, IDOK, okText, okUnits);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QPushButton* cancel = AddButton(dialog, IDCANCEL, QStringLiteral("ｷｬﾝｾﾙ"), cancelUnits);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
}
