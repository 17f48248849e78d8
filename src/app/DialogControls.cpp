#include "app/DialogControls.h"

#include "app/CommandIds.h"
#include "view/WindowLayout.h"

#include <QCoreApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QWidget>

namespace m3d {

QRect DialogUnitsToPixels(DialogUnitsRect rect)
{
    const int left = DialogUnitsToPixelsX(rect.x);
    const int top = DialogUnitsToPixelsY(rect.y);
    return QRect(left, top, DialogUnitsToPixelsX(rect.x + rect.width) - left,
                 DialogUnitsToPixelsY(rect.y + rect.height) - top);
}

void PlaceInDialogUnits(QWidget* widget, DialogUnitsRect rect) { widget->setGeometry(DialogUnitsToPixels(rect)); }

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

void SetElidedText(QLabel* label, const QString& text)
{
    const int room = label->contentsRect().width() - 2 * label->margin();
    label->setText(label->fontMetrics().elidedText(text, Qt::ElideRight, room));
    label->setAccessibleName(text);
    label->setToolTip(label->text() == text ? QString() : text);
}

void SetFieldText(QLineEdit* field, const QString& text)
{
    field->setText(text);
    field->setCursorPosition(0);
}

QPushButton* AddButton(QWidget* parent, int id, const QString& text, DialogUnitsRect rect)
{
    auto* button = new QPushButton(text, parent);
    SetControlId(button, id);
    PlaceInDialogUnits(button, rect);
    return button;
}

void AddOkCancelButtons(QDialog* dialog, const QString& okText, DialogUnitsRect okRect, DialogUnitsRect cancelRect)
{
    QPushButton* ok = AddButton(dialog, IDOK, okText, okRect);
    ok->setDefault(true);
    QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
    QPushButton* cancel =
        AddButton(dialog, IDCANCEL, QCoreApplication::translate("DialogControls", "ｷｬﾝｾﾙ"), cancelRect);
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
}

}  // namespace m3d
