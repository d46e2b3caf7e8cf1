/*
 * The per-thread GLEW context: the slot exists from load, holds a value per
 * thread, and loading succeeds in a headless context and fails loudly with
 * no context current.
 */
#include <acfutils/glew.h>

#include <thread>
#include <EGL/egl.h>
#include <gtest/gtest.h>

#include "headless_gl.h"
#include "test_util.h"

TEST(GlewContext, TheSlotHoldsOneRecordPerThread)
{
    lacf_glew_ctx_t ctx = {};
    EXPECT_EQ(lacf_glew_ctx_get(), nullptr);
    ASSERT_TRUE(lacf_glew_ctx_set(&ctx));
    EXPECT_EQ(lacf_glew_ctx_get(), &ctx);
    lacf_glew_ctx_t *seen_elsewhere = &ctx;
    std::thread([&seen_elsewhere] { seen_elsewhere = lacf_glew_ctx_get(); }).join();
    EXPECT_EQ(seen_elsewhere, nullptr);
    EXPECT_TRUE(lacf_glew_ctx_set(nullptr));
}

TEST(GlewContext, LoadsTheFramebufferFunctionsInAHeadlessContext)
{
    HeadlessGL gl(16, 16);
    ASSERT_EQ(gl.error(), "");
    lacf_glew_ctx_t ctx = {};
    EXPECT_EQ(glewContextInit(&ctx), static_cast<GLenum>(GLEW_OK));
    EXPECT_TRUE(ctx.initialized);
    EXPECT_NE(glBlitFramebuffer, nullptr);
    EXPECT_NE(glCheckFramebufferStatus, nullptr);
}

TEST(GlewContext, FailsLoudlyWithNoContextCurrent)
{
    if (eglGetCurrentContext() != EGL_NO_CONTEXT)
        eglMakeCurrent(eglGetCurrentDisplay(), EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    acf_test::LogCapture log;
    lacf_glew_ctx_t ctx = {};
    EXPECT_NE(glewContextInit(&ctx), static_cast<GLenum>(GLEW_OK));
    EXPECT_FALSE(ctx.initialized);
    EXPECT_EQ(log.count({"OpenGL functions could not be loaded"}), 1);
}
