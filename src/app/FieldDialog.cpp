#include "app/FieldDialog.h"

#include "app/DialogControls.h"
#include "app/UpDownControl.h"
#include "view/WindowLayout.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace m3d {

namespace {

// The layout in dialog units: the field on the left, the buttons on the right.
constexpr int kWidthUnits = 150;
constexpr int kHeightUnits = 46;
constexpr DialogUnitsRect kField{10, 16, 70, 13};
constexpr int kUpDownWidth = 10;

}  // namespace

FieldDialog::FieldDialog(int templateId, const QString& caption, int fieldId, const QString& fieldName, Check check,
                         QWidget* parent)
    : QDialog(parent), field(new QLineEdit(this)), ok(new QPushButton(tr("OK"), this)), check(std::move(check))
{
    SetControlId(this, templateId);
    setWindowTitle(caption);
    setFixedSize(DialogUnitsToPixelsX(kWidthUnits), DialogUnitsToPixelsY(kHeightUnits));
    SetControlId(field, fieldId);
    field->setAccessibleName(fieldName);
    PlaceInDialogUnits(field, kField);
    // The field's name above it: what the number is (a factor, a width, frames).
    auto* label = new QLabel(fieldName, this);
    PlaceInDialogUnits(label, {kField.x, 5, 80, 9});
    label->setBuddy(field);

    PlaceInDialogUnits(ok, {95, 7, 45, 14});
    ok->setDefault(true);
    auto* cancel = new QPushButton(tr("ｷｬﾝｾﾙ"), this);
    PlaceInDialogUnits(cancel, {95, 25, 45, 14});
    connect(ok, &QPushButton::clicked, this, &FieldDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &FieldDialog::reject);
    field->setFocus();
}

void FieldDialog::AttachUpDown(UpDownControl* updown, int id, int position)
{
    DialogUnitsRect narrowed = kField;
    narrowed.width -= kUpDownWidth;
    PlaceInDialogUnits(field, narrowed);
    SetControlId(updown, id);
    PlaceInDialogUnits(updown, {narrowed.x + narrowed.width, kField.y, kUpDownWidth, kField.height});
    updown->SetBuddy(field, position);
}

void FieldDialog::SetOkButton(int id, const QString& text)
{
    SetControlId(ok, id);
    ok->setText(text);
}

void FieldDialog::accept()
{
    const FieldCheck result = check(field->text().toStdString());
    if (!result.accepted) {
        ShowRefusedField(field, result.message);
        return;
    }
    QDialog::accept();
}

}  // namespace m3d
