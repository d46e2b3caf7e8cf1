/*
 * The tests' headless GL context: surfaceless EGL with the desktop GL API,
 * the GL functions loaded through the library's GLEW context.
 */
#include "headless_gl.h"

#include <GL/glew.h>
#include <EGL/egl.h>
#include <EGL/eglext.h>

#include <acfutils/glew.h>

HeadlessGL::HeadlessGL(int w, int h) : w_(w), h_(h)
{
    EGLDisplay dpy = eglGetPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
    if (dpy == EGL_NO_DISPLAY || !eglInitialize(dpy, nullptr, nullptr)) {
        error_ = "no surfaceless EGL display";
        return;
    }
    display_ = dpy;
    const EGLint config_attrs[] = {EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_NONE};
    EGLConfig config;
    EGLint n = 0;
    if (!eglBindAPI(EGL_OPENGL_API) || !eglChooseConfig(dpy, config_attrs, &config, 1, &n) || n < 1) {
        error_ = "no EGL config for desktop OpenGL";
        return;
    }
    const EGLint ctx_attrs[] = {EGL_CONTEXT_OPENGL_PROFILE_MASK, EGL_CONTEXT_OPENGL_COMPATIBILITY_PROFILE_BIT, EGL_NONE};
    EGLContext ctx = eglCreateContext(dpy, config, EGL_NO_CONTEXT, ctx_attrs);
    if (ctx == EGL_NO_CONTEXT || !eglMakeCurrent(dpy, EGL_NO_SURFACE, EGL_NO_SURFACE, ctx)) {
        error_ = "cannot make a compatibility context current";
        return;
    }
    context_ = ctx;
    static lacf_glew_ctx_t glew_ctx;
    if (glewContextInit(&glew_ctx) != GLEW_OK) {
        error_ = "GL functions not loaded";
        return;
    }
    glGenTextures(1, &color_);
    glBindTexture(GL_TEXTURE_2D, color_);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, w, h, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glBindTexture(GL_TEXTURE_2D, 0);
    glGenFramebuffers(1, &fbo_);
    glBindFramebuffer(GL_FRAMEBUFFER, fbo_);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, color_, 0);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        error_ = "framebuffer incomplete";
        return;
    }
    glViewport(0, 0, w, h);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0, w, 0, h, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

// The display is left initialised: it lives as long as the process anyway,
// and terminating it makes Mesa drop its compiled-shader caches unfreed.
HeadlessGL::~HeadlessGL()
{
    if (context_ != nullptr) {
        if (fbo_ != 0)
            glDeleteFramebuffers(1, &fbo_);
        if (color_ != 0)
            glDeleteTextures(1, &color_);
        eglMakeCurrent(display_, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
        eglDestroyContext(display_, context_);
    }
}

void HeadlessGL::clear(float r, float g, float b)
{
    glClearColor(r, g, b, 1);
    glClear(GL_COLOR_BUFFER_BIT);
}

uint32_t HeadlessGL::pixel(int x, int y) const
{
    unsigned char rgba[4] = {0, 0, 0, 0};
    glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba);
    return static_cast<uint32_t>(rgba[3]) << 24 | static_cast<uint32_t>(rgba[0]) << 16 |
        static_cast<uint32_t>(rgba[1]) << 8 | rgba[2];
}
