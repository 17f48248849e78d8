#include "app/PartCommandDialogs.h"

#include "app/InterfaceTranslation.h"
#include "editor/PartCommands.h"
#include "foreign/ForeignFormats.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace m3d {

std::string AskObjectFile(const std::string& folder, const std::string& title, QWidget* parent)
{
    // The description names both patterns already, but the file dialog reads
    // the patterns from the last parentheses only, and separated by spaces.
    const QString own = QString::fromUtf8(kObjectFilePattern).replace(';', ' ');
    const QString foreign = QString::fromUtf8(ForeignFilePattern());
    const QString filter = CoreText(kObjectFileFilterName) + QStringLiteral(" (") + own + QStringLiteral(");;") +
                           QCoreApplication::translate("PartCommandDialogs", "他のソフトのモデル") +
                           QStringLiteral(" (") + foreign + QStringLiteral(");;") +
                           QCoreApplication::translate("PartCommandDialogs", "読み込めるすべてのファイル") +
                           QStringLiteral(" (") + own + QStringLiteral(" ") + foreign + QStringLiteral(")");
    return AskExistingFile(folder, QString::fromStdString(title), filter, parent);
}

std::string AskExistingFile(const std::string& folder, const QString& title, const QString& filter, QWidget* parent)
{
    QFileDialog dialog(parent, title, QString::fromStdString(folder), filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::string();
    return dialog.selectedFiles().front().toStdString();
}

void ShowFileError(QWidget* parent, const std::string& text)
{
    QMessageBox::warning(parent, QCoreApplication::translate("PartCommandDialogs", "Error"),
                         QString::fromStdString(text));
}

}  // namespace m3d
