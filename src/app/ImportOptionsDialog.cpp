#include "app/ImportOptionsDialog.h"

#include "anim/ImportScale.h"
#include "anim/ImportedAnimations.h"
#include "anim/ImportedParts.h"
#include "app/CommandIds.h"
#include "app/DialogControls.h"
#include "editor/FieldRules.h"
#include "scene/ModelScale.h"
#include "view/WindowLayout.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>

#include <algorithm>

namespace m3d {

namespace {

QString Text(const char* text) { return QCoreApplication::translate("ImportModelDialog", text); }

constexpr int kWidthUnits = 300;
constexpr int kHeightUnits = 50;  // without animations
constexpr DialogUnitsRect kAnimationList{10, 62, 280, 110};
constexpr int kHeightWithAnimationsUnits = 194;
// The list's columns: name, length, Parts moved (the rest of the width).
constexpr int kNameColumnUnits = 90;
constexpr int kLengthColumnUnits = 40;

}  // namespace

ImportOptionsDialog::ImportOptionsDialog(const ForeignModel& model, int framesPerSecond, double projectUnit,
                                         QWidget* parent)
    : QDialog(parent), scale(new QLineEdit(this)), outsideImages(new QCheckBox(this))
{
    options.framesPerSecond = framesPerSecond;
    SetControlId(this, IDD_IMPORT_MODEL);
    setWindowTitle(Text(QT_TRANSLATE_NOOP("ImportModelDialog", "モデルを読み込む")));
    const QString scaleName = Text(QT_TRANSLATE_NOOP("ImportModelDialog", "長さの倍率"));
    auto* scaleLabel = new QLabel(scaleName, this);
    PlaceInDialogUnits(scaleLabel, {10, 5, 80, 9});
    scaleLabel->setBuddy(scale);
    SetControlId(scale, IDC_IMPORT_SCALE);
    scale->setAccessibleName(scaleName);
    const Vec3 size = RestSizeOf(model);
    const float proposed = ProposedImportScale(std::max({size.x, size.y, size.z}), model.metresPerUnit, projectUnit);
    scale->setText(QString::number(double(proposed), 'g', 7));
    PlaceInDialogUnits(scale, {10, 16, 70, 13});
    const QString sizeName = Text(QT_TRANSLATE_NOOP("ImportModelDialog", "ファイルでの大きさ（幅×高さ×奥行）"));
    auto* sizeLabel = new QLabel(sizeName, this);
    PlaceInDialogUnits(sizeLabel, {90, 5, 150, 9});
    auto* sizeText = new QLabel(QString::fromStdString(ModelSizeText(size, model.metresPerUnit)), this);
    SetControlId(sizeText, IDC_IMPORT_SIZE);
    sizeText->setAccessibleName(sizeName);
    sizeText->setTextInteractionFlags(Qt::TextSelectableByMouse);
    PlaceInDialogUnits(sizeText, {90, 18, 150, 9});
    AddOkCancelButtons(this, Text(QT_TRANSLATE_NOOP("ImportModelDialog", "OK")), {245, 7, 45, 14}, {245, 25, 45, 14});
    SetControlId(outsideImages, IDC_IMPORT_OUTSIDE_IMAGES);
    outsideImages->setText(Text(QT_TRANSLATE_NOOP("ImportModelDialog", "フォルダーの外の画像も読み込む")));
    PlaceInDialogUnits(outsideImages, {10, 36, 230, 10});
    setFixedSize(DialogUnitsToPixelsX(kWidthUnits), DialogUnitsToPixelsY(kHeightUnits));
    scale->setFocus();
    if (model.animations.empty()) return;

    const std::vector<ImportableAnimation> list = ImportableAnimations(model, framesPerSecond, true);
    const std::vector<std::string> partNames = ImportedPartNames(model, ImportedPartsOf(model));
    const QString listName = Text(QT_TRANSLATE_NOOP("ImportModelDialog", "読み込むアニメーション"));
    auto* listLabel = new QLabel(listName, this);
    PlaceInDialogUnits(listLabel, {10, 52, 280, 9});
    animations = new QTreeWidget(this);
    listLabel->setBuddy(animations);
    SetControlId(animations, IDC_IMPORT_ANIMATIONS);
    animations->setAccessibleName(listName);
    animations->setRootIsDecorated(false);
    animations->setHeaderLabels({Text(QT_TRANSLATE_NOOP("ImportModelDialog", "アニメーション")),
                                 Text(QT_TRANSLATE_NOOP("ImportModelDialog", "フレーム")),
                                 Text(QT_TRANSLATE_NOOP("ImportModelDialog", "動かすパーツ"))});
    for (size_t a = 0; a < list.size(); ++a) {
        QString moved;
        for (const int part : list[a].movedParts)
            moved += (moved.isEmpty() ? QString() : QStringLiteral(", ")) +
                     QString::fromStdString(partNames[static_cast<size_t>(part)]);
        if (moved.isEmpty()) moved = Text(QT_TRANSLATE_NOOP("ImportModelDialog", "なし"));
        auto* row = new QTreeWidgetItem(animations, {QString::fromStdString(list[a].name), QString(), moved});
        row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
        row->setCheckState(0, list[a].offered ? Qt::Checked : Qt::Unchecked);
        row->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        row->setToolTip(0, row->text(0));
        row->setToolTip(2, moved);
        lengthsFromFirstKey.push_back(list[a].length);
        lengthsFromZero.push_back(ImportedMotionLength(model.animations[a], framesPerSecond, false));
    }
    PlaceInDialogUnits(animations, kAnimationList);
    animations->setColumnWidth(0, DialogUnitsToPixelsX(kNameColumnUnits));
    animations->setColumnWidth(1, DialogUnitsToPixelsX(kLengthColumnUnits));
    animations->header()->setStretchLastSection(true);
    animations->setCurrentItem(animations->topLevelItem(0));

    firstKey = new QCheckBox(Text(QT_TRANSLATE_NOOP("ImportModelDialog", "最初のキーから始める")), this);
    SetControlId(firstKey, IDC_IMPORT_FIRST_KEY);
    firstKey->setChecked(true);
    PlaceInDialogUnits(firstKey, {10, kAnimationList.y + kAnimationList.height + 6, 280, 10});
    connect(firstKey, &QCheckBox::toggled, this, &ImportOptionsDialog::ShowLengths);
    ShowLengths();
    setFixedSize(DialogUnitsToPixelsX(kWidthUnits), DialogUnitsToPixelsY(kHeightWithAnimationsUnits));
}

void ImportOptionsDialog::ShowLengths()
{
    const std::vector<int>& lengths = firstKey->isChecked() ? lengthsFromFirstKey : lengthsFromZero;
    for (int a = 0; a < animations->topLevelItemCount(); ++a)
        animations->topLevelItem(a)->setText(1, QString::number(lengths[static_cast<size_t>(a)]));
}

ModelImportOptions ImportOptionsDialog::Options() const
{
    ModelImportOptions chosen = options;
    chosen.outsideImagesAllowed = outsideImages->isChecked();
    if (animations != nullptr) {
        chosen.fromFirstKey = firstKey->isChecked();
        std::vector<bool> kept;
        for (int a = 0; a < animations->topLevelItemCount(); ++a)
            kept.push_back(animations->topLevelItem(a)->checkState(0) == Qt::Checked);
        chosen.animations = kept;
    }
    return chosen;
}

void ImportOptionsDialog::accept()
{
    const FieldCheck result =
        CheckFloatField(scale->text().toStdString(), kMinModelScale, kMaxModelScale, options.scale);
    if (!result.accepted) {
        ShowRefusedField(scale, result.message);
        return;
    }
    QDialog::accept();
}

}  // namespace m3d
