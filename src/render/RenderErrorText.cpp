#include "render/RenderErrorText.h"

namespace m3d {

std::string RenderErrorMessage(HResult code)
{
    switch (code) {
    case AppErrNoDirect3D:
        return "Could not initialize Direct3D. You may\nwant to check that the latest version of\nDirectX is "
               "correctly installed on your\nsystem.  Also make sure that this program\nwas compiled with header "
               "files that match\nthe installed DirectX DLLs.";
    case AppErrNoCompatibleDevices: return "Could not find any compatible Direct3D\ndevices.";
    case AppErrNonZeroRefCount:
        return "A D3D object has a non-zero reference\ncount (meaning things were not properly\ncleaned up).";
    case AppErrNullRefDevice:
        return "Warning: Nothing will be rendered.\nThe reference rendering device was selected, but your\n"
               "computer only has a reduced-functionality reference device\ninstalled.  Install the DirectX SDK to "
               "get the full\nreference device.\n";
    case E_OUTOFMEMORY: return "Not enough memory.";
    case D3DERR_OUTOFVIDEOMEMORY: return "Not enough video memory.";
    default: return "Generic application error. Enable\ndebug output for detailed information.";
    }
}

std::string RenderErrorText(HResult code, ErrorKind kind)
{
    std::string text = RenderErrorMessage(code);
    switch (kind) {
    case ErrorKind::Fatal: text += "\n\nThis sample will now exit."; break;
    case ErrorKind::SwitchedToReference:
        text +=
            "\n\nSwitching to the reference rasterizer,\na software device that implements the entire\n"
            "Direct3D feature set, but runs very slowly.";
        break;
    case ErrorKind::Warning: break;
    }
    return text;
}

}  // namespace m3d
