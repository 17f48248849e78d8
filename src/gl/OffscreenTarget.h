#pragma once

#include "io/Outcome.h"
#include "records/TextureImage.h"

#include <memory>

namespace m3d {

// A framebuffer object of any size with an 8-bit RGBA colour and a 24-bit
// depth renderbuffer, in the current OpenGL context. Not copyable.
class OffscreenTarget {
public:
    // Makes the framebuffer (width and height 1 ... the context's largest
    // renderbuffer); fails saying why.
    static Expected<std::unique_ptr<OffscreenTarget>> Create(int width, int height);
    ~OffscreenTarget();
    OffscreenTarget(const OffscreenTarget&) = delete;
    OffscreenTarget& operator=(const OffscreenTarget&) = delete;

    int Width() const { return width; }
    int Height() const { return height; }
    // Makes it the target of drawing (and of reading).
    void Bind() const;
    // Waits for the drawing and reads the colour back: RGBA, top row first,
    // alpha as drawn.
    TextureImage ReadPixels() const;

private:
    OffscreenTarget(int w, int h) : width(w), height(h) {}

    int width = 0;
    int height = 0;
    unsigned framebuffer = 0;
    unsigned colour = 0;
    unsigned depth = 0;
};

}  // namespace m3d
