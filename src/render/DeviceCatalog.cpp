#include "render/DeviceCatalog.h"

#include <algorithm>
#include <new>
#include <tuple>

namespace m3d {

namespace {

const GraphicsFormat kBackBufferFormats[] = {GraphicsFormat::A8R8G8B8,    GraphicsFormat::X8R8G8B8,
                                             GraphicsFormat::A2R10G10B10, GraphicsFormat::R5G6B5,
                                             GraphicsFormat::A1R5G5B5,    GraphicsFormat::X1R5G5B5};
const GraphicsFormat kDepthStencilFormats[] = {GraphicsFormat::D16,   GraphicsFormat::D15S1,   GraphicsFormat::D24X8,
                                               GraphicsFormat::D24S8, GraphicsFormat::D24X4S4, GraphicsFormat::D32};
const DeviceType kDeviceTypes[] = {DeviceType::Hal, DeviceType::Software, DeviceType::Reference};
const uint32_t kPresentIntervals[] = {D3DPRESENT_INTERVAL_IMMEDIATE, D3DPRESENT_INTERVAL_DEFAULT,
                                      D3DPRESENT_INTERVAL_ONE,       D3DPRESENT_INTERVAL_TWO,
                                      D3DPRESENT_INTERVAL_THREE,     D3DPRESENT_INTERVAL_FOUR};
constexpr uint32_t kMaxMultiSampleType = 16;

bool ModeLess(const DisplayMode& a, const DisplayMode& b)
{
    return std::tuple(a.width, a.height, static_cast<uint32_t>(a.format), a.refreshRate) <
           std::tuple(b.width, b.height, static_cast<uint32_t>(b.format), b.refreshRate);
}

}  // namespace

const std::vector<GraphicsFormat>& DeviceCatalog::AllowedAdapterFormats()
{
    static const std::vector<GraphicsFormat> formats = {GraphicsFormat::X8R8G8B8, GraphicsFormat::X1R5G5B5,
                                                        GraphicsFormat::R5G6B5, GraphicsFormat::A2R10G10B10};
    return formats;
}

HResult DeviceCatalog::Build(GraphicsDriver* driver, const DeviceAcceptanceTest& accept)
{
    adapters.clear();
    if (!driver) return E_FAIL;
    try {
        const uint32_t adapterCount = driver->GetAdapterCount();
        for (uint32_t ordinal = 0; ordinal < adapterCount; ++ordinal) {
            AdapterEntry adapter;
            adapter.adapterOrdinal = ordinal;
            driver->GetAdapterIdentifier(ordinal, adapter.identifier);

            std::vector<GraphicsFormat> adapterFormats;
            for (GraphicsFormat format : AllowedAdapterFormats()) {
                for (DisplayMode mode : driver->GetAdapterModes(ordinal, format)) {
                    // Asked for this format, so the mode is in it whatever the driver wrote.
                    mode.format = format;
                    if (mode.width < requirements.minFullscreenWidth ||
                        mode.height < requirements.minFullscreenHeight ||
                        ColourChannelBits(format) < requirements.minColourChannelBits)
                        continue;
                    adapter.displayModes.push_back(mode);
                    if (std::find(adapterFormats.begin(), adapterFormats.end(), format) == adapterFormats.end())
                        adapterFormats.push_back(format);
                }
            }
            std::stable_sort(adapter.displayModes.begin(), adapter.displayModes.end(), ModeLess);

            for (DeviceType type : kDeviceTypes) {
                DeviceEntry device;
                device.adapterOrdinal = ordinal;
                device.deviceType = type;
                if (Failed(driver->GetDeviceCaps(ordinal, type, device.caps))) continue;
                BuildCombos(*driver, accept, adapterFormats, device);
                if (!device.combos.empty()) adapter.devices.push_back(std::move(device));
            }
            if (!adapter.devices.empty()) adapters.push_back(std::move(adapter));
        }
    } catch (const std::bad_alloc&) {
        adapters.clear();
        return E_OUTOFMEMORY;
    }
    return S_OK;
}

void DeviceCatalog::BuildCombos(GraphicsDriver& driver, const DeviceAcceptanceTest& accept,
                                const std::vector<GraphicsFormat>& adapterFormats, DeviceEntry& device) const
{
    for (GraphicsFormat adapterFormat : adapterFormats) {
        for (GraphicsFormat backBufferFormat : kBackBufferFormats) {
            if (AlphaChannelBits(backBufferFormat) < requirements.minAlphaChannelBits) continue;
            for (const bool windowed : {false, true}) {
                if (!windowed && requirements.requiresWindowed) continue;
                if (windowed && requirements.requiresFullscreen) continue;
                if (Failed(driver.CheckDeviceType(device.adapterOrdinal, device.deviceType, adapterFormat,
                                                  backBufferFormat, windowed)))
                    continue;
                FormatCombo combo;
                combo.adapterOrdinal = device.adapterOrdinal;
                combo.deviceType = device.deviceType;
                combo.adapterFormat = adapterFormat;
                combo.backBufferFormat = backBufferFormat;
                combo.windowed = windowed;
                if (requirements.usesDepthBuffer && !FillDepthStencilFormats(driver, combo)) continue;
                if (!FillMultiSampleTypes(driver, combo)) continue;
                FillConflicts(driver, combo);
                if (!FillVertexProcessingTypes(accept, device.caps, combo)) continue;
                FillPresentIntervals(device.caps, combo);
                device.combos.push_back(std::move(combo));
            }
        }
    }
}

bool DeviceCatalog::FillDepthStencilFormats(GraphicsDriver& driver, FormatCombo& combo) const
{
    for (GraphicsFormat format : kDepthStencilFormats) {
        if (DepthBits(format) < requirements.minDepthBits || StencilBits(format) < requirements.minStencilBits)
            continue;
        if (Failed(
                driver.CheckDepthStencilSupport(combo.adapterOrdinal, combo.deviceType, combo.adapterFormat, format)))
            continue;
        if (Failed(driver.CheckDepthStencilMatch(combo.adapterOrdinal, combo.deviceType, combo.adapterFormat,
                                                 combo.backBufferFormat, format)))
            continue;
        combo.depthStencilFormats.push_back(format);
    }
    return !combo.depthStencilFormats.empty();
}

bool DeviceCatalog::FillMultiSampleTypes(GraphicsDriver& driver, FormatCombo& combo) const
{
    for (uint32_t type = D3DMULTISAMPLE_NONE; type <= kMaxMultiSampleType; ++type) {
        uint32_t qualities = 0;
        if (Failed(driver.CheckMultiSampleType(combo.adapterOrdinal, combo.deviceType, combo.backBufferFormat,
                                               combo.windowed, type, &qualities)))
            continue;
        combo.multiSampleTypes.push_back(type);
        combo.multiSampleQualities.push_back(qualities);
    }
    return !combo.multiSampleTypes.empty();
}

void DeviceCatalog::FillConflicts(GraphicsDriver& driver, FormatCombo& combo) const
{
    for (GraphicsFormat depthFormat : combo.depthStencilFormats)
        for (uint32_t type : combo.multiSampleTypes)
            if (Failed(driver.CheckMultiSampleType(combo.adapterOrdinal, combo.deviceType, depthFormat, combo.windowed,
                                                   type, nullptr)))
                combo.conflicts.push_back({depthFormat, type});
}

bool DeviceCatalog::FillVertexProcessingTypes(const DeviceAcceptanceTest& accept, const DeviceCaps& caps,
                                              FormatCombo& combo) const
{
    const bool hardwareTransform = (caps.devCaps & D3DDEVCAPS_HWTRANSFORMANDLIGHT) != 0;
    const bool pure = (caps.devCaps & D3DDEVCAPS_PUREDEVICE) != 0;
    const auto tryType = [&](VertexProcessing type) {
        if (!accept || Succeeded(accept(caps, BehaviourFlagsFor(type), combo.backBufferFormat)))
            combo.vertexProcessingTypes.push_back(type);
    };
    if (hardwareTransform && pure) tryType(VertexProcessing::PureHardware);
    if (hardwareTransform) tryType(VertexProcessing::Hardware);
    if (hardwareTransform && requirements.allowMixedVertexProcessing) tryType(VertexProcessing::Mixed);
    tryType(VertexProcessing::Software);
    return !combo.vertexProcessingTypes.empty();
}

void DeviceCatalog::FillPresentIntervals(const DeviceCaps& caps, FormatCombo& combo) const
{
    for (uint32_t interval : kPresentIntervals) {
        if (combo.windowed && (interval == D3DPRESENT_INTERVAL_TWO || interval == D3DPRESENT_INTERVAL_THREE ||
                               interval == D3DPRESENT_INTERVAL_FOUR))
            continue;
        if (interval == D3DPRESENT_INTERVAL_DEFAULT || (caps.presentationIntervals & interval) != 0)
            combo.presentIntervals.push_back(interval);
    }
}

}  // namespace m3d
