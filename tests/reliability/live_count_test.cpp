// The stand-in's count of the plug-in's GL objects, which every leak check
// here relies on, stays right in a long run: a driver that does not reuse
// freed names (Zink, as X-Plane's bridge has it) numbers new objects upwards,
// so after thousands of openings the live ones sit far above the first few
// thousand names.
#include <GL/glew.h>
#include <vector>

#include <gtest/gtest.h>

#include "reliability_util.h"

namespace {

TEST(LiveCount, ObjectsNamedAfterThousandsOfOthersAreCounted)
{
    // Loaded, the plug-in has loaded GLEW's entry points for the host's context.
    vxr_test::LinkedSim sim;
    // Held alive, so that names are not given out again (drivers that reuse
    // freed names keep the live ones low).
    std::vector<GLuint> textures(5000), framebuffers(5000);
    glGenTextures(5000, textures.data());
    glGenFramebuffers(5000, framebuffers.data());
    for (int i = 0; i < 5000; i++) {
        glBindTexture(GL_TEXTURE_2D, textures[i]);
        glBindFramebuffer(GL_FRAMEBUFFER, framebuffers[i]);
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    GLuint tex = 0, fbo = 0;
    glGenTextures(1, &tex);
    glBindTexture(GL_TEXTURE_2D, tex);
    glGenFramebuffers(1, &fbo);
    glBindFramebuffer(GL_FRAMEBUFFER, fbo);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    ASSERT_GT(tex, 4096u);

    simhost::LiveObjects live = sim.host->live();
    EXPECT_EQ(live.textures, 5001);
    EXPECT_EQ(live.framebuffers, 5001);
    glDeleteFramebuffers(5000, framebuffers.data());
    glDeleteTextures(5000, textures.data());
    live = sim.host->live();
    EXPECT_EQ(live.textures, 1);
    EXPECT_EQ(live.framebuffers, 1);
    glDeleteFramebuffers(1, &fbo);
    glDeleteTextures(1, &tex);
    live = sim.host->live();
    EXPECT_EQ(live.textures, 0);
    EXPECT_EQ(live.framebuffers, 0);
}

}  // namespace
