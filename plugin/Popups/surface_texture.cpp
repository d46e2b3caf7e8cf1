/*
 * Upload, drawing and release of the textures made from images painted once
 * with cairo; every GL state these change is given back.
 */
#include "surface_texture.h"

#include <XPLMGraphics.h>
#include <acfutils/mt_cairo_render.h>


GLuint surface_texture_upload(cairo_surface_t *surface)
{
    cairo_surface_flush(surface);
    GLint unpack_buffer = 0, row_length = 0, alignment = 4;
    glGetIntegerv(GL_PIXEL_UNPACK_BUFFER_BINDING, &unpack_buffer);
    glGetIntegerv(GL_UNPACK_ROW_LENGTH, &row_length);
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glBindBuffer(GL_PIXEL_UNPACK_BUFFER, 0);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, cairo_image_surface_get_stride(surface) / 4);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    // Named by the simulator; its first bind, on unit 0, makes that unit active.
    int tex = 0;
    XPLMGenerateTextureNumbers(&tex, 1);
    XPLMBindTexture2d(tex, 0);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, cairo_image_surface_get_width(surface),
                 cairo_image_surface_get_height(surface), 0, GL_BGRA, GL_UNSIGNED_BYTE,
                 cairo_image_surface_get_data(surface));
    glPixelStorei(GL_UNPACK_ROW_LENGTH, row_length);
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
    glBindBuffer(GL_PIXEL_UNPACK_BUFFER, static_cast<GLuint>(unpack_buffer));
    return static_cast<GLuint>(tex);
}

void surface_texture_free(GLuint *tex)
{
    if (*tex == 0)
        return;
    XPLMBindTexture2d(0, 0);
    glDeleteTextures(1, tex);
    *tex = 0;
}

void surface_texture_draw(GLuint tex, double left, double bottom, double right, double top)
{
    XPLMSetGraphicsState(0, 1, 0, 0, 1, 0, 0);
    XPLMBindTexture2d(static_cast<int>(tex), 0);
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    mt_cairo_render_quad(left, bottom, right, top);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
}
