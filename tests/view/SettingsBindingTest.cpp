#include "view/SettingsBinding.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace m3d;

namespace {

TEST(SettingsBinding, DefaultsRoundTripThroughTheOwners)
{
    const SettingsValues defaults = DefaultSettingsValues("/cwd");
    ViewState views;
    ViewDisplays displays;
    ColourTable colours{};
    ApplySettings(defaults, views, displays, colours);
    EXPECT_EQ(views.views[0].type, ViewType::Top);
    EXPECT_EQ(views.views[1].type, ViewType::Pers);
    EXPECT_EQ(views.views[2].type, ViewType::Front);
    EXPECT_EQ(views.views[3].type, ViewType::Left);
    EXPECT_EQ(displays[1].drawMode, 1);
    EXPECT_EQ(displays[0].drawMode, 0);
    EXPECT_EQ(displays[2].showSelection, 1);
    EXPECT_EQ(colours[ColourIndex::Back], 0xFF181818u);
    EXPECT_EQ(colours[ColourIndex::Line], 0xFFFF0000u);
    EXPECT_EQ(views.gridWidth, 50);

    SettingsValues back = DefaultSettingsValues("/cwd");
    back.colours = {};
    back.views = {};
    GatherSettings(back, views, displays, colours);
    EXPECT_EQ(back.colours, defaults.colours);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(back.views[i].type, defaults.views[i].type);
        EXPECT_EQ(back.views[i].drawMode, defaults.views[i].drawMode);
        EXPECT_EQ(back.views[i].drawSelect, defaults.views[i].drawSelect);
        EXPECT_EQ(back.views[i].persEye.z, -600.0f);
    }
    EXPECT_EQ(back.addObjectDirectory, "/cwd");  // not the views' business
}

TEST(SettingsBinding, SplitFromTheFileMovesTheViewsAndComesBack)
{
    SettingsValues values = DefaultSettingsValues("");
    values.splitX = 0.25f;
    values.splitY = 0.75f;
    ViewState views;
    views.SetRenderSize(804, 600);
    ViewDisplays displays;
    ColourTable colours{};
    ApplySettings(values, views, displays, colours);
    EXPECT_EQ(views.views[0].rect.right, 200 - 2);  // a = 800 x 0.25
    EXPECT_EQ(views.views[2].rect.top, 450 + 1);    // b = 600 x 0.75
    views.splitX = 0.4f;
    GatherSettings(values, views, displays, colours);
    EXPECT_EQ(values.splitX, 0.4f);
    EXPECT_EQ(values.splitY, 0.75f);
}

TEST(SettingsBinding, PerViewCamerasKeepTheirOwnView)
{
    SettingsValues values = DefaultSettingsValues("");
    values.views[1].persEye = {1, 2, 3};
    values.views[1].persTarget = {4, 5, 6};
    values.views[3].target = {7, 8, 9};
    values.views[2].type = ViewType::Back;
    ViewState views;
    ViewDisplays displays;
    ColourTable colours{};
    ApplySettings(values, views, displays, colours);
    EXPECT_EQ(views.views[1].savedPersEye.y, 2.0f);
    EXPECT_EQ(views.views[1].savedPersTarget.z, 6.0f);
    EXPECT_EQ(views.views[0].savedPersEye.x, 600.0f);
    EXPECT_EQ(views.views[3].target.x, 7.0f);
    EXPECT_EQ(views.views[2].type, ViewType::Back);
}

TEST(SettingsBinding, ValuesThatWouldBreakDrawingAreReplaced)
{
    SettingsValues values = DefaultSettingsValues("");
    values.splitX = 0.0f;
    values.splitY = NAN;
    values.orthographicScale = 0.0f;
    values.lightDirection = {0, 0, 0};
    values.gridWidth = 0;
    values.views[0].type = 9;
    values.views[3].type = -1;
    values.views[1].drawMode = 7;
    ViewState views;
    views.SetRenderSize(804, 600);
    ViewDisplays displays;
    ColourTable colours{};
    ApplySettings(values, views, displays, colours);
    EXPECT_EQ(views.splitX, 0.05f);
    EXPECT_EQ(views.splitY, 0.5f);
    EXPECT_EQ(views.scale, 5.0f);
    EXPECT_EQ(views.lightDirection.z, 2.0f);
    EXPECT_EQ(views.gridWidth, 1);
    EXPECT_EQ(views.views[0].type, ViewType::Top);
    EXPECT_EQ(views.views[3].type, ViewType::Left);
    EXPECT_EQ(displays[1].drawMode, 0);
    for (int i = 0; i < 4; ++i) EXPECT_GT(views.views[i].rect.Width(), 0);
}

}  // namespace
