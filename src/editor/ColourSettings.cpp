#include "editor/ColourSettings.h"

#include "editor/EditorSession.h"
#include "settings/SettingsValues.h"
#include "text/UiText.h"

#include <algorithm>

namespace m3d {

const std::array<ColourSwatch, 8>& ColourSwatches()
{
    static const std::array<ColourSwatch, 8> swatches{{
        {{20, 10, 60, 50}, QT_TRANSLATE_NOOP("core", "背景"), ""},
        {{80, 10, 120, 50}, QT_TRANSLATE_NOOP("core", "グリッド"), ""},
        {{140, 10, 180, 50}, QT_TRANSLATE_NOOP("core", "分割線"), ""},
        {{20, 90, 60, 130}, QT_TRANSLATE_NOOP("core", "Collision"), ""},
        {{80, 90, 120, 130}, QT_TRANSLATE_NOOP("core", "法線"), ""},
        {{140, 90, 180, 130}, QT_TRANSLATE_NOOP("core", "原点"), ""},
        {{200, 10, 240, 50}, QT_TRANSLATE_NOOP("core", "選択"), QT_TRANSLATE_NOOP("core", "オブジェクト")},
        {{200, 90, 240, 130}, QT_TRANSLATE_NOOP("core", "アニメ"), QT_TRANSLATE_NOOP("core", "ダイアログ")},
    }};
    return swatches;
}

std::optional<ColourIndex> SwatchAt(int x, int y)
{
    const auto& swatches = ColourSwatches();
    for (size_t i = 0; i < swatches.size(); ++i)
        if (swatches[i].rect.Contains(x, y)) return ColourIndex(i);
    return std::nullopt;
}

PickerColour PickerColourOf(uint32_t argb)
{
    return {int((argb >> 16) & 0xFF), int((argb >> 8) & 0xFF), int(argb & 0xFF)};
}

uint32_t ArgbOf(PickerColour colour)
{
    auto component = [](int value) { return uint32_t(std::clamp(value, 0, 255)); };
    return 0xFF000000u | component(colour.red) << 16 | component(colour.green) << 8 | component(colour.blue);
}

void ColourDialogState::Pick(ColourIndex index, PickerColour colour)
{
    if (size_t(index) >= colours.size()) return;
    colours[index] = ArgbOf(colour);
}

void ColourDialogState::RestoreDefaults() { colours = kDefaultColours; }

void ApplyColoursCommand(EditorSession& session, const ColourTable& colours)
{
    session.Colours() = colours;
    session.Events().Publish(ViewsChanged{});
}

}  // namespace m3d
