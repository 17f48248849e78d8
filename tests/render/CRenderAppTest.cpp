#include "render/CRenderApp.h"

#include "support/RenderTestApp.h"

#include <gtest/gtest.h>

using namespace m3d;

namespace {

using Journal = std::vector<std::string>;

const std::string kGenericError = "Generic application error. Enable\ndebug output for detailed information.";
const std::string kExitSuffix = "\n\nThis sample will now exit.";

class RenderAppTest : public ::testing::Test {
protected:
    explicit RenderAppTest(std::vector<ScriptedAdapter> adapters = {MakeScriptedAdapter()})
        : state{0, false, nullptr, FrameTimer(clock.Function())}, driver(std::move(adapters))
    {
    }

    RecordingApp& App()
    {
        if (!app) app = std::make_unique<RecordingApp>(state, host, driver.Journal());
        return *app;
    }

    // The journal since the previous call.
    Journal Take()
    {
        Journal taken = std::move(driver.Journal());
        driver.Journal().clear();
        return taken;
    }

    // One frame after time has passed.
    HResult Frame()
    {
        clock.AdvanceMilliseconds(20);
        return App().StepFrame();
    }

    ScriptedClock clock;
    RenderFrameworkState state;
    RecordingHost host;
    ScriptedGraphicsDriver driver;
    std::unique_ptr<RecordingApp> app;
};

const Journal kDrawnFrame = {"AdvanceFrame", "Render", "Present"};

}  // namespace

TEST_F(RenderAppTest, StartsPausedAndBecomesActiveWithARestoredDevice)
{
    RecordingApp& a = App();
    EXPECT_EQ(state.pauseCount, 1);
    EXPECT_FALSE(a.active);
    EXPECT_EQ(state.instance, &a);
    EXPECT_TRUE(state.timer.Stopped());

    ASSERT_EQ(a.Startup(&driver), S_OK);
    EXPECT_EQ(Take(), (Journal{"InitScene", "AdjustDeviceWindow", "CreateDevice HAL", "CreateDeviceObjects",
                               "RestoreDeviceState"}));
    EXPECT_TRUE(a.active);
    EXPECT_EQ(state.pauseCount, 0);
    EXPECT_FALSE(state.timer.Stopped());
    EXPECT_TRUE(a.deviceObjectsCreated);
    EXPECT_TRUE(a.deviceStateRestored);
    EXPECT_EQ(a.createFlags, D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_PUREDEVICE);
    EXPECT_EQ(driver.LastBehaviourFlags(), a.createFlags);
    EXPECT_EQ(driver.LastFocusWindow(), a.deviceWindow);
    EXPECT_EQ(driver.LastPresentParams().backBufferWidth, 800u);
    EXPECT_EQ(driver.LastPresentParams().backBufferHeight, 600u);
    EXPECT_EQ(a.backBufferDesc.format, GraphicsFormat::X8R8G8B8);
    EXPECT_EQ(a.caps.deviceType, DeviceType::Hal);
    EXPECT_TRUE(host.messages.empty());

    a.ReleaseDevice();
    app.reset();
    EXPECT_EQ(state.instance, nullptr);
}

TEST_F(RenderAppTest, DrawsOnlyWhenTimeHasPassed)
{
    ASSERT_EQ(App().Startup(&driver), S_OK);
    Take();
    clock.AdvanceMilliseconds(25);
    EXPECT_EQ(App().StepFrame(), S_OK);
    EXPECT_EQ(Take(), kDrawnFrame);
    EXPECT_FLOAT_EQ(App().elapsedTime, 0.025f);
    // The clock did not move: this frame draws nothing.
    EXPECT_EQ(App().StepFrame(), S_OK);
    EXPECT_TRUE(Take().empty());
    EXPECT_FLOAT_EQ(App().elapsedTime, 0.025f);
    clock.AdvanceMilliseconds(10);
    EXPECT_EQ(App().StepFrame(), S_OK);
    EXPECT_EQ(Take(), kDrawnFrame);
    EXPECT_FLOAT_EQ(App().elapsedTime, 0.010f);
    EXPECT_EQ(driver.PresentCount(), 2);
}

TEST_F(RenderAppTest, FailingFrameHooksEndTheFrame)
{
    ASSERT_EQ(App().Startup(&driver), S_OK);
    Take();
    App().failures["AdvanceFrame"] = E_OUTOFMEMORY;
    EXPECT_EQ(Frame(), E_OUTOFMEMORY);
    EXPECT_EQ(Take(), (Journal{"AdvanceFrame"}));
    App().failures = {{"Render", E_FAIL}};
    EXPECT_EQ(Frame(), E_FAIL);
    EXPECT_EQ(Take(), (Journal{"AdvanceFrame", "Render"}));
}

TEST_F(RenderAppTest, LostDeviceDrawsNothingUntilItCanBeReset)
{
    ASSERT_EQ(App().Startup(&driver), S_OK);
    Take();
    driver.LoseDevice();
    EXPECT_EQ(Frame(), S_OK);
    EXPECT_EQ(Take(), kDrawnFrame);  // the present finds out
    EXPECT_TRUE(App().deviceLost);

    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Frame(), S_OK);
        EXPECT_EQ(Take(), (Journal{"TestCooperativeLevel"}));
    }

    // The desktop changed its mode meanwhile; the reset follows it.
    driver.Adapters()[0].desktopMode = {1024, 768, 60, GraphicsFormat::R5G6B5};
    driver.AllowReset();
    EXPECT_EQ(Frame(), S_OK);
    EXPECT_EQ(Take(), (Journal{"TestCooperativeLevel", "InvalidateDeviceState", "Reset", "RestoreDeviceState"}));
    EXPECT_EQ(driver.LastPresentParams().backBufferFormat, GraphicsFormat::R5G6B5);
    EXPECT_EQ(App().settings.displayMode.width, 1024u);
    EXPECT_TRUE(App().deviceStateRestored);

    EXPECT_EQ(Frame(), S_OK);
    EXPECT_EQ(Take(), (Journal{"TestCooperativeLevel", "AdvanceFrame", "Render", "Present"}));
    EXPECT_FALSE(App().deviceLost);
    EXPECT_EQ(Frame(), S_OK);
    EXPECT_EQ(Take(), kDrawnFrame);
}

TEST_F(RenderAppTest, FailedResetIsRepeatedAfterTheNextLoss)
{
    ASSERT_EQ(App().Startup(&driver), S_OK);
    Take();
    driver.FailNextReset(D3DERR_OUTOFVIDEOMEMORY);
    App().presentParams.backBufferWidth = 640;
    EXPECT_EQ(App().ResetDevice(), D3DERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(Take(), (Journal{"InvalidateDeviceState", "Reset"}));
    EXPECT_FALSE(App().deviceStateRestored);
    EXPECT_TRUE(host.messages.empty());

    EXPECT_EQ(Frame(), S_OK);
    EXPECT_EQ(Take(), kDrawnFrame);
    EXPECT_TRUE(App().deviceLost);
    // Nothing to invalidate this time.
    EXPECT_EQ(Frame(), S_OK);
    EXPECT_EQ(Take(), (Journal{"TestCooperativeLevel", "Reset", "RestoreDeviceState"}));
    EXPECT_EQ(driver.LastPresentParams().backBufferWidth, 640u);
    EXPECT_EQ(App().backBufferDesc.width, 640u);
    EXPECT_TRUE(App().deviceStateRestored);

    // A failing restore is undone at once.
    App().failures["RestoreDeviceState"] = E_FAIL;
    EXPECT_EQ(App().ResetDevice(), E_FAIL);
    EXPECT_EQ(Take(), (Journal{"InvalidateDeviceState", "Reset", "RestoreDeviceState", "InvalidateDeviceState"}));
    EXPECT_FALSE(App().deviceStateRestored);
}

TEST_F(RenderAppTest, ReleaseInvalidatesThenDestroys)
{
    ASSERT_EQ(App().Startup(&driver), S_OK);
    Take();
    App().ReleaseDevice();
    EXPECT_EQ(Take(), (Journal{"InvalidateDeviceState", "DestroyDeviceObjects", "Release"}));
    EXPECT_FALSE(App().deviceStateRestored);
    EXPECT_FALSE(App().deviceObjectsCreated);
    EXPECT_EQ(App().device, nullptr);
    EXPECT_FALSE(driver.DeviceAlive());
    App().ReleaseDevice();
    EXPECT_TRUE(Take().empty());
    EXPECT_EQ(App().StepFrame(), E_FAIL);
    EXPECT_EQ(App().ResetDevice(), E_FAIL);
    EXPECT_TRUE(host.messages.empty());
}

TEST_F(RenderAppTest, AReferenceLeftAtReleaseIsFatal)
{
    ASSERT_EQ(App().Startup(&driver), S_OK);
    driver.LeaveReferencesAtRelease(1);
    App().ReleaseDevice();
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text,
              "A D3D object has a non-zero reference\ncount (meaning things were not properly\n"
              "cleaned up)." +
                  kExitSuffix);
    EXPECT_EQ(host.messages[0].icon, MessageIcon::Error);
    EXPECT_TRUE(state.exiting);
    EXPECT_EQ(App().device, nullptr);
}

TEST_F(RenderAppTest, FailingHalDeviceFallsBackToTheReferenceDevice)
{
    driver.Adapters()[0].deviceTypes[0].createResult = D3DERR_NOTAVAILABLE;
    ASSERT_EQ(App().Startup(&driver), S_OK);
    EXPECT_EQ(Take(), (Journal{"InitScene", "AdjustDeviceWindow", "CreateDevice HAL", "AdjustDeviceWindow", "Message",
                               "AdjustDeviceWindow", "CreateDevice REF", "CreateDeviceObjects", "RestoreDeviceState"}));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, kGenericError +
                                         "\n\nSwitching to the reference rasterizer,\na software device that "
                                         "implements the entire\nDirect3D feature set, but runs very slowly.");
    EXPECT_EQ(host.messages[0].icon, MessageIcon::Warning);
    EXPECT_EQ(host.messages[0].caption, "Marionettica3D");
    EXPECT_FALSE(state.exiting);
    EXPECT_TRUE(App().active);
    EXPECT_EQ(App().ChosenDevice()->deviceType, DeviceType::Reference);
    EXPECT_EQ(App().createFlags, D3DCREATE_HARDWARE_VERTEXPROCESSING);
}

TEST_F(RenderAppTest, DeviceThatCannotBeRestoredAnywhereEndsStartup)
{
    App().failures["RestoreDeviceState"] = E_OUTOFMEMORY;
    EXPECT_EQ(App().Startup(&driver), E_OUTOFMEMORY);
    EXPECT_EQ(Take(),
              (Journal{"InitScene", "AdjustDeviceWindow", "CreateDevice HAL", "CreateDeviceObjects",
                       "RestoreDeviceState", "InvalidateDeviceState", "DestroyDeviceObjects", "Release",
                       "AdjustDeviceWindow", "Message", "AdjustDeviceWindow", "CreateDevice REF", "CreateDeviceObjects",
                       "RestoreDeviceState", "InvalidateDeviceState", "DestroyDeviceObjects", "Release", "Message"}));
    ASSERT_EQ(host.messages.size(), 2u);
    EXPECT_EQ(host.messages[1].text, "Not enough memory." + kExitSuffix);
    EXPECT_EQ(host.messages[1].icon, MessageIcon::Error);
    EXPECT_FALSE(App().active);
    EXPECT_EQ(App().device, nullptr);
    EXPECT_EQ(App().direct3d, nullptr);
}

TEST_F(RenderAppTest, FailingObjectCreationIsCleanedUp)
{
    // Without a HAL device there is nothing to fall back from.
    driver.Adapters()[0].deviceTypes[0].capsReadable = false;
    App().failures["CreateDeviceObjects"] = D3DERR_OUTOFVIDEOMEMORY;
    EXPECT_EQ(App().Startup(&driver), D3DERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(Take(), (Journal{"InitScene", "AdjustDeviceWindow", "CreateDevice REF", "CreateDeviceObjects",
                               "DestroyDeviceObjects", "Release", "Message"}));
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "Not enough video memory." + kExitSuffix);
}

TEST_F(RenderAppTest, NoDeviceAtAllIsFatalAndOnlyTheFirstFatalErrorShows)
{
    driver.Adapters().clear();
    EXPECT_EQ(App().Startup(&driver), AppErrNoCompatibleDevices);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text, "Could not find any compatible Direct3D\ndevices." + kExitSuffix);
    EXPECT_EQ(host.messages[0].icon, MessageIcon::Error);
    EXPECT_TRUE(state.exiting);
    EXPECT_FALSE(App().active);
    EXPECT_EQ(state.pauseCount, 1);
    EXPECT_EQ(App().direct3d, nullptr);
    EXPECT_EQ(Take(), (Journal{"Message"}));

    EXPECT_EQ(App().ShowError(E_OUTOFMEMORY, ErrorKind::Fatal), E_OUTOFMEMORY);
    EXPECT_EQ(App().ShowError(AppErrNullRefDevice, ErrorKind::Warning), AppErrNullRefDevice);
    EXPECT_EQ(host.messages.size(), 1u);
}

TEST_F(RenderAppTest, MissingDriverOrFailingSceneIsFatal)
{
    EXPECT_EQ(App().Startup(nullptr), AppErrNoDirect3D);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text.rfind("Could not initialize Direct3D.", 0), 0u);

    RenderFrameworkState fresh;
    RecordingHost freshHost;
    std::vector<std::string> journal;
    RecordingApp other(fresh, freshHost, journal);
    other.failures["InitScene"] = E_FAIL;
    EXPECT_EQ(other.Startup(&driver), E_FAIL);
    EXPECT_EQ(journal, (Journal{"InitScene", "Message"}));
    ASSERT_EQ(freshHost.messages.size(), 1u);
    EXPECT_EQ(freshHost.messages[0].text, kGenericError + kExitSuffix);
    EXPECT_FALSE(driver.DeviceAlive());
}

TEST_F(RenderAppTest, NullReferenceDeviceWarnsAndRuns)
{
    for (ScriptedDeviceType& t : driver.Adapters()[0].deviceTypes)
        t.caps.primitiveMiscCaps = D3DPMISCCAPS_NULLREFERENCE;
    ASSERT_EQ(App().Startup(&driver), S_OK);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_EQ(host.messages[0].text,
              "Warning: Nothing will be rendered.\nThe reference rendering device was selected, but your\ncomputer "
              "only has a reduced-functionality reference device\ninstalled.  Install the DirectX SDK to get the "
              "full\nreference device.\n");
    EXPECT_EQ(host.messages[0].icon, MessageIcon::Warning);
    EXPECT_FALSE(state.exiting);
    EXPECT_TRUE(App().active);
}

TEST_F(RenderAppTest, PausesNestAndTimeStandsStillWhilePaused)
{
    ASSERT_EQ(App().Startup(&driver), S_OK);
    Take();
    App().SetPaused(true);
    App().SetPaused(true);
    EXPECT_FALSE(App().active);
    clock.AdvanceMilliseconds(500);
    EXPECT_EQ(App().StepFrame(), S_OK);
    EXPECT_TRUE(Take().empty());
    App().SetPaused(false);
    EXPECT_FALSE(App().active);
    EXPECT_TRUE(state.timer.Stopped());
    App().SetPaused(false);
    EXPECT_TRUE(App().active);
    clock.AdvanceMilliseconds(16);
    EXPECT_EQ(App().StepFrame(), S_OK);
    EXPECT_EQ(Take(), kDrawnFrame);
    EXPECT_FLOAT_EQ(App().elapsedTime, 0.016f);
}
