#include "app/IkDialogs.h"

#include "app/CommandIds.h"
#include "app/DialogControls.h"
#include "app/PointFields.h"
#include "editor/FieldRules.h"
#include "view/WindowLayout.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace m3d {

namespace {

QString Text(const char* text) { return QCoreApplication::translate("IkDialogs", text); }

// OK and Cancel at the dialog's foot, right aligned at right, top at top.
QPushButton* AddOkCancel(QDialog& dialog, int right, int top)
{
    auto* ok = new QPushButton(Text(QT_TRANSLATE_NOOP("IkDialogs", "OK")), &dialog);
    PlaceInDialogUnits(ok, {right - 104, top, 50, 14});
    ok->setDefault(true);
    auto* cancel = new QPushButton(Text(QT_TRANSLATE_NOOP("IkDialogs", "ｷｬﾝｾﾙ")), &dialog);
    PlaceInDialogUnits(cancel, {right - 50, top, 50, 14});
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    return ok;
}

}  // namespace

std::optional<PoleAnswer> AskPole(std::optional<Vec3> shown, QWidget* parent)
{
    QDialog dialog(parent);
    SetControlId(&dialog, IDD_IK_POLE);
    dialog.setWindowTitle(Text(QT_TRANSLATE_NOOP("IkDialogs", "ポール")));
    dialog.setFixedSize(DialogUnitsToPixelsX(196), DialogUnitsToPixelsY(62));
    PlaceInDialogUnits(new QLabel(Text(QT_TRANSLATE_NOOP("IkDialogs", "膝や肘が向く点（ワールド座標）")), &dialog),
                       {10, 6, 176, 8});
    PointFields fields(&dialog, {IDC_POLE_X, IDC_POLE_Y, IDC_POLE_Z},
                       Text(QT_TRANSLATE_NOOP("IkDialogs", "ポールの%1")), 10, 18);
    if (shown) fields.Fill(*shown);
    std::optional<PoleAnswer> answer;
    QPushButton* none =
        AddButton(&dialog, IDC_POLE_NONE, Text(QT_TRANSLATE_NOOP("IkDialogs", "ポールなし")), {10, 40, 56, 14});
    QObject::connect(none, &QPushButton::clicked, &dialog, [&] {
        answer = PoleAnswer{};
        dialog.accept();
    });
    QObject::connect(AddOkCancel(dialog, 186, 40), &QPushButton::clicked, &dialog, [&] {
        if (const std::optional<Vec3> point = fields.Read()) {
            answer = PoleAnswer{point};
            dialog.accept();
        }
    });
    fields.First()->setFocus();
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return answer;
}

std::optional<JointLimit> AskJointLimit(const JointLimit& current, QWidget* parent)
{
    QDialog dialog(parent);
    SetControlId(&dialog, IDD_JOINT_LIMIT);
    dialog.setWindowTitle(Text(QT_TRANSLATE_NOOP("IkDialogs", "関節の制限")));
    dialog.setFixedSize(DialogUnitsToPixelsX(160), DialogUnitsToPixelsY(78));
    PlaceInDialogUnits(new QLabel(Text(QT_TRANSLATE_NOOP("IkDialogs", "回転できる軸")), &dialog), {10, 8, 60, 8});
    auto* axis = new QComboBox(&dialog);
    SetControlId(axis, IDC_JOINT_AXIS);
    axis->setAccessibleName(Text(QT_TRANSLATE_NOOP("IkDialogs", "回転できる軸")));
    axis->addItems({Text(QT_TRANSLATE_NOOP("IkDialogs", "自由")), Text(QT_TRANSLATE_NOOP("IkDialogs", "X軸")),
                    Text(QT_TRANSLATE_NOOP("IkDialogs", "Y軸")), Text(QT_TRANSLATE_NOOP("IkDialogs", "Z軸"))});
    axis->setCurrentIndex(static_cast<int>(current.axis));
    PlaceInDialogUnits(axis, {74, 6, 76, 12});
    const struct {
        int id;
        const char* caption;
        float value;
        int top;
    } rows[2] = {{IDC_JOINT_MIN, QT_TRANSLATE_NOOP("IkDialogs", "最小（度）"), current.minDegrees, 22},
                 {IDC_JOINT_MAX, QT_TRANSLATE_NOOP("IkDialogs", "最大（度）"), current.maxDegrees, 38}};
    QLineEdit* fields[2] = {};
    for (int i = 0; i < 2; ++i) {
        PlaceInDialogUnits(new QLabel(Text(rows[i].caption), &dialog), {10, rows[i].top + 2, 60, 8});
        fields[i] = new QLineEdit(QString::fromStdString(TransformFieldText(rows[i].value)), &dialog);
        SetControlId(fields[i], rows[i].id);
        fields[i]->setAccessibleName(Text(rows[i].caption));
        PlaceInDialogUnits(fields[i], {74, rows[i].top, 76, 12});
    }
    const auto showRange = [&] {
        for (QLineEdit* field : fields) field->setEnabled(axis->currentIndex() != 0);
    };
    showRange();
    QObject::connect(axis, &QComboBox::currentIndexChanged, &dialog, showRange);
    JointLimit limit;
    QObject::connect(AddOkCancel(dialog, 150, 58), &QPushButton::clicked, &dialog, [&] {
        limit = JointLimit{static_cast<JointAxis>(axis->currentIndex()), 0.0f, 0.0f};
        if (limit.IsFree()) {
            dialog.accept();
            return;
        }
        float* values[2] = {&limit.minDegrees, &limit.maxDegrees};
        for (int i = 0; i < 2; ++i) {
            const FieldCheck check = CheckFloatField(fields[i]->text().toStdString(), -180.0f, 180.0f, *values[i]);
            if (!check.accepted) {
                ShowRefusedField(fields[i], check.message);
                return;
            }
        }
        if (limit.minDegrees > limit.maxDegrees) {
            ShowRefusedField(fields[0],
                             Text(QT_TRANSLATE_NOOP("IkDialogs", "最小は最大以下にしてください。")).toStdString());
            return;
        }
        dialog.accept();
    });
    axis->setFocus();
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return limit;
}

}  // namespace m3d
