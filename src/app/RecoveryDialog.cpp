#include "app/RecoveryDialog.h"

#include "app/CommandIds.h"
#include "app/DialogControls.h"
#include "editor/RecoveryRows.h"
#include "view/WindowLayout.h"

#include <QCoreApplication>
#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeWidget>

namespace m3d {

namespace {

QString Text(const char* text) { return QCoreApplication::translate("RecoveryDialog", text); }

constexpr const char* kColumns[] = {
    QT_TRANSLATE_NOOP("RecoveryDialog", "プロジェクト"), QT_TRANSLATE_NOOP("RecoveryDialog", "元のファイル"),
    QT_TRANSLATE_NOOP("RecoveryDialog", "時刻"), QT_TRANSLATE_NOOP("RecoveryDialog", "パーツ"),
    QT_TRANSLATE_NOOP("RecoveryDialog", "モーション")};
// Column widths in dialog units, the file's taking what is left.
constexpr int kColumnUnits[] = {56, 0, 76, 26, 34};

}  // namespace

std::optional<RecoveryChoice> AskRecovery(const std::vector<RecoverableSnapshot>& snapshots, QWidget* parent)
{
    QDialog dialog(parent);
    SetControlId(&dialog, IDD_RECOVERY);
    dialog.setWindowTitle(Text(QT_TRANSLATE_NOOP("RecoveryDialog", "復元")));
    dialog.setFixedSize(DialogUnitsToPixelsX(320), DialogUnitsToPixelsY(150));
    PlaceInDialogUnits(
        new QLabel(Text(QT_TRANSLATE_NOOP("RecoveryDialog", "保存されずに終わった作業を復元できます。")), &dialog),
        {8, 8, 304, 8});

    auto* list = new QTreeWidget(&dialog);
    SetControlId(list, IDC_RECOVERY_LIST);
    list->setAccessibleName(Text(QT_TRANSLATE_NOOP("RecoveryDialog", "復元できるデータ")));
    list->setRootIsDecorated(false);
    list->setColumnCount(int(std::size(kColumns)));
    QStringList headers;
    for (const char* column : kColumns) headers << Text(column);
    list->setHeaderLabels(headers);
    for (const RecoverableSnapshot& snapshot : snapshots) {
        QStringList texts;
        for (const std::string& text : RecoveryRowTexts(snapshot)) texts << QString::fromStdString(text);
        auto* row = new QTreeWidgetItem(list, texts);
        row->setToolTip(1, texts[1]);
    }
    PlaceInDialogUnits(list, {8, 20, 304, 100});
    for (int column = 0; column < int(std::size(kColumnUnits)); ++column)
        if (kColumnUnits[column] > 0) list->setColumnWidth(column, DialogUnitsToPixelsX(kColumnUnits[column]));
    list->header()->setSectionResizeMode(1, QHeaderView::Stretch);
    list->setCurrentItem(list->topLevelItem(0));

    std::optional<RecoveryChoice> choice;
    const auto chosen = [&](bool discard) {
        const int row = list->indexOfTopLevelItem(list->currentItem());
        if (row < 0) return;
        if (discard && QMessageBox::question(
                           &dialog, Text(QT_TRANSLATE_NOOP("RecoveryDialog", "復元")),
                           Text(QT_TRANSLATE_NOOP("RecoveryDialog", "選んだデータを破棄しますか？元に戻せません。"))) !=
                           QMessageBox::Yes)
            return;
        const RecoverableSnapshot& snapshot = snapshots[size_t(row)];
        choice = RecoveryChoice{snapshot.id, snapshot.info.documentId, discard};
        dialog.accept();
    };
    QPushButton* restore =
        AddButton(&dialog, IDC_RECOVERY_RESTORE, Text(QT_TRANSLATE_NOOP("RecoveryDialog", "復元")), {154, 128, 50, 14});
    restore->setDefault(true);
    QObject::connect(restore, &QPushButton::clicked, &dialog, [&] { chosen(false); });
    QPushButton* discard =
        AddButton(&dialog, IDC_RECOVERY_DISCARD, Text(QT_TRANSLATE_NOOP("RecoveryDialog", "破棄")), {208, 128, 50, 14});
    QObject::connect(discard, &QPushButton::clicked, &dialog, [&] { chosen(true); });
    QPushButton* later =
        AddButton(&dialog, IDC_RECOVERY_LATER, Text(QT_TRANSLATE_NOOP("RecoveryDialog", "後で")), {262, 128, 50, 14});
    QObject::connect(later, &QPushButton::clicked, &dialog, &QDialog::reject);
    QObject::connect(list, &QTreeWidget::itemDoubleClicked, &dialog, [&] { chosen(false); });
    dialog.exec();
    return choice;
}

}  // namespace m3d
