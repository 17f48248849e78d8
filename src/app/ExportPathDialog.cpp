#include "app/ExportPathDialog.h"

#include "app/InterfaceTranslation.h"
#include "app/QtUserPrompt.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>

namespace m3d {

std::string AskExportPath(const std::string& directory, const char* filter, const char* defaultSuffix, QWidget* parent)
{
    QDir::setCurrent(QString::fromStdString(directory));
    QFileDialog dialog(
        parent, QString(), QString::fromStdString(directory),
        QtUserPrompt::DialogFilter(QCoreApplication::translate("ExportPathDialog", filter).toStdString()));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QString::fromUtf8(defaultSuffix));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::string();
    return dialog.selectedFiles().front().toStdString();
}

void ShowExportMessage(QWidget* parent, const char* caption, const std::string& text, QMessageBox::Icon icon)
{
    QMessageBox box(icon, CoreText(caption), QString::fromStdString(text), QMessageBox::Ok, parent);
    box.exec();
}

}  // namespace m3d
