/*
 * XPLMGraphics: fixed-function state and texture binding on the current GL
 * context, through X-Plane's caches while a Host keeps them (they work
 * without a Host too, uncached).
 */
#include <XPLMGraphics.h>

#include "gl_api.h"
#include "gl_state.h"

using simhost::GlHarsh;

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
    // X-Plane skips each part of the vector its cache believes is set already.
    GlHarsh *harsh = GlHarsh::active();
    const bool caching = harsh != nullptr && harsh->caching();
    const int wanted[7] = {inEnableFog != 0,          inNumberTexUnits,           inEnableLighting != 0,
                           inEnableAlphaTesting != 0, inEnableAlphaBlending != 0, inEnableDepthTesting != 0,
                           inEnableDepthWriting != 0};
    int *cached = harsh != nullptr ? harsh->cache().state : nullptr;
    auto due = [&](int i) { return !caching || cached[i] != wanted[i]; };
    if (due(0))
        set_enabled(GL_FOG, inEnableFog);
    if (due(1)) {
        for (int unit = texture_units - 1; unit >= 0; unit--) {
            glActiveTexture(static_cast<GLenum>(GL_TEXTURE0 + unit));
            set_enabled(GL_TEXTURE_2D, unit < inNumberTexUnits);
        }
    }
    if (due(2))
        set_enabled(GL_LIGHTING, inEnableLighting);
    if (due(3))
        set_enabled(GL_ALPHA_TEST, inEnableAlphaTesting);
    if (due(4)) {
        set_enabled(GL_BLEND, inEnableAlphaBlending);
        if (inEnableAlphaBlending)
            glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
    if (due(5))
        set_enabled(GL_DEPTH_TEST, inEnableDepthTesting);
    if (due(6))
        glDepthMask(inEnableDepthWriting ? GL_TRUE : GL_FALSE);
    if (cached != nullptr) {
        for (int i = 0; i < 7; i++)
            cached[i] = wanted[i];
    }
}

XPLM_API void XPLMBindTexture2d(int inTextureNum, int inTextureUnit)
{
    if (inTextureUnit < 0 || inTextureUnit >= texture_units)
        return;
    // The binding is cached across the simulator and every plug-in; a bind
    // the cache believes is in place is skipped, the active unit unchanged.
    GlHarsh *harsh = GlHarsh::active();
    if (harsh != nullptr) {
        int &cached = harsh->cache().texture[inTextureUnit];
        if (harsh->caching() && cached == inTextureNum)
            return;
        cached = inTextureNum;
    }
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
