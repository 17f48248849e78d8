#include "app/PartShapeDialogs.h"

#include "anim/PartPivot.h"
#include "app/CommandIds.h"
#include "app/DialogControls.h"
#include "app/FieldDialog.h"
#include "editor/FieldRules.h"
#include "view/WindowLayout.h"

#include <QCoreApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <array>
#include <limits>

namespace m3d {

namespace {

QString Text(const char* text) { return QCoreApplication::translate("PartShapeDialogs", text); }

}  // namespace

std::optional<Vec3> AskPivotPoint(const Scene& scene, int part, QWidget* parent)
{
    QDialog dialog(parent);
    SetControlId(&dialog, IDD_MOVE_PIVOT);
    dialog.setWindowTitle(QCoreApplication::translate("PartShapeDialogs", "ピボットの移動"));
    dialog.setFixedSize(DialogUnitsToPixelsX(196), DialogUnitsToPixelsY(82));
    auto* label =
        new QLabel(QCoreApplication::translate("PartShapeDialogs", "新しいピボット（パーツ自身の座標）"), &dialog);
    PlaceInDialogUnits(label, {10, 6, 176, 8});
    const std::array<int, 3> ids{IDC_PIVOT_X, IDC_PIVOT_Y, IDC_PIVOT_Z};
    const std::array<const char*, 3> axes{"X", "Y", "Z"};
    std::array<QLineEdit*, 3> fields{};
    for (int i = 0; i < 3; ++i) {
        auto* axis = new QLabel(QString::fromLatin1(axes[size_t(i)]), &dialog);
        PlaceInDialogUnits(axis, {10 + 60 * i, 20, 8, 8});
        fields[size_t(i)] = new QLineEdit(QStringLiteral("0"), &dialog);
        SetControlId(fields[size_t(i)], ids[size_t(i)]);
        fields[size_t(i)]->setAccessibleName(
            QCoreApplication::translate("PartShapeDialogs", "ピボットの%1").arg(QString::fromLatin1(axes[size_t(i)])));
        PlaceInDialogUnits(fields[size_t(i)], {19 + 60 * i, 18, 38, 12});
    }
    const auto fill = [&fields](std::optional<Vec3> point) {
        if (!point) return;
        const float values[3] = {point->x, point->y, point->z};
        for (int i = 0; i < 3; ++i)
            SetFieldText(fields[size_t(i)], QString::fromStdString(TransformFieldText(values[i])));
    };
    struct Place {
        int id;
        const char* text;
        PivotPlace place;
        int x;
    };
    for (const Place& p :
         {Place{IDC_PIVOT_BOX_CENTRE, QT_TRANSLATE_NOOP("PartShapeDialogs", "箱の中心"), PivotPlace::BoxCentre, 10},
          Place{IDC_PIVOT_BOX_BOTTOM, QT_TRANSLATE_NOOP("PartShapeDialogs", "底面の中心"), PivotPlace::BoxBottomCentre,
                70},
          Place{IDC_PIVOT_WORLD_ORIGIN, QT_TRANSLATE_NOOP("PartShapeDialogs", "ワールド原点"), PivotPlace::WorldOrigin,
                130}}) {
        QPushButton* button = AddButton(&dialog, p.id, Text(p.text), {p.x, 36, 56, 14});
        const PivotPlace place = p.place;
        QObject::connect(button, &QPushButton::clicked, &dialog,
                         [&fill, &scene, part, place] { fill(PivotPoint(scene, part, place)); });
    }
    Vec3 point;
    auto* ok = new QPushButton(QCoreApplication::translate("PartShapeDialogs", "OK"), &dialog);
    PlaceInDialogUnits(ok, {82, 60, 50, 14});
    ok->setDefault(true);
    auto* cancel = new QPushButton(QCoreApplication::translate("PartShapeDialogs", "ｷｬﾝｾﾙ"), &dialog);
    PlaceInDialogUnits(cancel, {136, 60, 50, 14});
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    QObject::connect(ok, &QPushButton::clicked, &dialog, [&] {
        float* values[3] = {&point.x, &point.y, &point.z};
        constexpr float kLimit = std::numeric_limits<float>::max();
        for (int i = 0; i < 3; ++i) {
            const FieldCheck check =
                CheckFloatField(fields[size_t(i)]->text().toStdString(), -kLimit, kLimit, *values[i]);
            if (!check.accepted) {
                ShowRefusedField(fields[size_t(i)], check.message);
                return;
            }
        }
        dialog.accept();
    });
    fields[0]->setFocus();
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return point;
}

std::optional<float> AskPartScale(QWidget* parent)
{
    float factor = 1.0f;
    FieldDialog dialog(
        IDD_RESIZE_PART, QCoreApplication::translate("PartShapeDialogs", "サイズ変更"), IDC_RESIZE_PART,
        QCoreApplication::translate("PartShapeDialogs", "倍率"),
        [&factor](const std::string& text) { return CheckFloatField(text, kMinPartScale, kMaxPartScale, factor); },
        parent);
    dialog.Field()->setText(QStringLiteral("1"));
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return factor;
}

}  // namespace m3d
