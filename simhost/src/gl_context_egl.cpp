/*
 * The headless context on Linux: EGL on Mesa's surfaceless platform (no
 * display, no window), desktop OpenGL 4.5 (or 3.3) in its compatibility profile.
 * llvmpipe by default; Zink over lavapipe (MESA_LOADER_DRIVER_OVERRIDE=zink)
 * answers the same request with 4.6 compatibility.
 */
#include "gl_context.h"

#include <cstdlib>
#include <string>

#include <EGL/egl.h>
#include <EGL/eglext.h>

#include "gl_api.h"
#include "gl_loader.h"

namespace simhost {
namespace {

class EglContext : public GlContext {
public:
    EglContext(EGLDisplay display, EGLContext context) : display_(display), context_(context) {}
    ~EglContext() override
    {
        eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        eglDestroyContext(display_, context_);
    }
    void make_current() override { eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, context_); }
    std::string description() const override
    {
        const char *version = reinterpret_cast<const char *>(glGetString(GL_VERSION));
        const char *renderer = reinterpret_cast<const char *>(glGetString(GL_RENDERER));
        return std::string(renderer ? renderer : "?") + ", OpenGL " + (version ? version : "?");
    }

private:
    EGLDisplay display_;
    EGLContext context_;
};

std::string egl_error(const char *what)
{
    char buf[96];
    snprintf(buf, sizeof buf, "%s failed (EGL error 0x%x)", what, static_cast<unsigned>(eglGetError()));
    return buf;
}

// The display is initialised once and kept for the life of the process:
// terminating it unloads Mesa's driver, whose allocations would then be
// reported as leaks of an unknown module.
EGLDisplay process_display(std::string *error)
{
    static EGLDisplay display = EGL_NO_DISPLAY;
    if (display != EGL_NO_DISPLAY)
        return display;
    // llvmpipe renders on the calling thread only and Mesa keeps no shader
    // cache thread, so the process's threads are the plug-in's own (unless
    // the environment already says otherwise).
    setenv("LP_NUM_THREADS", "0", 0);
    setenv("MESA_SHADER_CACHE_DISABLE", "true", 0);
    // The vendor drivers most users have hand out a freed texture name again
    // at the next glGenTextures; Mesa does so only when asked (a driconf
    // option, read from the environment). Zink stands for X-Plane's Zink
    // bridge, Mesa as it is, and is left so.
    const char *driver = getenv("MESA_LOADER_DRIVER_OVERRIDE");
    if (driver == nullptr || std::string(driver) != "zink")
        setenv("force_gl_names_reuse", "true", 0);

    auto get_display = reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
    if (get_display == nullptr) {
        *error = "eglGetPlatformDisplayEXT is not available";
        return EGL_NO_DISPLAY;
    }
    EGLDisplay candidate = get_display(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (candidate == EGL_NO_DISPLAY) {
        *error = egl_error("eglGetPlatformDisplayEXT(surfaceless)");
        return EGL_NO_DISPLAY;
    }
    EGLint major = 0, minor = 0;
    if (!eglInitialize(candidate, &major, &minor)) {
        *error = egl_error("eglInitialize");
        return EGL_NO_DISPLAY;
    }
    display = candidate;
    return display;
}

}  // namespace

std::unique_ptr<GlContext> GlContext::create(std::string *error, int version)
{
    if (version != 45 && version != 33) {
        *error = "OpenGL " + std::to_string(version / 10) + "." + std::to_string(version % 10) + " is not offered";
        return nullptr;
    }
    // Mesa offers its highest version whatever is asked, unless told
    // otherwise before its first context; an old driver's 3.3 context has no
    // direct state access either.
    const bool below_45 = version == 33;
    if (below_45) {
        setenv("MESA_GL_VERSION_OVERRIDE", "3.3COMPAT", 1);
        setenv("MESA_GLSL_VERSION_OVERRIDE", "330", 1);
        setenv("MESA_EXTENSION_OVERRIDE", "-GL_ARB_direct_state_access -GL_EXT_direct_state_access", 1);
    }
    set_gl_loader_below_45(below_45);
    EGLDisplay display = process_display(error);
    if (display == EGL_NO_DISPLAY)
        return nullptr;
    if (!eglBindAPI(EGL_OPENGL_API)) {
        *error = egl_error("eglBindAPI(EGL_OPENGL_API)");
        return nullptr;
    }
    const EGLint attributes[] = {
        EGL_CONTEXT_MAJOR_VERSION, below_45 ? 3 : 4,
        EGL_CONTEXT_MINOR_VERSION, below_45 ? 3 : 5,
        EGL_CONTEXT_OPENGL_PROFILE_MASK, EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT,
        EGL_NONE,
    };
    EGLContext context = eglCreateContext(display, EGL_NO_CONFIG_KHR, EGL_NO_CONTEXT, attributes);
    if (context == EGL_NO_CONTEXT) {
        *error = egl_error(below_45 ? "eglCreateContext(OpenGL 3.3 compatibility)"
                                    : "eglCreateContext(OpenGL 4.5 compatibility)");
        return nullptr;
    }
    if (!eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, context)) {
        *error = egl_error("eglMakeCurrent");
        eglDestroyContext(display, context);
        return nullptr;
    }
    // Mesa reads the override once per process: a context made before in
    // this process decided the version.
    const char *made = reinterpret_cast<const char *>(glGetString(GL_VERSION));
    const std::string wanted = below_45 ? "3.3 " : "4.";
    if (made == nullptr || std::string(made).compare(0, wanted.size(), wanted) != 0) {
        *error = std::string("asked for OpenGL ") + (below_45 ? "3.3" : "4.5") + ", the driver made " +
                 (made != nullptr ? made : "none") + " (one version per process)";
        eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        eglDestroyContext(display, context);
        return nullptr;
    }
    return std::make_unique<EglContext>(display, context);
}

}  // namespace simhost
