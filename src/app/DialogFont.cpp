#include "app/DialogFont.h"

#include <QApplication>

namespace m3d {

QFont DialogFont()
{
    QFont font(QString::fromLatin1(kDialogFontFamily));
    font.setPixelSize(kDialogFontPixelSize);
    // Where the font is missing, another gothic that has the Japanese letters.
    font.setStyleHint(QFont::SansSerif);
    font.setFamilies(
        {QString::fromLatin1(kDialogFontFamily), QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans CJK JP")});
    return font;
}

void UseDialogFont() { QApplication::setFont(DialogFont()); }

}  // namespace m3d
