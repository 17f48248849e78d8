#pragma once

#include <cstdint>
#include <string>

namespace m3d {

// The vocabulary shared by the rendering framework and a graphics driver. The
// numbers are those of the Direct3D 9 interface the framework was written
// against; sorting display modes by format relies on the format numbers.

enum class GraphicsFormat : uint32_t {
    Unknown = 0,
    R8G8B8 = 20,
    A8R8G8B8 = 21,
    X8R8G8B8 = 22,
    R5G6B5 = 23,
    X1R5G5B5 = 24,
    A1R5G5B5 = 25,
    A4R4G4B4 = 26,
    R3G3B2 = 27,
    A8R3G3B2 = 29,
    X4R4G4B4 = 30,
    A2B10G10R10 = 31,
    A2R10G10B10 = 35,
    D32 = 71,
    D15S1 = 73,
    D24S8 = 75,
    D24X8 = 77,
    D24X4S4 = 79,
    D16 = 80,
};

enum class DeviceType : uint32_t {
    Hal = 1,        // hardware rasterisation
    Reference = 2,  // the slow reference rasteriser
    Software = 3,   // a pluggable software rasteriser
};

// How a device transforms vertices; also the order of preference reversed.
enum class VertexProcessing : uint32_t { Software = 0, Mixed = 1, Hardware = 2, PureHardware = 3 };

// Opaque handle of the window a device presents into (the driver knows its type).
using WindowHandle = void*;

struct DisplayMode {
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t refreshRate = 0;  // Hz, 0 when unknown
    GraphicsFormat format = GraphicsFormat::Unknown;
};

struct AdapterIdentifier {
    std::string driver;
    std::string description;
    std::string deviceName;
    uint32_t vendorId = 0;
    uint32_t deviceId = 0;
};

// Device capability bits the framework reads.
inline constexpr uint32_t D3DDEVCAPS_HWTRANSFORMANDLIGHT = 0x00010000;
inline constexpr uint32_t D3DDEVCAPS_PUREDEVICE = 0x00100000;
inline constexpr uint32_t D3DPMISCCAPS_NULLREFERENCE = 0x00001000;

// Presentation intervals (also the bits of DeviceCaps::presentationIntervals).
inline constexpr uint32_t D3DPRESENT_INTERVAL_DEFAULT = 0x00000000;
inline constexpr uint32_t D3DPRESENT_INTERVAL_ONE = 0x00000001;
inline constexpr uint32_t D3DPRESENT_INTERVAL_TWO = 0x00000002;
inline constexpr uint32_t D3DPRESENT_INTERVAL_THREE = 0x00000004;
inline constexpr uint32_t D3DPRESENT_INTERVAL_FOUR = 0x00000008;
inline constexpr uint32_t D3DPRESENT_INTERVAL_IMMEDIATE = 0x80000000;

struct DeviceCaps {
    DeviceType deviceType = DeviceType::Hal;
    uint32_t adapterOrdinal = 0;
    uint32_t devCaps = 0;                // D3DDEVCAPS_* bits
    uint32_t primitiveMiscCaps = 0;      // D3DPMISCCAPS_* bits
    uint32_t presentationIntervals = 0;  // D3DPRESENT_INTERVAL_* bits the device can honour
};

// Behaviour flags of device creation.
inline constexpr uint32_t D3DCREATE_PUREDEVICE = 0x00000010;
inline constexpr uint32_t D3DCREATE_SOFTWARE_VERTEXPROCESSING = 0x00000020;
inline constexpr uint32_t D3DCREATE_HARDWARE_VERTEXPROCESSING = 0x00000040;
inline constexpr uint32_t D3DCREATE_MIXED_VERTEXPROCESSING = 0x00000080;

// The behaviour flags that request a vertex-processing type.
constexpr uint32_t BehaviourFlagsFor(VertexProcessing type)
{
    switch (type) {
    case VertexProcessing::Software: return D3DCREATE_SOFTWARE_VERTEXPROCESSING;
    case VertexProcessing::Mixed: return D3DCREATE_MIXED_VERTEXPROCESSING;
    case VertexProcessing::Hardware: return D3DCREATE_HARDWARE_VERTEXPROCESSING;
    case VertexProcessing::PureHardware: return D3DCREATE_HARDWARE_VERTEXPROCESSING | D3DCREATE_PUREDEVICE;
    }
    return D3DCREATE_SOFTWARE_VERTEXPROCESSING;
}

inline constexpr uint32_t D3DSWAPEFFECT_DISCARD = 1;
inline constexpr uint32_t D3DPRESENTFLAG_DISCARD_DEPTHSTENCIL = 0x00000002;
inline constexpr uint32_t D3DMULTISAMPLE_NONE = 0;
inline constexpr uint32_t D3DMULTISAMPLE_NONMASKABLE = 1;

// How the device's swap chain is made; given at creation and at every reset.
struct PresentParams {
    uint32_t backBufferWidth = 0;
    uint32_t backBufferHeight = 0;
    GraphicsFormat backBufferFormat = GraphicsFormat::Unknown;
    uint32_t backBufferCount = 0;
    uint32_t multiSampleType = D3DMULTISAMPLE_NONE;  // 0, 1 (non-maskable) or 2..16 samples
    uint32_t multiSampleQuality = 0;
    uint32_t swapEffect = 0;
    WindowHandle deviceWindow = nullptr;
    bool windowed = false;
    bool enableAutoDepthStencil = false;
    GraphicsFormat autoDepthStencilFormat = GraphicsFormat::Unknown;
    uint32_t flags = 0;  // D3DPRESENTFLAG_* bits
    uint32_t fullScreenRefreshRate = 0;
    uint32_t presentationInterval = D3DPRESENT_INTERVAL_DEFAULT;
};

// Size and format of a surface (the back buffer).
struct SurfaceDesc {
    uint32_t width = 0;
    uint32_t height = 0;
    GraphicsFormat format = GraphicsFormat::Unknown;
};

// Bits per colour channel of a display or back-buffer format (0 for formats
// the framework does not know).
uint32_t ColourChannelBits(GraphicsFormat format);
// Alpha bits of a display or back-buffer format.
uint32_t AlphaChannelBits(GraphicsFormat format);
// Depth bits of a depth/stencil format (0 for other formats).
uint32_t DepthBits(GraphicsFormat format);
// Stencil bits of a depth/stencil format (0 for other formats).
uint32_t StencilBits(GraphicsFormat format);

}  // namespace m3d
