#pragma once

#include "gl/EglContext.h"
#include "gl/GlRenderDevice.h"
#include "gl/OffscreenTarget.h"

#include <memory>

namespace m3d {

// What a command draws pictures with: its own EGL context (no display), the
// render device in it and a framebuffer of the picture's size. Made before the
// session whose meshes it draws and destroyed after it, so that the meshes
// can hand back their textures and buffers first.
struct OffscreenForCommand {
    std::unique_ptr<EglContext> context;
    GlRenderDevice device;
    std::unique_ptr<OffscreenTarget> target;

    ~OffscreenForCommand();
};

// Makes the context, the device and a width x height framebuffer; prints one
// line naming output and the reason on stderr and gives null when one of them
// cannot be made.
std::unique_ptr<OffscreenForCommand> MakeOffscreenForCommand(const std::string& output, int width, int height);

}  // namespace m3d
