#pragma once

#include "io/Outcome.h"

#include <memory>

namespace m3d {

// An OpenGL 3.3 core context of our own, made with EGL on Mesa's surfaceless
// platform: no window system, no X server, no display. It draws only into
// framebuffer objects (OffscreenTarget). Current on the calling thread from
// Create until it is destroyed. Not copyable.
class EglContext {
public:
    // Makes the context and makes it current; fails saying why (no EGL
    // library, no surfaceless platform, no OpenGL 3.3 core) when it cannot.
    static Expected<std::unique_ptr<EglContext>> Create();
    ~EglContext();
    EglContext(const EglContext&) = delete;
    EglContext& operator=(const EglContext&) = delete;

private:
    EglContext() = default;

    void* display = nullptr;
    void* context = nullptr;
    void* surface = nullptr;  // a 1 x 1 pbuffer where the driver cannot go without one
};

}  // namespace m3d
