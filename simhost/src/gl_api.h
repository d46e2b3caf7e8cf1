/*
 * The OpenGL declarations the stand-in draws with: a compatibility context,
 * so fixed-function state and immediate mode sit beside framebuffer objects.
 * Every file of the library reaches OpenGL through this header.
 */
#ifndef SIMHOST_GL_API_H
#define SIMHOST_GL_API_H

#ifdef _WIN32
// opengl32.dll has only OpenGL 1.1: GLEW (static) loads the rest once the
// context is made.
#include <windows.h>
#include <GL/glew.h>
// 16-bit pointer qualifiers <windows.h> still defines, as empty macros, under
// names the drawing code uses for distances.
#undef far
#undef near
#else
#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>
// The stand-in exports the GL queries to count the plug-in's calls
// (gl_queries.h); its own go straight to libGL's, uncounted.
#include "gl_queries.h"
#define glGetIntegerv simhost_real_glGetIntegerv
#define glGetFloatv simhost_real_glGetFloatv
#define glGetBooleanv simhost_real_glGetBooleanv
#define glGetDoublev simhost_real_glGetDoublev
#define glIsEnabled simhost_real_glIsEnabled
#define glGetError simhost_real_glGetError
#endif

#endif
