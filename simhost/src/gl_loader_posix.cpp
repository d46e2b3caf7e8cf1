/*
 * The GL loader (see gl_loader.h): the stand-in's library exports
 * glXGetProcAddressARB and glXGetProcAddress, found before libGL's, and
 * forwards every name but OpenGL 4.5's while the context is below 4.5.
 */
#include "gl_loader.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <GL/gl.h>

namespace {

bool below_45 = false;

// The functions OpenGL 4.5 brought: direct state access, clip control,
// texture sub-image reads, robustness, the texture barrier and region
// memory barriers (the names GLEW loads for each).
const char *const gl45_functions[] = {
    "glBindTextureUnit", "glBlitNamedFramebuffer", "glCheckNamedFramebufferStatus", "glClearNamedBufferData",
    "glClearNamedBufferSubData", "glClearNamedFramebufferfi", "glClearNamedFramebufferfv",
    "glClearNamedFramebufferiv", "glClearNamedFramebufferuiv", "glCompressedTextureSubImage1D",
    "glCompressedTextureSubImage2D", "glCompressedTextureSubImage3D", "glCopyNamedBufferSubData",
    "glCopyTextureSubImage1D", "glCopyTextureSubImage2D", "glCopyTextureSubImage3D", "glCreateBuffers",
    "glCreateFramebuffers", "glCreateProgramPipelines", "glCreateQueries", "glCreateRenderbuffers",
    "glCreateSamplers", "glCreateTextures", "glCreateTransformFeedbacks", "glCreateVertexArrays",
    "glDisableVertexArrayAttrib", "glEnableVertexArrayAttrib", "glFlushMappedNamedBufferRange",
    "glGenerateTextureMipmap", "glGetCompressedTextureImage", "glGetNamedBufferParameteri64v",
    "glGetNamedBufferParameteriv", "glGetNamedBufferPointerv", "glGetNamedBufferSubData",
    "glGetNamedFramebufferAttachmentParameteriv", "glGetNamedFramebufferParameteriv",
    "glGetNamedRenderbufferParameteriv", "glGetQueryBufferObjecti64v", "glGetQueryBufferObjectiv",
    "glGetQueryBufferObjectui64v", "glGetQueryBufferObjectuiv", "glGetTextureImage", "glGetTextureLevelParameterfv",
    "glGetTextureLevelParameteriv", "glGetTextureParameterIiv", "glGetTextureParameterIuiv",
    "glGetTextureParameterfv", "glGetTextureParameteriv", "glGetTransformFeedbacki64_v",
    "glGetTransformFeedbacki_v", "glGetTransformFeedbackiv", "glGetVertexArrayIndexed64iv",
    "glGetVertexArrayIndexediv", "glGetVertexArrayiv", "glInvalidateNamedFramebufferData",
    "glInvalidateNamedFramebufferSubData", "glMapNamedBuffer", "glMapNamedBufferRange", "glNamedBufferData",
    "glNamedBufferStorage", "glNamedBufferSubData", "glNamedFramebufferDrawBuffer", "glNamedFramebufferDrawBuffers",
    "glNamedFramebufferParameteri", "glNamedFramebufferReadBuffer", "glNamedFramebufferRenderbuffer",
    "glNamedFramebufferTexture", "glNamedFramebufferTextureLayer", "glNamedRenderbufferStorage",
    "glNamedRenderbufferStorageMultisample", "glTextureBuffer", "glTextureBufferRange", "glTextureParameterIiv",
    "glTextureParameterIuiv", "glTextureParameterf", "glTextureParameterfv", "glTextureParameteri",
    "glTextureParameteriv", "glTextureStorage1D", "glTextureStorage2D", "glTextureStorage2DMultisample",
    "glTextureStorage3D", "glTextureStorage3DMultisample", "glTextureSubImage1D", "glTextureSubImage2D",
    "glTextureSubImage3D", "glTransformFeedbackBufferBase", "glTransformFeedbackBufferRange", "glUnmapNamedBuffer",
    "glVertexArrayAttribBinding", "glVertexArrayAttribFormat", "glVertexArrayAttribIFormat",
    "glVertexArrayAttribLFormat", "glVertexArrayBindingDivisor", "glVertexArrayElementBuffer",
    "glVertexArrayVertexBuffer", "glVertexArrayVertexBuffers", "glClipControl", "glGetTextureSubImage",
    "glGetCompressedTextureSubImage", "glGetGraphicsResetStatus", "glGetnCompressedTexImage", "glGetnTexImage",
    "glGetnUniformdv", "glGetnUniformfv", "glGetnUniformiv", "glGetnUniformuiv", "glReadnPixels",
    "glTextureBarrier", "glMemoryBarrierByRegion",
};

bool lacking(const GLubyte *name)
{
    if (!below_45 || name == nullptr)
        return false;
    for (const char *f : gl45_functions) {
        if (strcmp(f, reinterpret_cast<const char *>(name)) == 0)
            return true;
    }
    return false;
}

typedef void (*gl_function)();
typedef gl_function (*get_proc_address_fn)(const GLubyte *);

// libGL's loader of that name: the next definition after this library's,
// else the one of libGL already loaded (or loaded now).
gl_function real_address(const char *loader, get_proc_address_fn *slot, const GLubyte *name)
{
    if (*slot == nullptr) {
        void *p = dlsym(RTLD_NEXT, loader);
        if (p == nullptr) {
            if (void *handle = dlopen("libGL.so.1", RTLD_LAZY))
                p = dlsym(handle, loader);
        }
        if (p == nullptr) {
            fprintf(stderr, "simhost: no OpenGL library provides %s\n", loader);
            std::abort();
        }
        *slot = reinterpret_cast<get_proc_address_fn>(p);
    }
    return (*slot)(name);
}

get_proc_address_fn real_arb = nullptr;
get_proc_address_fn real_plain = nullptr;

}  // namespace

namespace simhost {

void set_gl_loader_below_45(bool below)
{
    below_45 = below;
}

}  // namespace simhost

extern "C" {

gl_function glXGetProcAddressARB(const GLubyte *name)
{
    return lacking(name) ? nullptr : real_address("glXGetProcAddressARB", &real_arb, name);
}

gl_function glXGetProcAddress(const GLubyte *name)
{
    return lacking(name) ? nullptr : real_address("glXGetProcAddress", &real_plain, name);
}

}  // extern "C"
