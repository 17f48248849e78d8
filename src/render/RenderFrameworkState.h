#pragma once

#include "render/FrameTimer.h"

namespace m3d {

class CRenderApp;

// What the rendering framework keeps for the whole process: one of these lives
// as long as the program; tests make their own to start afresh.
struct RenderFrameworkState {
    // Nested pause requests; the framework is active only at 0. A new
    // framework object pauses once until its start-up completes.
    int pauseCount = 0;
    // Set by the first fatal error; later errors are no longer shown.
    bool exiting = false;
    // The one framework object (null when none exists).
    CRenderApp* instance = nullptr;
    FrameTimer timer;
};

}  // namespace m3d
