#pragma once

#include "render/GraphicsTypes.h"

#include <string>

namespace m3d {

enum class MessageIcon { Error, Warning };

struct ClientRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
};

// The window side of the rendering framework, supplied by the program: the
// framework itself never opens a window.
class RenderAppHost {
public:
    virtual ~RenderAppHost() = default;
    // Shows a message box without an owner window and returns when it closes.
    virtual void ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon) = 0;
    // The client area of window in its own pixels; empty when unknown.
    virtual ClientRect GetClientRect(WindowHandle window) = 0;
};

}  // namespace m3d
