/*
 * The OpenGL the stand-in runs on: the driver the run asks for (llvmpipe, or
 * Zink under zink-run.sh, which names it in VXR_GL_RENDERER), in a 4.5 or
 * later compatibility context, named once in the log.
 */
#include "host_fixture.h"

#include <cstdlib>
#include <cstring>

#include <GL/gl.h>
#include <GL/glext.h>

using namespace simhost_test;

TEST_F(HostTest, RunsOnTheAskedRendererInACompatibilityContext)
{
    const char *asked = std::getenv("VXR_GL_RENDERER");
    const std::string expected = asked != nullptr && *asked != '\0' ? asked : "llvmpipe";
    start({}, false);

    const char *renderer = reinterpret_cast<const char *>(glGetString(GL_RENDERER));
    ASSERT_NE(renderer, nullptr);
    EXPECT_EQ(std::string(renderer).rfind(expected, 0), 0u) << renderer;

    GLint major = 0, minor = 0, profile = 0;
    glGetIntegerv(GL_MAJOR_VERSION, &major);
    glGetIntegerv(GL_MINOR_VERSION, &minor);
    glGetIntegerv(GL_CONTEXT_PROFILE_MASK, &profile);
    EXPECT_GE(major * 10 + minor, 45);
    EXPECT_TRUE(profile & GL_CONTEXT_COMPATIBILITY_PROFILE_BIT) << "profile mask " << profile;

    int named = 0;
    for (const auto &line : host->log())
        named += line.rfind("simhost: GL renderer: " + expected, 0) == 0;
    EXPECT_EQ(named, 1);
}
