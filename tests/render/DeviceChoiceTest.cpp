#include "render/CRenderApp.h"

#include "support/RenderTestApp.h"

#include <gtest/gtest.h>

using namespace m3d;

namespace {

using F = GraphicsFormat;

struct Chooser {
    explicit Chooser(std::vector<ScriptedAdapter> adapters) : driver(std::move(adapters)), app(state, host, journal) {}
    // Builds the catalogue and chooses like start-up does, without creating a device.
    bool Choose(bool requireHal = false, bool requireRef = false)
    {
        app.direct3d = &driver;
        app.clientRect = {0, 0, 910, 600};
        EXPECT_EQ(app.catalog.Build(&driver,
                                    [this](const DeviceCaps& c, uint32_t f, F b) { return app.AcceptDevice(c, f, b); }),
                  S_OK);
        return app.ChooseWindowedDevice(requireHal, requireRef);
    }
    RenderFrameworkState state;
    RecordingHost host;
    std::vector<std::string> journal;
    ScriptedGraphicsDriver driver;
    RecordingApp app;
};

}  // namespace

TEST(DeviceChoice, TakesHalWithMatchingFormatsAndTheFirstOfEachList)
{
    Chooser c({MakeScriptedAdapter()});
    ASSERT_TRUE(c.Choose());
    const FormatCombo* combo = c.app.ChosenCombo();
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->deviceType, DeviceType::Hal);
    EXPECT_TRUE(combo->windowed);
    // A8R8G8B8 comes first in the catalogue, but X8R8G8B8 equals the display format.
    EXPECT_EQ(combo->adapterFormat, F::X8R8G8B8);
    EXPECT_EQ(combo->backBufferFormat, F::X8R8G8B8);
    const DeviceSettings& s = c.app.settings;
    EXPECT_TRUE(s.windowed);
    EXPECT_EQ(s.displayMode.width, 1280u);
    EXPECT_EQ(s.displayMode.format, F::X8R8G8B8);
    EXPECT_EQ(s.depthStencilFormat, F::D16);
    EXPECT_EQ(s.multiSampleType, D3DMULTISAMPLE_NONE);
    EXPECT_EQ(s.multiSampleQuality, 0u);
    EXPECT_EQ(s.vertexProcessing, VertexProcessing::PureHardware);
    EXPECT_EQ(s.presentInterval, D3DPRESENT_INTERVAL_IMMEDIATE);
    EXPECT_EQ(s.windowWidth, 910u);
    EXPECT_EQ(s.windowHeight, 600u);

    c.app.FillPresentParams();
    const PresentParams& p = c.app.presentParams;
    EXPECT_TRUE(p.windowed);
    EXPECT_EQ(p.backBufferCount, 1u);
    EXPECT_EQ(p.backBufferWidth, 910u);
    EXPECT_EQ(p.backBufferHeight, 600u);
    EXPECT_EQ(p.backBufferFormat, F::X8R8G8B8);
    EXPECT_EQ(p.swapEffect, D3DSWAPEFFECT_DISCARD);
    EXPECT_EQ(p.deviceWindow, c.app.deviceWindow);
    EXPECT_TRUE(p.enableAutoDepthStencil);
    EXPECT_EQ(p.autoDepthStencilFormat, F::D16);
    EXPECT_EQ(p.flags, D3DPRESENTFLAG_DISCARD_DEPTHSTENCIL);
    EXPECT_EQ(p.fullScreenRefreshRate, 0u);
    EXPECT_EQ(p.presentationInterval, D3DPRESENT_INTERVAL_IMMEDIATE);

    c.app.usesDepthBuffer = false;
    c.app.FillPresentParams();
    EXPECT_FALSE(c.app.presentParams.enableAutoDepthStencil);
    EXPECT_EQ(c.app.presentParams.flags, 0u);
}

TEST(DeviceChoice, DesktopInR5G6B5ChoosesTheR5G6B5BackBuffer)
{
    Chooser c({MakeScriptedAdapter(F::R5G6B5)});
    ASSERT_TRUE(c.Choose());
    EXPECT_EQ(c.app.ChosenCombo()->deviceType, DeviceType::Hal);
    EXPECT_EQ(c.app.ChosenCombo()->adapterFormat, F::R5G6B5);
    EXPECT_EQ(c.app.ChosenCombo()->backBufferFormat, F::R5G6B5);
}

TEST(DeviceChoice, FallsBackAlongEachListsOrder)
{
    ScriptedAdapter adapter = MakeScriptedAdapter();
    ScriptedDeviceType& hal = adapter.deviceTypes[0];
    hal.caps.devCaps = D3DDEVCAPS_HWTRANSFORMANDLIGHT;         // not pure
    hal.caps.presentationIntervals = D3DPRESENT_INTERVAL_ONE;  // no immediate
    adapter.depthStencilFormats = {F::D24S8, F::D32};
    Chooser c({adapter});
    ASSERT_TRUE(c.Choose());
    EXPECT_EQ(c.app.settings.vertexProcessing, VertexProcessing::Hardware);
    EXPECT_EQ(c.app.settings.presentInterval, D3DPRESENT_INTERVAL_DEFAULT);
    EXPECT_EQ(c.app.settings.depthStencilFormat, F::D24S8);

    c.driver.Adapters()[0].deviceTypes[0].caps.devCaps = 0;
    ASSERT_TRUE(c.Choose());
    EXPECT_EQ(c.app.settings.vertexProcessing, VertexProcessing::Software);
}

TEST(DeviceChoice, PrefersHalOverReferenceEvenWithUnequalFormats)
{
    ScriptedAdapter adapter = MakeScriptedAdapter();
    adapter.rejectedFormatPairs = {{F::X8R8G8B8, F::X8R8G8B8}};
    // A later HAL combination with equal formats, even on another adapter,
    // replaces an earlier HAL one with unequal formats.
    Chooser c({adapter, MakeScriptedAdapter()});
    ASSERT_TRUE(c.Choose());
    EXPECT_EQ(c.app.ChosenCombo()->adapterOrdinal, 1u);
    EXPECT_EQ(c.app.ChosenCombo()->backBufferFormat, F::X8R8G8B8);

    // The first HAL combination with equal formats ends the search.
    Chooser two({MakeScriptedAdapter(), MakeScriptedAdapter()});
    ASSERT_TRUE(two.Choose());
    EXPECT_EQ(two.app.ChosenCombo()->adapterOrdinal, 0u);

    // With one adapter, a HAL combination with unequal formats beats the reference device.
    Chooser single({adapter});
    ASSERT_TRUE(single.Choose());
    EXPECT_EQ(single.app.ChosenCombo()->deviceType, DeviceType::Hal);
    EXPECT_EQ(single.app.ChosenCombo()->backBufferFormat, F::A8R8G8B8);

    // Without a HAL device the reference device is taken.
    single.driver.Adapters()[0].deviceTypes[0].capsReadable = false;
    ASSERT_TRUE(single.Choose());
    EXPECT_EQ(single.app.ChosenCombo()->deviceType, DeviceType::Reference);
    EXPECT_EQ(single.app.ChosenCombo()->backBufferFormat, F::A8R8G8B8);
    EXPECT_FALSE(single.Choose(true, false));
}

TEST(DeviceChoice, RequirementsRestrictTheDeviceType)
{
    Chooser c({MakeScriptedAdapter()});
    ASSERT_TRUE(c.Choose(false, true));
    EXPECT_EQ(c.app.ChosenDevice()->deviceType, DeviceType::Reference);
    EXPECT_EQ(c.app.settings.vertexProcessing, VertexProcessing::Hardware);
    EXPECT_EQ(c.app.settings.presentInterval, D3DPRESENT_INTERVAL_DEFAULT);
    ASSERT_TRUE(c.Choose(true, false));
    EXPECT_EQ(c.app.ChosenDevice()->deviceType, DeviceType::Hal);

    // A desktop format the catalogue does not hold finds nothing.
    c.driver.Adapters()[0].desktopMode.format = F::X1R5G5B5;
    EXPECT_FALSE(c.Choose());
}
