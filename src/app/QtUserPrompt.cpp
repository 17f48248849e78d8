#include "app/QtUserPrompt.h"

#include "app/MeshOverwriteDialog.h"
#include "app/TaskProgressDialog.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace m3d {

QtUserPrompt::QtUserPrompt(QWidget* parent) : parent(parent) {}

QtUserPrompt::~QtUserPrompt() = default;

TaskProgress* QtUserPrompt::Progress()
{
    progress = std::make_unique<TaskProgressDialog>(
        parent, QCoreApplication::translate("QtUserPrompt", "テクスチャの画像を書き出しています…"));
    return progress.get();
}

QString QtUserPrompt::DialogFilter(const std::string& filter)
{
    const QStringList parts = QString::fromStdString(filter).split('|');
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        const QString& pattern = parts[i + 1];
        if (description.isEmpty()) break;
        entries << (description.contains("(" + pattern + ")") ? description : description + " (" + pattern + ")");
    }
    return entries.join(";;");
}

bool QtUserPrompt::AskYesNo(const std::string& text, const std::string& caption)
{
    return QMessageBox::question(parent, QString::fromStdString(caption), QString::fromStdString(text),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

YesNoCancel QtUserPrompt::AskYesNoCancel(const std::string& text, const std::string& caption)
{
    QMessageBox box(QMessageBox::Question, QString::fromStdString(caption), QString::fromStdString(text),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (box.exec()) {
    case QMessageBox::Yes: return YesNoCancel::Yes;
    case QMessageBox::No: return YesNoCancel::No;
    default: return YesNoCancel::Cancel;
    }
}

void QtUserPrompt::ShowMessage(const std::string& text, const std::string& caption)
{
    QMessageBox::information(parent, QString::fromStdString(caption), QString::fromStdString(text));
}

std::string QtUserPrompt::AskSavePath(const std::string& filter, const std::string& defaultExtension)
{
    QFileDialog dialog(parent, QString(), QDir::currentPath(), DialogFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QString::fromStdString(defaultExtension));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::string();
    return dialog.selectedFiles().front().toStdString();
}

MeshOverwriteAnswer QtUserPrompt::AskMeshOverwrite(const std::string& text)
{
    MeshOverwriteDialog dialog(text, parent);
    return MeshOverwriteAnswer(dialog.exec());
}

}  // namespace m3d
