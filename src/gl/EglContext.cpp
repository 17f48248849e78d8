#include "gl/EglContext.h"

#include <epoxy/egl.h>

#include <dlfcn.h>

#include <cstdio>
#include <string>

namespace m3d {

namespace {

std::string EglErrorText(const char* step)
{
    char code[16];
    std::snprintf(code, sizeof code, "0x%04X", unsigned(eglGetError()));
    return std::string("cannot make an OpenGL context without a display: ") + step + " failed (EGL error " + code + ")";
}

}  // namespace

Expected<std::unique_ptr<EglContext>> EglContext::Create()
{
    // libepoxy aborts when it cannot load EGL; look for it first so that a
    // machine without it gets a message instead.
    if (dlopen("libEGL.so.1", RTLD_LAZY | RTLD_GLOBAL) == nullptr)
        return Outcome::Failure(
            "cannot make an OpenGL context without a display: the EGL library (libEGL.so.1) "
            "is not installed");
    if (!epoxy_has_egl_extension(EGL_NO_DISPLAY, "EGL_MESA_platform_surfaceless") ||
        !epoxy_has_egl_extension(EGL_NO_DISPLAY, "EGL_EXT_platform_base"))
        return Outcome::Failure(
            "cannot make an OpenGL context without a display: EGL has no surfaceless platform "
            "(Mesa's EGL_MESA_platform_surfaceless)");
    std::unique_ptr<EglContext> made(new EglContext);
    EGLDisplay display = eglGetPlatformDisplayEXT(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (display == EGL_NO_DISPLAY) return Outcome::Failure(EglErrorText("eglGetPlatformDisplay"));
    EGLint major = 0, minor = 0;
    if (!eglInitialize(display, &major, &minor)) return Outcome::Failure(EglErrorText("eglInitialize"));
    made->display = display;
    if (!eglBindAPI(EGL_OPENGL_API)) return Outcome::Failure(EglErrorText("eglBindAPI(OpenGL)"));

    // A pbuffer-capable configuration where there is one; none where the
    // driver makes contexts without (the framebuffer object has its own formats).
    const EGLint configAttributes[] = {EGL_SURFACE_TYPE,
                                       EGL_PBUFFER_BIT,
                                       EGL_RENDERABLE_TYPE,
                                       EGL_OPENGL_BIT,
                                       EGL_RED_SIZE,
                                       8,
                                       EGL_GREEN_SIZE,
                                       8,
                                       EGL_BLUE_SIZE,
                                       8,
                                       EGL_NONE};
    EGLConfig config = nullptr;
    EGLint configCount = 0;
    const bool haveConfig = eglChooseConfig(display, configAttributes, &config, 1, &configCount) && configCount > 0;
    const bool noConfig = epoxy_has_egl_extension(display, "EGL_KHR_no_config_context") ||
                          epoxy_has_egl_extension(display, "EGL_MESA_configless_context");
    if (!haveConfig && !noConfig)
        return Outcome::Failure(
            "cannot make an OpenGL context without a display: EGL offers no configuration for "
            "OpenGL pbuffers");
    const EGLint contextAttributes[] = {
        EGL_CONTEXT_MAJOR_VERSION,           3,       EGL_CONTEXT_MINOR_VERSION, 3, EGL_CONTEXT_OPENGL_PROFILE_MASK,
        EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT, EGL_NONE};
    EGLContext context =
        eglCreateContext(display, haveConfig ? config : EGL_NO_CONFIG_KHR, EGL_NO_CONTEXT, contextAttributes);
    if (context == EGL_NO_CONTEXT) return Outcome::Failure(EglErrorText("eglCreateContext(OpenGL 3.3 core)"));
    made->context = context;
    EGLSurface surface = EGL_NO_SURFACE;
    if (!epoxy_has_egl_extension(display, "EGL_KHR_surfaceless_context")) {
        if (!haveConfig)
            return Outcome::Failure(
                "cannot make an OpenGL context without a display: EGL can make it current "
                "neither without a surface nor with a pbuffer");
        const EGLint pbufferAttributes[] = {EGL_WIDTH, 1, EGL_HEIGHT, 1, EGL_NONE};
        surface = eglCreatePbufferSurface(display, config, pbufferAttributes);
        if (surface == EGL_NO_SURFACE) return Outcome::Failure(EglErrorText("eglCreatePbufferSurface"));
        made->surface = surface;
    }
    if (!eglMakeCurrent(display, surface, surface, context)) return Outcome::Failure(EglErrorText("eglMakeCurrent"));
    return made;
}

EglContext::~EglContext()
{
    if (display == nullptr) return;
    eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (surface != nullptr) eglDestroySurface(display, surface);
    if (context != nullptr) eglDestroyContext(display, context);
    // The display stays initialised until the process ends: terminating it
    // unloads the driver, and the driver's one-time allocations would then
    // be reported by the leak checker against a module it no longer knows.
}

}  // namespace m3d
