#include "render/SurfaceGraphicsDriver.h"

#include "support/RenderTestApp.h"

#include <gtest/gtest.h>

using namespace m3d;

namespace {

using F = GraphicsFormat;

SurfaceDescription Surface(int r, int g, int b, int a, int depth, int stencil, int samples = 0)
{
    SurfaceDescription s;
    s.redBits = r;
    s.greenBits = g;
    s.blueBits = b;
    s.alphaBits = a;
    s.depthBits = depth;
    s.stencilBits = stencil;
    s.samples = samples;
    s.screenWidth = 1600;
    s.screenHeight = 1200;
    s.refreshRate = 60;
    s.renderer = "test rasteriser";
    return s;
}

// A device that only counts its releases.
struct NullDevice : GraphicsDevice {
    HResult TestCooperativeLevel() override { return S_OK; }
    HResult Reset(PresentParams&) override { return S_OK; }
    HResult Present(WindowHandle) override { return S_OK; }
    HResult GetDeviceCaps(DeviceCaps&) override { return S_OK; }
    HResult GetBackBufferDesc(SurfaceDesc&) override { return S_OK; }
    uint32_t Release() override { return 0; }
};

struct TestDriver : SurfaceGraphicsDriver {
    using SurfaceGraphicsDriver::SurfaceGraphicsDriver;
    int made = 0;
    HResult MakeDevice(WindowHandle, PresentParams&, std::unique_ptr<GraphicsDevice>& device) override
    {
        ++made;
        device = std::make_unique<NullDevice>();
        return S_OK;
    }
};

struct Started {
    explicit Started(SurfaceDescription s) : driver(std::move(s)), app(state, host, journal) {}
    HResult Start() { return app.Startup(&driver); }
    RenderFrameworkState state;
    RecordingHost host;
    std::vector<std::string> journal;
    TestDriver driver;
    RecordingApp app;
};

TEST(SurfaceFormats, BitsNameTheFormatsAndOddSurfacesNameNone)
{
    EXPECT_EQ(DisplayFormatOf(Surface(8, 8, 8, 8, 24, 8)), F::X8R8G8B8);
    EXPECT_EQ(BackBufferFormatOf(Surface(8, 8, 8, 8, 24, 8)), F::A8R8G8B8);
    EXPECT_EQ(BackBufferFormatOf(Surface(8, 8, 8, 0, 24, 8)), F::X8R8G8B8);
    EXPECT_EQ(DepthStencilFormatOf(Surface(8, 8, 8, 0, 24, 8)), F::D24S8);
    EXPECT_EQ(DepthStencilFormatOf(Surface(8, 8, 8, 0, 24, 0)), F::D24X8);
    EXPECT_EQ(DisplayFormatOf(Surface(5, 6, 5, 0, 16, 0)), F::R5G6B5);
    EXPECT_EQ(DepthStencilFormatOf(Surface(5, 6, 5, 0, 16, 0)), F::D16);
    EXPECT_EQ(BackBufferFormatOf(Surface(5, 5, 5, 1, 16, 0)), F::A1R5G5B5);
    EXPECT_EQ(DisplayFormatOf(Surface(10, 10, 10, 2, 32, 0)), F::A2R10G10B10);
    EXPECT_EQ(DepthStencilFormatOf(Surface(10, 10, 10, 2, 32, 0)), F::D32);
    EXPECT_EQ(DisplayFormatOf(Surface(4, 4, 4, 0, 24, 8)), F::Unknown);
    EXPECT_EQ(BackBufferFormatOf(Surface(8, 8, 8, 4, 24, 8)), F::Unknown);
    EXPECT_EQ(DepthStencilFormatOf(Surface(8, 8, 8, 0, 0, 0)), F::Unknown);
    EXPECT_EQ(DepthStencilFormatOf(Surface(8, 8, 8, 0, 16, 8)), F::Unknown);
}

TEST(SurfaceGraphicsDriver, TheFrameworkChoosesExactlyTheSurfacesFormats)
{
    Started s(Surface(8, 8, 8, 8, 24, 8));
    ASSERT_EQ(s.Start(), S_OK);
    EXPECT_TRUE(s.app.active);
    EXPECT_EQ(s.driver.made, 1);
    EXPECT_TRUE(s.host.messages.empty());
    const auto& adapters = s.app.catalog.Adapters();
    ASSERT_EQ(adapters.size(), 1u);
    ASSERT_EQ(adapters[0].devices.size(), 1u);  // no software or reference type
    EXPECT_EQ(adapters[0].identifier.description, "test rasteriser");
    const FormatCombo* combo = s.app.ChosenCombo();
    ASSERT_NE(combo, nullptr);
    EXPECT_TRUE(combo->windowed);
    EXPECT_EQ(combo->adapterFormat, F::X8R8G8B8);
    EXPECT_EQ(combo->backBufferFormat, F::A8R8G8B8);
    EXPECT_EQ(combo->depthStencilFormats, std::vector<F>{F::D24S8});
    EXPECT_EQ(combo->multiSampleTypes, std::vector<uint32_t>{D3DMULTISAMPLE_NONE});
    EXPECT_EQ(s.app.settings.presentInterval, D3DPRESENT_INTERVAL_IMMEDIATE);
    // A surface that waits for the display offers no immediate presentation.
    SurfaceDescription waiting = Surface(8, 8, 8, 8, 24, 8);
    waiting.presentsImmediately = false;
    Started w(waiting);
    ASSERT_EQ(w.Start(), S_OK);
    EXPECT_EQ(w.app.settings.presentInterval, D3DPRESENT_INTERVAL_DEFAULT);
    EXPECT_EQ(s.app.presentParams.autoDepthStencilFormat, F::D24S8);
    EXPECT_EQ(s.app.settings.displayMode.width, 1600u);
    // Only the full-screen question in the surface's format has an answer.
    EXPECT_EQ(s.driver.GetAdapterModes(0, F::R5G6B5).size(), 0u);
    EXPECT_EQ(s.driver.GetAdapterModes(1, F::X8R8G8B8).size(), 0u);
    AdapterIdentifier id;
    EXPECT_EQ(s.driver.GetAdapterIdentifier(1, id), D3DERR_INVALIDCALL);
}

TEST(SurfaceGraphicsDriver, AMultisampledSixteenBitSurfaceIsReportedAsItIs)
{
    Started s(Surface(5, 6, 5, 0, 16, 0, 4));
    ASSERT_EQ(s.Start(), S_OK);
    const FormatCombo* combo = s.app.ChosenCombo();
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->adapterFormat, F::R5G6B5);
    EXPECT_EQ(combo->backBufferFormat, F::R5G6B5);
    EXPECT_EQ(combo->depthStencilFormats, std::vector<F>{F::D16});
    EXPECT_EQ(combo->multiSampleTypes, std::vector<uint32_t>{4u});
    EXPECT_EQ(s.app.settings.multiSampleType, 4u);
}

TEST(SurfaceGraphicsDriver, ASurfaceOfUnknownFormatsEndsTheStartWithTheNoDeviceMessage)
{
    for (const SurfaceDescription& odd : {Surface(4, 4, 4, 0, 24, 8), Surface(8, 8, 8, 0, 0, 0)}) {
        Started s(odd);
        EXPECT_EQ(s.Start(), AppErrNoCompatibleDevices);
        EXPECT_FALSE(s.app.active);
        EXPECT_EQ(s.driver.made, 0);
        ASSERT_EQ(s.host.messages.size(), 1u);
        EXPECT_EQ(s.host.messages[0].icon, MessageIcon::Error);
    }
}

TEST(SurfaceGraphicsDriver, DevicesOfOtherFormatsAreRefusedBeforeTheProgramIsAsked)
{
    TestDriver driver(Surface(8, 8, 8, 0, 24, 8));
    PresentParams params;
    params.windowed = true;
    params.backBufferFormat = F::A8R8G8B8;  // the surface has no alpha
    std::unique_ptr<GraphicsDevice> device;
    EXPECT_EQ(driver.CreateDevice(0, DeviceType::Hal, nullptr, 0, params, device), D3DERR_NOTAVAILABLE);
    params.backBufferFormat = F::X8R8G8B8;
    params.enableAutoDepthStencil = true;
    params.autoDepthStencilFormat = F::D16;
    EXPECT_EQ(driver.CreateDevice(0, DeviceType::Hal, nullptr, 0, params, device), D3DERR_NOTAVAILABLE);
    params.autoDepthStencilFormat = F::D24S8;
    EXPECT_EQ(driver.CreateDevice(0, DeviceType::Reference, nullptr, 0, params, device), D3DERR_NOTAVAILABLE);
    params.windowed = false;
    EXPECT_EQ(driver.CreateDevice(0, DeviceType::Hal, nullptr, 0, params, device), D3DERR_NOTAVAILABLE);
    EXPECT_EQ(driver.made, 0);
    params.windowed = true;
    EXPECT_EQ(driver.CreateDevice(0, DeviceType::Hal, nullptr, 0, params, device), S_OK);
    EXPECT_NE(device, nullptr);
}

}  // namespace
