#include "render/DeviceCatalog.h"
#include "support/ScriptedGraphicsDriver.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace m3d;

namespace {

using F = GraphicsFormat;

HResult AcceptAll(const DeviceCaps&, uint32_t, GraphicsFormat) { return S_OK; }

DeviceCatalog Built(ScriptedGraphicsDriver& driver, const DeviceAcceptanceTest& accept = AcceptAll)
{
    DeviceCatalog catalog;
    EXPECT_EQ(catalog.Build(&driver, accept), S_OK);
    return catalog;
}

std::vector<std::tuple<F, F, bool>> ComboKeys(const DeviceEntry& device)
{
    std::vector<std::tuple<F, F, bool>> keys;
    for (const FormatCombo& c : device.combos) keys.emplace_back(c.adapterFormat, c.backBufferFormat, c.windowed);
    return keys;
}

}  // namespace

TEST(DeviceCatalog, ListsModesDevicesAndCombinationsInOrder)
{
    ScriptedGraphicsDriver driver({MakeScriptedAdapter()});
    const DeviceCatalog catalog = Built(driver);
    ASSERT_EQ(catalog.Adapters().size(), 1u);
    const AdapterEntry& adapter = catalog.Adapters()[0];
    EXPECT_EQ(adapter.identifier.description, "Scripted adapter");

    // 320x240 is dropped; sorted by width, height, format (X8R8G8B8 = 22 before R5G6B5 = 23), refresh.
    std::vector<std::tuple<uint32_t, uint32_t, F, uint32_t>> modes;
    for (const DisplayMode& m : adapter.displayModes) modes.emplace_back(m.width, m.height, m.format, m.refreshRate);
    const std::vector<std::tuple<uint32_t, uint32_t, F, uint32_t>> expectedModes = {
        {640, 480, F::X8R8G8B8, 60},   {640, 480, F::R5G6B5, 60},  {1024, 768, F::X8R8G8B8, 60},
        {1024, 768, F::X8R8G8B8, 75},  {1024, 768, F::R5G6B5, 60}, {1024, 768, F::R5G6B5, 75},
        {1280, 1024, F::X8R8G8B8, 60}, {1280, 1024, F::R5G6B5, 60}};
    EXPECT_EQ(modes, expectedModes);

    // The software type's caps cannot be read, so only HAL and reference remain, in that order.
    ASSERT_EQ(adapter.devices.size(), 2u);
    EXPECT_EQ(adapter.devices[0].deviceType, DeviceType::Hal);
    EXPECT_EQ(adapter.devices[1].deviceType, DeviceType::Reference);

    // Display formats in allowed order, back-buffer formats in their order, full screen before windowed;
    // windowed only on the desktop format.
    const std::vector<std::tuple<F, F, bool>> expectedCombos = {{F::X8R8G8B8, F::A8R8G8B8, false},
                                                                {F::X8R8G8B8, F::A8R8G8B8, true},
                                                                {F::X8R8G8B8, F::X8R8G8B8, false},
                                                                {F::X8R8G8B8, F::X8R8G8B8, true},
                                                                {F::R5G6B5, F::R5G6B5, false}};
    EXPECT_EQ(ComboKeys(adapter.devices[0]), expectedCombos);

    const FormatCombo& windowed = adapter.devices[0].combos[1];
    EXPECT_EQ(windowed.depthStencilFormats, (std::vector<F>{F::D16, F::D24X8, F::D24S8, F::D32}));
    EXPECT_EQ(windowed.multiSampleTypes, (std::vector<uint32_t>{0, 2, 4}));
    EXPECT_EQ(windowed.multiSampleQualities, (std::vector<uint32_t>{1, 4, 2}));
    EXPECT_TRUE(windowed.conflicts.empty());
    // Mixed processing is never offered, although the device could do it.
    EXPECT_EQ(windowed.vertexProcessingTypes,
              (std::vector<VertexProcessing>{VertexProcessing::PureHardware, VertexProcessing::Hardware,
                                             VertexProcessing::Software}));
    // Two, three and four frames per present are full-screen only.
    EXPECT_EQ(windowed.presentIntervals, (std::vector<uint32_t>{D3DPRESENT_INTERVAL_IMMEDIATE,
                                                                D3DPRESENT_INTERVAL_DEFAULT, D3DPRESENT_INTERVAL_ONE}));
    EXPECT_EQ(adapter.devices[0].combos[0].presentIntervals,
              (std::vector<uint32_t>{D3DPRESENT_INTERVAL_IMMEDIATE, D3DPRESENT_INTERVAL_DEFAULT,
                                     D3DPRESENT_INTERVAL_ONE, D3DPRESENT_INTERVAL_TWO}));

    const FormatCombo& reference = adapter.devices[1].combos[1];
    EXPECT_EQ(reference.vertexProcessingTypes,
              (std::vector<VertexProcessing>{VertexProcessing::Hardware, VertexProcessing::Software}));
    EXPECT_EQ(reference.presentIntervals,
              (std::vector<uint32_t>{D3DPRESENT_INTERVAL_DEFAULT, D3DPRESENT_INTERVAL_ONE}));
}

TEST(DeviceCatalog, DesktopInR5G6B5OffersWindowedUseOnlyThere)
{
    ScriptedGraphicsDriver driver({MakeScriptedAdapter(F::R5G6B5)});
    const DeviceCatalog catalog = Built(driver);
    for (const FormatCombo& combo : catalog.Adapters()[0].devices[0].combos)
        if (combo.windowed) {
            EXPECT_EQ(combo.adapterFormat, F::R5G6B5);
            EXPECT_EQ(combo.backBufferFormat, F::R5G6B5);
        }
}

TEST(DeviceCatalog, SmallOrUnusableAdaptersContributeNothing)
{
    ScriptedAdapter small = MakeScriptedAdapter();
    small.modes = {{639, 480, 60, F::X8R8G8B8}, {640, 479, 60, F::X8R8G8B8}, {320, 200, 70, F::R5G6B5}};
    ScriptedAdapter noCaps = MakeScriptedAdapter();
    for (ScriptedDeviceType& t : noCaps.deviceTypes) t.capsReadable = false;
    ScriptedAdapter fine = MakeScriptedAdapter();
    fine.modes = {{640, 480, 60, F::X8R8G8B8}};
    // Only formats the program allows: A8R8G8B8 is no display format.
    fine.modes.push_back({800, 600, 60, F::A8R8G8B8});
    ScriptedGraphicsDriver driver({small, noCaps, fine});
    const DeviceCatalog catalog = Built(driver);
    ASSERT_EQ(catalog.Adapters().size(), 1u);
    EXPECT_EQ(catalog.Adapters()[0].adapterOrdinal, 2u);
    EXPECT_EQ(catalog.Adapters()[0].displayModes.size(), 1u);
}

TEST(DeviceCatalog, DropsCombinationsWithoutDepthMultisampleOrVertexProcessing)
{
    ScriptedAdapter adapter = MakeScriptedAdapter();
    // D16 does not match a 32-bit back buffer; D24S8 cannot be multisampled 4 times.
    adapter.depthMismatches = {{F::A8R8G8B8, F::D16}, {F::X8R8G8B8, F::D16}};
    adapter.depthMultiSampleConflicts = {{F::D24S8, 4}};
    ScriptedGraphicsDriver driver({adapter});
    DeviceCatalog catalog = Built(driver);
    const FormatCombo& x8 = catalog.Adapters()[0].devices[0].combos[0];
    EXPECT_EQ(x8.depthStencilFormats, (std::vector<F>{F::D24X8, F::D24S8, F::D32}));
    ASSERT_EQ(x8.conflicts.size(), 1u);
    EXPECT_EQ(x8.conflicts[0].depthStencilFormat, F::D24S8);
    EXPECT_EQ(x8.conflicts[0].multiSampleType, 4u);
    const FormatCombo& r565 = catalog.Adapters()[0].devices[0].combos.back();
    EXPECT_EQ(r565.depthStencilFormats.front(), F::D16);

    // No depth format at all drops every combination, and with them the devices and the adapter.
    driver.Adapters()[0].depthStencilFormats = {};
    ASSERT_EQ(catalog.Build(&driver, AcceptAll), S_OK);
    EXPECT_TRUE(catalog.Adapters().empty());
    // ... unless the program needs no depth buffer.
    catalog.requirements.usesDepthBuffer = false;
    ASSERT_EQ(catalog.Build(&driver, AcceptAll), S_OK);
    EXPECT_FALSE(catalog.Adapters().empty());
    EXPECT_TRUE(catalog.Adapters()[0].devices[0].combos[0].depthStencilFormats.empty());

    // D15S1 has just the 15 depth bits required.
    driver.Adapters()[0].depthStencilFormats = {F::D15S1};
    catalog.requirements.usesDepthBuffer = true;
    ASSERT_EQ(catalog.Build(&driver, AcceptAll), S_OK);
    EXPECT_EQ(catalog.Adapters()[0].devices[0].combos[0].depthStencilFormats, (std::vector<F>{F::D15S1}));

    // No multisample type at all, not even "none".
    driver.Adapters()[0].depthStencilFormats = {F::D16};
    driver.Adapters()[0].multiSampleTypes = {};
    ASSERT_EQ(catalog.Build(&driver, AcceptAll), S_OK);
    EXPECT_TRUE(catalog.Adapters().empty());
}

TEST(DeviceCatalog, AcceptanceTestSeesEachVertexProcessingCandidate)
{
    ScriptedGraphicsDriver driver({MakeScriptedAdapter()});
    std::vector<uint32_t> asked;
    const auto refuseHardware = [&](const DeviceCaps& caps, uint32_t flags, GraphicsFormat format) {
        if (caps.deviceType == DeviceType::Hal && format == F::X8R8G8B8) asked.push_back(flags);
        return (flags & D3DCREATE_HARDWARE_VERTEXPROCESSING) ? E_FAIL : S_OK;
    };
    const DeviceCatalog catalog = Built(driver, refuseHardware);
    // Asked for the full-screen and the windowed X8R8G8B8 combination, pure first.
    const uint32_t pure = D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_PUREDEVICE;
    EXPECT_EQ(asked,
              (std::vector<uint32_t>{pure, D3DCREATE_HARDWARE_VERTEXPROCESSING, D3DCREATE_SOFTWARE_VERTEXPROCESSING,
                                     pure, D3DCREATE_HARDWARE_VERTEXPROCESSING, D3DCREATE_SOFTWARE_VERTEXPROCESSING}));
    EXPECT_EQ(catalog.Adapters()[0].devices[0].combos[0].vertexProcessingTypes,
              (std::vector<VertexProcessing>{VertexProcessing::Software}));

    // Refusing everything leaves nothing.
    const DeviceCatalog none = Built(driver, [](const DeviceCaps&, uint32_t, GraphicsFormat) { return E_FAIL; });
    EXPECT_TRUE(none.Adapters().empty());
}

TEST(DeviceCatalog, WithoutDriverBuildFails)
{
    DeviceCatalog catalog;
    EXPECT_EQ(catalog.Build(nullptr, AcceptAll), E_FAIL);
    ScriptedGraphicsDriver empty({});
    EXPECT_EQ(catalog.Build(&empty, AcceptAll), S_OK);
    EXPECT_TRUE(catalog.Adapters().empty());
}
