#pragma once

#include "app/CommandIds.h"
#include "app/FieldDialog.h"
#include "scene/Scene.h"
#include "ui/DialogAnswers.h"
#include "support/SceneParts.h"
#include "support/TempFolder.h"

#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include <filesystem>
#include <fstream>
#include <string>

namespace m3d {

// What the export dialogs' tests start from, in folder: box.mesh (a box of
// half size 5 at y = 10), the empty folders "start" and "out", and the
// settings file settingsName whose [DIRECTORY] entry directoryKey names
// "start". Returns the settings file's path.
inline std::string WriteExportTestFiles(const TempFolder& folder, const std::string& settingsName,
                                        const std::string& directoryKey)
{
    {
        Scene scratch;
        sceneparts::AddBoxPart(scratch, folder, "box", {0, 10, 0}, 5);
    }
    std::filesystem::create_directories(folder.File("start"));
    std::filesystem::create_directories(folder.File("out"));
    const std::string settings = folder.File(settingsName);
    std::ofstream(settings) << "[DIRECTORY]\n" << directoryKey << "=" << folder.File("start") << "\n";
    return settings;
}

// Checks the length scale dialog an export opens (its field showing shown,
// the height under it height), types typed and presses OK; then the height
// must follow it (typedHeight).
inline void AnswerLengthScale(const QString& shown, const QString& height, const QString& typed,
                              const QString& typedHeight)
{
    AnswerNextDialog<FieldDialog>([=](FieldDialog* dialog) {
        QCOMPARE(dialog->objectName(), IdName(IDD_EXPORT_SCALE));
        QLineEdit* field = dialog->Field();
        QCOMPARE(field->objectName(), IdName(IDC_EXPORT_SCALE));
        QCOMPARE(field->text(), shown);
        auto* written = dialog->findChild<QLabel*>(IdName(IDC_EXPORT_SCALE_HEIGHT));
        QVERIFY(written != nullptr);
        QCOMPARE(written->text(), height);
        field->selectAll();
        QTest::keyClicks(field, typed);
        QCOMPARE(written->text(), typedHeight);
        dialog->accept();
    });
}

}  // namespace m3d
