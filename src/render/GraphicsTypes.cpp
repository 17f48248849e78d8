#include "render/GraphicsTypes.h"

namespace m3d {

uint32_t ColourChannelBits(GraphicsFormat format)
{
    switch (format) {
    case GraphicsFormat::R8G8B8:
    case GraphicsFormat::A8R8G8B8:
    case GraphicsFormat::X8R8G8B8: return 8;
    case GraphicsFormat::R5G6B5:
    case GraphicsFormat::X1R5G5B5:
    case GraphicsFormat::A1R5G5B5: return 5;
    case GraphicsFormat::A4R4G4B4:
    case GraphicsFormat::X4R4G4B4: return 4;
    case GraphicsFormat::R3G3B2:
    case GraphicsFormat::A8R3G3B2: return 2;
    case GraphicsFormat::A2B10G10R10:
    case GraphicsFormat::A2R10G10B10: return 10;
    default: return 0;
    }
}

uint32_t AlphaChannelBits(GraphicsFormat format)
{
    switch (format) {
    case GraphicsFormat::A8R8G8B8:
    case GraphicsFormat::A8R3G3B2: return 8;
    case GraphicsFormat::A1R5G5B5: return 1;
    case GraphicsFormat::A4R4G4B4: return 4;
    case GraphicsFormat::A2B10G10R10:
    case GraphicsFormat::A2R10G10B10: return 2;
    default: return 0;
    }
}

uint32_t DepthBits(GraphicsFormat format)
{
    switch (format) {
    case GraphicsFormat::D16: return 16;
    case GraphicsFormat::D15S1: return 15;
    case GraphicsFormat::D24X8:
    case GraphicsFormat::D24S8:
    case GraphicsFormat::D24X4S4: return 24;
    case GraphicsFormat::D32: return 32;
    default: return 0;
    }
}

uint32_t StencilBits(GraphicsFormat format)
{
    switch (format) {
    case GraphicsFormat::D15S1: return 1;
    case GraphicsFormat::D24S8: return 8;
    case GraphicsFormat::D24X4S4: return 4;
    default: return 0;
    }
}

}  // namespace m3d
