/*
 * The per-thread GLEW context slot, made when the library loads, and the
 * loading of the GL entry points for the calling thread's context.
 */
#include <acfutils/glew.h>

#include <string>

#include <acfutils/helpers.h>
#include <acfutils/log.h>

#if defined(_WIN32)
DWORD lacf_glew_ctx_key = TLS_OUT_OF_INDEXES;

__attribute__((constructor)) static void make_glew_ctx_key()
{
    lacf_glew_ctx_key = TlsAlloc();
}

// The record the unloading thread keeps (the simulator's main thread, the
// only one that draws) goes with the slot, or every reload would leak one.
__attribute__((destructor)) static void free_glew_ctx_key()
{
    lacf_free(TlsGetValue(lacf_glew_ctx_key));
    TlsFree(lacf_glew_ctx_key);
}
#else
pthread_key_t lacf_glew_ctx_key;

__attribute__((constructor)) static void make_glew_ctx_key()
{
    pthread_key_create(&lacf_glew_ctx_key, nullptr);
}

// A plug-in can be unloaded and loaded again; each load must not use up a
// slot, nor leave behind the record the unloading thread keeps in it (the
// simulator's main thread, the only one that draws).
__attribute__((destructor)) static void free_glew_ctx_key()
{
    lacf_free(pthread_getspecific(lacf_glew_ctx_key));
    pthread_key_delete(lacf_glew_ctx_key);
}
#endif

namespace {

// The framebuffer-object functions the capture needs, by name, missing ones only.
std::string missing_framebuffer_functions()
{
    const struct {
        const char *name;
        const void *fn;
    } required[] = {
        {"glGenFramebuffers", reinterpret_cast<const void *>(glGenFramebuffers)},
        {"glBindFramebuffer", reinterpret_cast<const void *>(glBindFramebuffer)},
        {"glFramebufferTexture2D", reinterpret_cast<const void *>(glFramebufferTexture2D)},
        {"glCheckFramebufferStatus", reinterpret_cast<const void *>(glCheckFramebufferStatus)},
        {"glBlitFramebuffer", reinterpret_cast<const void *>(glBlitFramebuffer)},
        {"glDeleteFramebuffers", reinterpret_cast<const void *>(glDeleteFramebuffers)},
    };
    std::string missing;
    for (const auto &r : required) {
        if (r.fn == nullptr)
            missing += std::string(missing.empty() ? "" : ", ") + r.name;
    }
    return missing;
}

}  // namespace

GLenum glewContextInit(lacf_glew_ctx_t *ctx)
{
    glewExperimental = GL_TRUE;
    GLenum err = glewInit();
    std::string missing = missing_framebuffer_functions();
    // A GLX-built GLEW in an EGL context loads the GL functions, then reports
    // that it found no GLX display; only the GL functions matter here.
    bool loaded = err == GLEW_OK || err == GLEW_ERROR_NO_GLX_DISPLAY;
    if (loaded && missing.empty()) {
        if (ctx != nullptr)
            ctx->initialized = true;
        return GLEW_OK;
    }
    logMsg("OpenGL functions could not be loaded (GLEW: %s); missing: %s",
        reinterpret_cast<const char *>(glewGetErrorString(err)),
        missing.empty() ? "nothing" : missing.c_str());
    return loaded ? GLEW_ERROR_NO_GL_VERSION : err;
}
