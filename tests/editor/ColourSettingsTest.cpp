#include "editor/ColourSettings.h"
#include "editor/EditorSession.h"
#include "settings/SettingsValues.h"

#include <gtest/gtest.h>

using namespace m3d;

TEST(ColourSettings, SwatchesAreFoundByTheirRectanglesRightAndBottomExcluded)
{
    EXPECT_EQ(SwatchAt(20, 10), ColourIndex::Back);
    EXPECT_EQ(SwatchAt(59, 49), ColourIndex::Back);
    EXPECT_EQ(SwatchAt(60, 10), -1);
    EXPECT_EQ(SwatchAt(239, 10), ColourIndex::Select);
    EXPECT_EQ(SwatchAt(200, 129), ColourIndex::Anim);
    EXPECT_EQ(SwatchAt(100, 70), -1);
    EXPECT_EQ(SwatchAt(-5, -5), -1);
}

TEST(ColourSettings, PickerColoursDropAlphaAndComeBackOpaque)
{
    EXPECT_EQ(ArgbOf({255, 0, 0}), 0xFFFF0000u);
    EXPECT_EQ(static_cast<int32_t>(ArgbOf({255, 0, 0})), -65536);  // as the settings file writes it
    const PickerColour c = PickerColourOf(0x80123456u);
    EXPECT_EQ(c.red, 0x12);
    EXPECT_EQ(c.green, 0x34);
    EXPECT_EQ(c.blue, 0x56);
    EXPECT_EQ(ArgbOf(c), 0xFF123456u);
    EXPECT_EQ(ArgbOf({300, -4, 16}), 0xFFFF0010u);
}

TEST(ColourSettings, PickAndRestoreDefaultsEditACopyUntilApplied)
{
    EditorSession session;
    ColourTable custom{};
    custom.fill(0xFF010203u);
    session.Colours() = custom;
    ColourDialogState dialog(session.Colours());
    dialog.Pick(ColourIndex::Normal, {0, 0, 255});
    dialog.Pick(8, {1, 1, 1});
    dialog.Pick(-1, {1, 1, 1});
    EXPECT_EQ(dialog.Colours()[ColourIndex::Normal], 0xFF0000FFu);
    EXPECT_EQ(dialog.Colours()[ColourIndex::Pivot], 0xFF010203u);
    EXPECT_EQ(session.Colours(), custom);
    dialog.RestoreDefaults();
    EXPECT_EQ(dialog.Colours(), kDefaultColours);
    EXPECT_EQ(session.Colours(), custom);

    int reports = 0;
    EditorSubscription s =
        session.Events().Subscribe([&](const EditorEvent& e) { reports += std::holds_alternative<ViewsChanged>(e); });
    ApplyColoursCommand(session, dialog.Colours());
    EXPECT_EQ(session.Colours(), kDefaultColours);
    EXPECT_EQ(session.Colours()[ColourIndex::Grid], 0xFF808080u);
    EXPECT_EQ(reports, 1);
}
