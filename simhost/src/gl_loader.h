/*
 * The GL loader as the plug-in meets it (GLEW asks glXGetProcAddressARB):
 * for a context below OpenGL 4.5 it answers NULL for 4.5's functions, as
 * Windows drivers do for what a context lacks, where Mesa's answers every
 * name. Linux only.
 */
#ifndef SIMHOST_GL_LOADER_H
#define SIMHOST_GL_LOADER_H

namespace simhost {

void set_gl_loader_below_45(bool below);

}  // namespace simhost

#endif
