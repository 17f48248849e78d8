#include "gl/OffscreenTarget.h"

#include <epoxy/gl.h>

#include <cstring>
#include <string>

namespace m3d {

Expected<std::unique_ptr<OffscreenTarget>> OffscreenTarget::Create(int width, int height)
{
    GLint largest = 0;
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &largest);
    if (width < 1 || height < 1 || width > largest || height > largest)
        return Outcome::Failure("a picture of " + std::to_string(width) + " x " + std::to_string(height) +
                                " pixels: this OpenGL draws from 1 x 1 up to " + std::to_string(largest) + " x " +
                                std::to_string(largest));
    std::unique_ptr<OffscreenTarget> target(new OffscreenTarget(width, height));
    glGenFramebuffers(1, &target->framebuffer);
    glGenRenderbuffers(1, &target->colour);
    glGenRenderbuffers(1, &target->depth);
    glBindRenderbuffer(GL_RENDERBUFFER, target->colour);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
    glBindRenderbuffer(GL_RENDERBUFFER, target->depth);
    glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, target->framebuffer);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, target->colour);
    glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, target->depth);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE)
        return Outcome::Failure("OpenGL cannot draw into a framebuffer of " + std::to_string(width) + " x " +
                                std::to_string(height) + " pixels");
    return target;
}

OffscreenTarget::~OffscreenTarget()
{
    glDeleteFramebuffers(1, &framebuffer);
    glDeleteRenderbuffers(1, &colour);
    glDeleteRenderbuffers(1, &depth);
}

void OffscreenTarget::Bind() const
{
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glDrawBuffer(GL_COLOR_ATTACHMENT0);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
}

TextureImage OffscreenTarget::ReadPixels() const
{
    TextureImage image{width, height, std::vector<uint8_t>(size_t(width) * size_t(height) * 4)};
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, image.rgba.data());
    // OpenGL's rows start at the bottom.
    const size_t row = size_t(width) * 4;
    std::vector<uint8_t> swap(row);
    for (int y = 0; y < height / 2; ++y) {
        uint8_t* top = image.rgba.data() + size_t(y) * row;
        uint8_t* bottom = image.rgba.data() + size_t(height - 1 - y) * row;
        std::memcpy(swap.data(), top, row);
        std::memcpy(top, bottom, row);
        std::memcpy(bottom, swap.data(), row);
    }
    return image;
}

}  // namespace m3d
