// The stand-in's count of the plug-in's GL objects, which every leak check
// here relies on, stays right in a long run: the driver numbers new objects
// upwards without reusing freed names, so after thousands of openings the
// live ones sit far above the first few thousand names.
#include <GL/glew.h>
#include <gtest/gtest.h>

#include "reliability_util.h"

namespace {

TEST(LiveCount, ObjectsNamedAfterThousandsOfOthersAreCounted)
{
    // Loaded, the plug-in has loaded GLEW's entry points for the host's context.
    vxr_test::LinkedSim sim;
    for (int i = 0; i < 5000; i++) {
        GLuint tex = 0, fbo = 0;
        glGenTextures(1, &tex);
        glBindTexture(GL_TEXTURE_2D, tex);
        glGenFramebuffers(1, &fbo);
        glBindFramebuffer(GL_FRAMEBUFFER, fbo);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glDeleteFramebuffers(1, &fbo);
        glDeleteTextures(1, &tex);
    }
    GLuint tex = 0, fbo = 0;
    glGenTextures(1, &tex);
    glBindTexture(GL_TEXTURE_2D, tex);
    glGenFramebuffers(1, &fbo);
    glBindFramebuffer(GL_FRAMEBUFFER, fbo);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    ASSERT_GT(tex, 4096u);

    simhost::LiveObjects live = sim.host->live();
    EXPECT_EQ(live.textures, 1);
    EXPECT_EQ(live.framebuffers, 1);
    glDeleteFramebuffers(1, &fbo);
    glDeleteTextures(1, &tex);
    live = sim.host->live();
    EXPECT_EQ(live.textures, 0);
    EXPECT_EQ(live.framebuffers, 0);
}

}  // namespace
