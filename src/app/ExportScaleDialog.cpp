#include "app/ExportScaleDialog.h"

#include "anim/ExportLengthScale.h"
#include "app/CommandIds.h"
#include "app/DialogControls.h"
#include "app/FieldDialog.h"
#include "editor/FieldRules.h"
#include "view/WindowLayout.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>

namespace m3d {

bool AskExportScale(const QString& caption, float& scale, std::optional<double> height, double formatUnit,
                    QWidget* parent, bool* bakeEveryFrame)
{
    float typed = scale;
    const QString fieldName = QCoreApplication::translate("ExportScaleDialog", "長さの倍率");
    FieldDialog dialog(
        IDD_EXPORT_SCALE, caption, IDC_EXPORT_SCALE, fieldName,
        [&typed](const std::string& text) { return CheckFloatField(text, kMinExportScale, kMaxExportScale, typed); },
        parent);
    dialog.Field()->setText(QString::fromStdString(FloatFieldText(scale)));
    if (height) {
        auto* written = new QLabel(&dialog);
        SetControlId(written, IDC_EXPORT_SCALE_HEIGHT);
        written->setAccessibleName(QCoreApplication::translate("ExportScaleDialog", "書き出す高さ"));
        PlaceInDialogUnits(written, {10, 32, 80, 9});
        const auto show = [written, height, formatUnit](const QString& text) {
            float value = 0.0f;
            const bool valid = CheckFloatField(text.toStdString(), kMinExportScale, kMaxExportScale, value).accepted;
            written->setText(valid ? QString::fromStdString(ExportedHeightText(*height, value, formatUnit))
                                   : QString());
        };
        QObject::connect(dialog.Field(), &QLineEdit::textChanged, written, show);
        show(dialog.Field()->text());
    }
    QCheckBox* bake = nullptr;
    if (bakeEveryFrame) {
        dialog.setFixedHeight(DialogUnitsToPixelsY(60));
        bake = new QCheckBox(QCoreApplication::translate("ExportScaleDialog", "すべてのフレームを直線で書き出す"),
                             &dialog);
        SetControlId(bake, IDC_EXPORT_BAKE);
        bake->setToolTip(QCoreApplication::translate(
            "ExportScaleDialog", "曲線を独自に読むソフトのために、各フレームの姿勢を LINEAR で書き出します"));
        bake->setChecked(*bakeEveryFrame);
        PlaceInDialogUnits(bake, {10, 45, 135, 10});
    }
    if (dialog.exec() != QDialog::Accepted) return false;
    scale = typed;
    if (bake) *bakeEveryFrame = bake->isChecked();
    return true;
}

}  // namespace m3d
