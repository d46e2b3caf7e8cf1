/*
 * The OpenGL declarations the stand-in draws with: a compatibility context,
 * so fixed-function state and immediate mode sit beside framebuffer objects.
 * Every file of the library reaches OpenGL through this header.
 */
#ifndef SIMHOST_GL_API_H
#define SIMHOST_GL_API_H

#define GL_GLEXT_PROTOTYPES 1
#include <GL/gl.h>
#include <GL/glext.h>

#endif
