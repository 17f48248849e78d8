#include "app/ScaleDialog.h"

#include "app/CommandIds.h"
#include "app/FieldDialog.h"
#include "editor/FieldRules.h"
#include "scene/ModelScale.h"

#include <QCoreApplication>
#include <QLineEdit>

namespace m3d {

std::optional<float> AskScaleFactor(QWidget* parent)
{
    float factor = 1.0f;
    FieldDialog dialog(
        IDD_MODEL_SCALE, QCoreApplication::translate("ScaleDialog", "スケールの変更"), IDC_MODEL_SCALE,
        QCoreApplication::translate("ScaleDialog", "倍率"),
        [&factor](const std::string& text) { return CheckFloatField(text, kMinModelScale, kMaxModelScale, factor); },
        parent);
    dialog.Field()->setText(QString::fromStdString(FloatFieldText(factor)));
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return factor;
}

}  // namespace m3d
