#include "app/ExportPathDialog.h"

#include "app/InterfaceTranslation.h"
#include "app/QtUserPrompt.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>

namespace m3d {

std::string AskExportPath(const char* caption, const ExportDialogStart& start, const char* filter,
                          const char* defaultSuffix, QWidget* parent)
{
    QDir::setCurrent(QString::fromStdString(start.directory));
    QFileDialog dialog(
        parent, CoreText(caption), QString::fromStdString(start.directory),
        QtUserPrompt::DialogFilter(QCoreApplication::translate("ExportPathDialog", filter).toStdString()));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QString::fromUtf8(defaultSuffix));
    if (!start.fileName.empty()) dialog.selectFile(QString::fromStdString(start.fileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::string();
    return dialog.selectedFiles().front().toStdString();
}

void ShowExportMessage(QWidget* parent, const char* caption, const std::string& text, QMessageBox::Icon icon)
{
    QMessageBox box(icon, CoreText(caption), QString::fromStdString(text), QMessageBox::Ok, parent);
    box.exec();
}

}  // namespace m3d
