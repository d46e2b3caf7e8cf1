/*
 * XPLMGraphics: fixed-function state and texture binding on the current GL
 * context (they work with or without a Host).
 */
#include <XPLMGraphics.h>

#include "gl_api.h"

namespace {

constexpr int texture_units = 4;

void set_enabled(GLenum capability, int on)
{
    if (on)
        glEnable(capability);
    else
        glDisable(capability);
}

}  // namespace

XPLM_API void XPLMSetGraphicsState(int inEnableFog, int inNumberTexUnits, int inEnableLighting, int inEnableAlphaTesting,
                                   int inEnableAlphaBlending, int inEnableDepthTesting, int inEnableDepthWriting)
{
    set_enabled(GL_FOG, inEnableFog);
    for (int unit = texture_units - 1; unit >= 0; unit--) {
        glActiveTexture(static_cast<GLenum>(GL_TEXTURE0 + unit));
        set_enabled(GL_TEXTURE_2D, unit < inNumberTexUnits);
    }
    set_enabled(GL_LIGHTING, inEnableLighting);
    set_enabled(GL_ALPHA_TEST, inEnableAlphaTesting);
    set_enabled(GL_BLEND, inEnableAlphaBlending);
    if (inEnableAlphaBlending)
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    set_enabled(GL_DEPTH_TEST, inEnableDepthTesting);
    glDepthMask(inEnableDepthWriting ? GL_TRUE : GL_FALSE);
}

XPLM_API void XPLMBindTexture2d(int inTextureNum, int inTextureUnit)
{
    if (inTextureUnit < 0 || inTextureUnit >= texture_units)
        return;
    glActiveTexture(static_cast<GLenum>(GL_TEXTURE0 + inTextureUnit));
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(inTextureNum));
}

XPLM_API void XPLMGenerateTextureNumbers(int *outTextureIDs, int inCount)
{
    if (outTextureIDs == nullptr || inCount <= 0)
        return;
    for (int i = 0; i < inCount; i++) {
        GLuint name = 0;
        glGenTextures(1, &name);
        outTextureIDs[i] = static_cast<int>(name);
    }
}
