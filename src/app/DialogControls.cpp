#include "app/DialogControls.h"

#include "app/CommandIds.h"
#include "view/WindowLayout.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QWidget>

void PlaceInDialogUnits(QWidget* widget, DialogUnitsRect rect)
{
    const int left = DialogUnitsToPixelsX(rect.x);
    const int top = DialogUnitsToPixelsY(rect.y);
    widget->setGeometry(left, top, DialogUnitsToPixelsX(rect.x + rect.width) - left,
                        DialogUnitsToPixelsY(rect.y + rect.height) - top);
}

void SetControlId(QWidget* widget, int id)
{
    widget->setObjectName(IdName(id));
    widget->setAccessibleDescription(IdName(id));
}

void ShowRefusedField(QLineEdit* field, const std::string& message)
{
    QMessageBox::warning(field->window(), QStringLiteral("Marionettica3D"), QString::fromStdString(message));
    field->setFocus(Qt::OtherFocusReason);
    field->selectAll();
}
