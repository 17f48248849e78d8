#include "app/MotionDialogs.h"

#include "app/CommandIds.h"
#include "app/DialogControls.h"
#include "app/FieldDialog.h"
#include "app/UpDownControl.h"
#include "editor/EditorSession.h"
#include "scene/MotionName.h"

#include <QCoreApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace m3d {

MotionNameDialog::MotionNameDialog(const EditorSession& owner, QWidget* parent)
    : QDialog(parent),
      session(owner),
      name(new QLineEdit(QStringLiteral("Default"), this)),
      duplicate(new QCheckBox(tr("現在のモーションを複製"), this))
{
    SetControlId(this, IDD_MOTION_NAME);
    setWindowTitle(tr("モーション名入力"));
    setFixedSize(DialogUnitsToPixels({0, 0, 150, 58}).size());
    SetControlId(name, IDC_MOTION_NAME);
    name->setAccessibleName(tr("モーション名"));
    PlaceInDialogUnits(name, {8, 8, 90, 13});
    SetControlId(duplicate, IDC_MOTION_DUPLICATE);
    PlaceInDialogUnits(duplicate, {8, 28, 100, 10});
    QPushButton* ok = AddButton(this, IDC_MOTION_NAME_OK, tr("決定"), {104, 7, 40, 14});
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &MotionNameDialog::accept);
    QPushButton* cancel = AddButton(this, IDC_MOTION_NAME_CANCEL, tr("キャンセル"), {104, 25, 40, 14});
    connect(cancel, &QPushButton::clicked, this, [this] { done(0); });
    name->selectAll();
    name->setFocus();
}

std::string MotionNameDialog::Name() const { return name->text().toStdString(); }

void MotionNameDialog::accept()
{
    // Enter runs the same checks: no refused name ever reaches a Motion.
    const std::string message = ValidateMotionName(Name(), session.GetScene().Motions());
    if (!message.empty()) {
        QMessageBox::warning(this, QString(), QString::fromStdString(message));
        name->setFocus();
        name->selectAll();
        return;
    }
    done(duplicate->isChecked() ? 2 : 1);
}

std::optional<MotionNameAnswer> AskMotionName(const EditorSession& session, QWidget* parent)
{
    MotionNameDialog dialog(session, parent);
    const int result = dialog.exec();
    if (result == 0) return std::nullopt;
    return MotionNameAnswer{dialog.Name(), result == 2};
}

std::optional<int> AskMotionLength(int length, QWidget* parent)
{
    constexpr int kMinimum = 1, kMaximum = 9999;
    int value = length;
    FieldDialog dialog(
        IDD_MOTION_LENGTH, QCoreApplication::translate("MotionDialogs", "モーションの長さを入力"), IDC_MOTION_LENGTH,
        QCoreApplication::translate("MotionDialogs", "モーションの長さ"),
        [&value](const std::string& text) { return CheckIntegerField(text, kMinimum, kMaximum, value); }, parent);
    dialog.SetOkButton(IDC_MOTION_LENGTH_OK, QCoreApplication::translate("MotionDialogs", "設定"));
    dialog.Field()->setText(QString::number(length));
    auto* updown = new UpDownControl(0, kMaximum, &dialog);
    updown->setAccessibleName(QCoreApplication::translate("MotionDialogs", "モーションの長さの増減"));
    dialog.AttachUpDown(updown, IDC_MOTION_LENGTH_SPIN, length);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return value;
}

}  // namespace m3d
