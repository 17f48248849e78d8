#pragma once

#include <QFont>

namespace m3d {

// The font the panels and dialogs are laid out for. Their dialog units are
// those of a 9-point font of 1.75 x 1.5 px a unit, so a static text of 8
// units is 12 px high and an average letter 7 px wide. IPAPGothic, the
// proportional gothic of the IPA fonts (Debian's fonts-ipafont-gothic), has a
// line of exactly one em; at 11 px its line is 12 px and its letters average
// 6.5 px, so every text laid out for that grid fits its control. A desktop
// font such as Noto Sans CJK JP needs 17 px for a line of the same letters.
inline constexpr const char* kDialogFontFamily = "IPAPGothic";
inline constexpr int kDialogFontPixelSize = 11;

QFont DialogFont();
// Makes DialogFont the application's font, before the first window is made.
void UseDialogFont();

}  // namespace m3d
