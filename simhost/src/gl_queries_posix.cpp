/*
 * The counted GL queries (see gl_queries.h): each exported function counts
 * a call made inside the plug-in's callback and forwards to libGL's.
 */
#include "gl_queries.h"

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>

#include "costs.h"

namespace {

// libGL's own function of that name: the next definition after this
// library's, else the one of a GL library already loaded.
void *real_function(const char *name)
{
    void *p = dlsym(RTLD_NEXT, name);
    for (const char *library : {"libOpenGL.so.0", "libGL.so.1"}) {
        if (p != nullptr)
            break;
        if (void *handle = dlopen(library, RTLD_LAZY | RTLD_NOLOAD))
            p = dlsym(handle, name);
    }
    if (p == nullptr) {
        fprintf(stderr, "simhost: no OpenGL library provides %s\n", name);
        std::abort();
    }
    return p;
}

template <typename F>
F real(F *slot, const char *name)
{
    if (*slot == nullptr)
        *slot = reinterpret_cast<F>(real_function(name));
    return *slot;
}

void (*get_integerv)(GLenum, GLint *) = nullptr;
void (*get_floatv)(GLenum, GLfloat *) = nullptr;
void (*get_booleanv)(GLenum, GLboolean *) = nullptr;
void (*get_doublev)(GLenum, GLdouble *) = nullptr;
GLboolean (*is_enabled)(GLenum) = nullptr;
GLenum (*get_error)() = nullptr;

}  // namespace

extern "C" {

void simhost_real_glGetIntegerv(GLenum pname, GLint *data) { real(&get_integerv, "glGetIntegerv")(pname, data); }
void simhost_real_glGetFloatv(GLenum pname, GLfloat *data) { real(&get_floatv, "glGetFloatv")(pname, data); }
void simhost_real_glGetBooleanv(GLenum pname, GLboolean *data) { real(&get_booleanv, "glGetBooleanv")(pname, data); }
void simhost_real_glGetDoublev(GLenum pname, GLdouble *data) { real(&get_doublev, "glGetDoublev")(pname, data); }
GLboolean simhost_real_glIsEnabled(GLenum cap) { return real(&is_enabled, "glIsEnabled")(cap); }
GLenum simhost_real_glGetError() { return real(&get_error, "glGetError")(); }

void GLAPIENTRY glGetIntegerv(GLenum pname, GLint *data)
{
    simhost::count_gl_query();
    simhost_real_glGetIntegerv(pname, data);
}

void GLAPIENTRY glGetFloatv(GLenum pname, GLfloat *data)
{
    simhost::count_gl_query();
    simhost_real_glGetFloatv(pname, data);
}

void GLAPIENTRY glGetBooleanv(GLenum pname, GLboolean *data)
{
    simhost::count_gl_query();
    simhost_real_glGetBooleanv(pname, data);
}

void GLAPIENTRY glGetDoublev(GLenum pname, GLdouble *data)
{
    simhost::count_gl_query();
    simhost_real_glGetDoublev(pname, data);
}

GLboolean GLAPIENTRY glIsEnabled(GLenum cap)
{
    simhost::count_gl_query();
    return simhost_real_glIsEnabled(cap);
}

GLenum GLAPIENTRY glGetError()
{
    simhost::count_gl_error_call();
    return simhost_real_glGetError();
}

}  // extern "C"

namespace simhost {

// The plug-in's references bind through the process's global lookup, as
// this one does: it finds these functions only when this library comes
// before libGL there.
bool gl_queries_counted()
{
    return dlsym(RTLD_DEFAULT, "glGetIntegerv") == reinterpret_cast<void *>(&glGetIntegerv);
}

}  // namespace simhost
