#pragma once

#include "render/GraphicsDriver.h"

#include <functional>
#include <vector>

namespace m3d {

// A depth/stencil format that cannot be combined with a multisample type.
struct DepthMultiSampleConflict {
    GraphicsFormat depthStencilFormat = GraphicsFormat::Unknown;
    uint32_t multiSampleType = 0;
};

// One usable pairing of display format, back-buffer format and windowed or
// full-screen use on a device type, with everything that goes with it. Every
// list holds at least one entry and its first entry is the preferred one.
struct FormatCombo {
    uint32_t adapterOrdinal = 0;
    DeviceType deviceType = DeviceType::Hal;
    GraphicsFormat adapterFormat = GraphicsFormat::Unknown;
    GraphicsFormat backBufferFormat = GraphicsFormat::Unknown;
    bool windowed = false;
    std::vector<GraphicsFormat> depthStencilFormats;  // empty only when no depth buffer is used
    std::vector<uint32_t> multiSampleTypes;
    std::vector<uint32_t> multiSampleQualities;  // quality count of multiSampleTypes[i]
    std::vector<DepthMultiSampleConflict> conflicts;
    std::vector<VertexProcessing> vertexProcessingTypes;
    std::vector<uint32_t> presentIntervals;
};

struct DeviceEntry {
    uint32_t adapterOrdinal = 0;
    DeviceType deviceType = DeviceType::Hal;
    DeviceCaps caps;
    std::vector<FormatCombo> combos;  // never empty
};

struct AdapterEntry {
    uint32_t adapterOrdinal = 0;
    AdapterIdentifier identifier;
    std::vector<DisplayMode> displayModes;  // sorted by width, height, format, refresh rate
    std::vector<DeviceEntry> devices;       // never empty
};

// What a device must offer to enter the catalogue.
struct CatalogRequirements {
    uint32_t minFullscreenWidth = 640;
    uint32_t minFullscreenHeight = 480;
    uint32_t minColourChannelBits = 5;
    uint32_t minAlphaChannelBits = 0;
    uint32_t minDepthBits = 15;
    uint32_t minStencilBits = 0;
    bool usesDepthBuffer = true;
    bool allowMixedVertexProcessing = false;
    bool requiresWindowed = false;
    bool requiresFullscreen = false;
};

// The program's say over each candidate: caps of the device, the behaviour
// flags of a vertex-processing type and the back-buffer format. A success code
// accepts.
using DeviceAcceptanceTest =
    std::function<HResult(const DeviceCaps& caps, uint32_t behaviourFlags, GraphicsFormat backBufferFormat)>;

// Everything the graphics driver offers that the program could use, in order of
// preference: adapters by ordinal, device types HAL, software, reference.
class DeviceCatalog {
public:
    CatalogRequirements requirements;

    // Display formats an adapter may be in, in order of preference.
    static const std::vector<GraphicsFormat>& AllowedAdapterFormats();

    // Asks driver for everything and rebuilds the catalogue. Returns E_FAIL
    // without a driver, E_OUTOFMEMORY when memory runs out, S_OK otherwise,
    // even when nothing passed the filters (the catalogue is then empty).
    HResult Build(GraphicsDriver* driver, const DeviceAcceptanceTest& accept);

    const std::vector<AdapterEntry>& Adapters() const { return adapters; }

private:
    void BuildCombos(GraphicsDriver& driver, const DeviceAcceptanceTest& accept,
                     const std::vector<GraphicsFormat>& adapterFormats, DeviceEntry& device) const;
    // The parts of a combination; each returns false when its list is empty
    // and the combination must be dropped.
    bool FillDepthStencilFormats(GraphicsDriver& driver, FormatCombo& combo) const;
    bool FillMultiSampleTypes(GraphicsDriver& driver, FormatCombo& combo) const;
    void FillConflicts(GraphicsDriver& driver, FormatCombo& combo) const;
    bool FillVertexProcessingTypes(const DeviceAcceptanceTest& accept, const DeviceCaps& caps,
                                   FormatCombo& combo) const;
    void FillPresentIntervals(const DeviceCaps& caps, FormatCombo& combo) const;

    std::vector<AdapterEntry> adapters;
};

}  // namespace m3d
