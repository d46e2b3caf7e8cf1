/*
 * The GL queries the stand-in counts (glGet*v, glIsEnabled, glGetError): on
 * Linux it exports functions of these names, found before libGL's, so that a
 * plug-in's calls come to it; its own code reaches libGL's through these.
 */
#ifndef SIMHOST_GL_QUERIES_H
#define SIMHOST_GL_QUERIES_H

#ifndef _WIN32
#include <GL/gl.h>

#define SIMHOST_HIDDEN __attribute__((visibility("hidden")))

extern "C" {
SIMHOST_HIDDEN void simhost_real_glGetIntegerv(GLenum pname, GLint *data);
SIMHOST_HIDDEN void simhost_real_glGetFloatv(GLenum pname, GLfloat *data);
SIMHOST_HIDDEN void simhost_real_glGetBooleanv(GLenum pname, GLboolean *data);
SIMHOST_HIDDEN void simhost_real_glGetDoublev(GLenum pname, GLdouble *data);
SIMHOST_HIDDEN GLboolean simhost_real_glIsEnabled(GLenum cap);
SIMHOST_HIDDEN GLenum simhost_real_glGetError();
}

#undef SIMHOST_HIDDEN
#endif

#endif
