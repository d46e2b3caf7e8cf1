/*
 * The context on Windows: a hidden window's device context, a legacy context
 * only to reach wglCreateContextAttribsARB, then OpenGL 4.5 in its
 * compatibility profile, with GLEW loading every function past OpenGL 1.1.
 */
#include "gl_context.h"

#include <cstdio>

#include "gl_api.h"

namespace simhost {
namespace {

// From WGL_ARB_create_context and WGL_ARB_create_context_profile.
constexpr int wgl_context_major_version = 0x2091;
constexpr int wgl_context_minor_version = 0x2092;
constexpr int wgl_context_profile_mask = 0x9126;
constexpr int wgl_context_compatibility_profile_bit = 0x0002;
typedef HGLRC(WINAPI *CreateContextAttribsFn)(HDC, HGLRC, const int *);

const char window_class[] = "simhost_gl";

std::string win_error(const char *what)
{
    char buf[96];
    snprintf(buf, sizeof buf, "%s failed (error %lu)", what, static_cast<unsigned long>(GetLastError()));
    return buf;
}

class WglContext : public GlContext {
public:
    WglContext(HWND window, HDC dc, HGLRC context) : window_(window), dc_(dc), context_(context) {}
    ~WglContext() override
    {
        wglMakeCurrent(nullptr, nullptr);
        wglDeleteContext(context_);
        ReleaseDC(window_, dc_);
        DestroyWindow(window_);
    }
    void make_current() override { wglMakeCurrent(dc_, context_); }
    std::string description() const override
    {
        const char *version = reinterpret_cast<const char *>(glGetString(GL_VERSION));
        const char *renderer = reinterpret_cast<const char *>(glGetString(GL_RENDERER));
        return std::string(renderer ? renderer : "?") + ", OpenGL " + (version ? version : "?");
    }

private:
    HWND window_;
    HDC dc_;
    HGLRC context_;
};

bool register_window_class(std::string *error)
{
    static bool registered = false;
    if (registered)
        return true;
    WNDCLASSA wc = {};
    wc.style = CS_OWNDC;
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = window_class;
    if (RegisterClassA(&wc) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        *error = win_error("RegisterClass");
        return false;
    }
    registered = true;
    return true;
}

bool set_pixel_format(HDC dc, std::string *error)
{
    PIXELFORMATDESCRIPTOR pfd = {};
    pfd.nSize = sizeof pfd;
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = 32;
    pfd.cAlphaBits = 8;
    pfd.cDepthBits = 24;
    pfd.cStencilBits = 8;
    pfd.iLayerType = PFD_MAIN_PLANE;
    int format = ChoosePixelFormat(dc, &pfd);
    if (format == 0 || !SetPixelFormat(dc, format, &pfd)) {
        *error = win_error("choosing the window's pixel format");
        return false;
    }
    return true;
}

// The 4.5 compatibility context, made with a temporary legacy one current.
HGLRC create_context(HDC dc, std::string *error)
{
    HGLRC legacy = wglCreateContext(dc);
    if (legacy == nullptr || !wglMakeCurrent(dc, legacy)) {
        *error = win_error("wglCreateContext");
        if (legacy)
            wglDeleteContext(legacy);
        return nullptr;
    }
    auto create_attribs = reinterpret_cast<CreateContextAttribsFn>(
        reinterpret_cast<void (*)()>(wglGetProcAddress("wglCreateContextAttribsARB")));
    HGLRC context = nullptr;
    if (create_attribs == nullptr) {
        *error = "wglCreateContextAttribsARB is not available";
    } else {
        const int attributes[] = {
            wgl_context_major_version, 4,
            wgl_context_minor_version, 5,
            wgl_context_profile_mask, wgl_context_compatibility_profile_bit,
            0,
        };
        context = create_attribs(dc, nullptr, attributes);
        if (context == nullptr)
            *error = win_error("wglCreateContextAttribsARB(OpenGL 4.5 compatibility)");
    }
    wglMakeCurrent(nullptr, nullptr);
    wglDeleteContext(legacy);
    return context;
}

}  // namespace

std::unique_ptr<GlContext> GlContext::create(std::string *error, int version)
{
    if (version != 45) {
        *error = "a context below OpenGL 4.5 is made on Linux only";
        return nullptr;
    }
    if (!register_window_class(error))
        return nullptr;
    HWND window = CreateWindowExA(0, window_class, "simhost", WS_OVERLAPPEDWINDOW | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                                  0, 0, 64, 64, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (window == nullptr) {
        *error = win_error("CreateWindowEx");
        return nullptr;
    }
    HDC dc = GetDC(window);
    HGLRC context = dc && set_pixel_format(dc, error) ? create_context(dc, error) : nullptr;
    if (context == nullptr || !wglMakeCurrent(dc, context)) {
        if (context != nullptr) {
            *error = win_error("wglMakeCurrent");
            wglDeleteContext(context);
        } else if (dc == nullptr) {
            *error = win_error("GetDC");
        }
        if (dc)
            ReleaseDC(window, dc);
        DestroyWindow(window);
        return nullptr;
    }
    auto made = std::make_unique<WglContext>(window, dc, context);
    // GLEW's entry points are the library's own; load them for this context.
    glewExperimental = GL_TRUE;
    GLenum status = glewInit();
    if (status != GLEW_OK || glBlitFramebuffer == nullptr) {
        *error = std::string("glewInit: ") + reinterpret_cast<const char *>(glewGetErrorString(status));
        return nullptr;
    }
    return made;
}

}  // namespace simhost
