#include "app/InterfaceTranslation.h"

#include "text/UiText.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace m3d {

InterfaceTranslation::InterfaceTranslation(const std::string& language)
{
    const QString code = QString::fromStdString(language);
    if (platform.load(QStringLiteral("qtbase_") + code, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&platform);
    if (program.load(QStringLiteral(":/i18n/marionettica3d_") + code)) QCoreApplication::installTranslator(&program);
    SetUiTranslator([](const char* context, const char* source) {
        return QCoreApplication::translate(context, source).toStdString();
    });
}

InterfaceTranslation::~InterfaceTranslation()
{
    SetUiTranslator(nullptr);
    QCoreApplication::removeTranslator(&program);
    QCoreApplication::removeTranslator(&platform);
}

QString CoreText(const char* text) { return QString::fromStdString(UiText("core", text)); }

}  // namespace m3d
