#pragma once

#include "render/GraphicsTypes.h"

namespace m3d {

// The device the framework chose: indices into the device catalogue and the
// choices made from the combination's lists.
struct DeviceSettings {
    bool windowed = true;
    int adapterIndex = -1;    // into DeviceCatalog::Adapters(); -1 before a choice
    int deviceIndex = -1;     // into that adapter's devices
    int comboIndex = -1;      // into that device's combos
    DisplayMode displayMode;  // the desktop mode
    GraphicsFormat depthStencilFormat = GraphicsFormat::Unknown;
    uint32_t multiSampleType = D3DMULTISAMPLE_NONE;
    uint32_t multiSampleQuality = 0;
    VertexProcessing vertexProcessing = VertexProcessing::Software;
    uint32_t presentInterval = D3DPRESENT_INTERVAL_DEFAULT;
    uint32_t windowWidth = 0;
    uint32_t windowHeight = 0;
};

}  // namespace m3d
