/*
 * Texture unit 0 made active for a scope, and the unit found given back when
 * the scope ends: callbacks find the active unit unknown and must leave it as
 * they found it, and X-Plane's texture binding acts on the active unit.
 */
#ifndef VXR_TEXTURE_UNIT_H
#define VXR_TEXTURE_UNIT_H

#include <acfutils/glew.h>

class texture_unit_0_scope {
public:
    texture_unit_0_scope()
    {
        glGetIntegerv(GL_ACTIVE_TEXTURE, &found_);
        glActiveTexture(GL_TEXTURE0);
    }
    ~texture_unit_0_scope() { glActiveTexture(static_cast<GLenum>(found_)); }
    texture_unit_0_scope(const texture_unit_0_scope &) = delete;
    texture_unit_0_scope &operator=(const texture_unit_0_scope &) = delete;

private:
    GLint found_ = GL_TEXTURE0;
};

#endif
