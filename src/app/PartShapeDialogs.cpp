#include "app/PartShapeDialogs.h"

#include "anim/PartPivot.h"
#include "app/CommandIds.h"
#include "app/DialogControls.h"
#include "app/FieldDialog.h"
#include "app/PointFields.h"
#include "editor/FieldRules.h"
#include "view/WindowLayout.h"

#include <QCoreApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

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
    PointFields fields(&dialog, {IDC_PIVOT_X, IDC_PIVOT_Y, IDC_PIVOT_Z},
                       QCoreApplication::translate("PartShapeDialogs", "ピボットの%1"), 10, 18);
    const auto fill = [&fields](std::optional<Vec3> point) {
        if (point) fields.Fill(*point);
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
    std::optional<Vec3> point;
    auto* ok = new QPushButton(QCoreApplication::translate("PartShapeDialogs", "OK"), &dialog);
    PlaceInDialogUnits(ok, {82, 60, 50, 14});
    ok->setDefault(true);
    auto* cancel = new QPushButton(QCoreApplication::translate("PartShapeDialogs", "ｷｬﾝｾﾙ"), &dialog);
    PlaceInDialogUnits(cancel, {136, 60, 50, 14});
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    QObject::connect(ok, &QPushButton::clicked, &dialog, [&] {
        point = fields.Read();
        if (point) dialog.accept();
    });
    fields.First()->setFocus();
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
