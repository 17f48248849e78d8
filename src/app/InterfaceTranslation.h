#pragma once

#include <QString>
#include <QTranslator>

#include <string>

namespace m3d {

// The interface in one language ("ja" or "en") while the object lives: Qt's
// own catalogue for the platform's dialogs and buttons (qtbase_<code> from
// Qt's translations folder), the program's catalogue for its own texts
// (embedded; Japanese needs none, its texts are written so), and the core's
// texts looked up through the same catalogues. Make it before the first
// window; destroying it gives the texts as written again.
class InterfaceTranslation {
public:
    explicit InterfaceTranslation(const std::string& language);
    ~InterfaceTranslation();
    InterfaceTranslation(const InterfaceTranslation&) = delete;
    InterfaceTranslation& operator=(const InterfaceTranslation&) = delete;

private:
    QTranslator platform;
    QTranslator program;
};

// A core text marked with QT_TRANSLATE_NOOP("core", text), in the interface language.
QString CoreText(const char* text);

}  // namespace m3d
