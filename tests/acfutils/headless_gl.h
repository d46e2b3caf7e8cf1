/*
 * A headless OpenGL compatibility context (EGL on Mesa, no display) made
 * current on the calling thread, drawing into a framebuffer object of a
 * given size with a projection of one unit per pixel, origin bottom-left.
 */
#ifndef ACFUTILS_TEST_HEADLESS_GL_H
#define ACFUTILS_TEST_HEADLESS_GL_H

#include <cstdint>
#include <string>

class HeadlessGL {
public:
    HeadlessGL(int w, int h);
    ~HeadlessGL();
    HeadlessGL(const HeadlessGL &) = delete;
    HeadlessGL &operator=(const HeadlessGL &) = delete;

    // Empty when the context and its framebuffer are ready, else what failed.
    const std::string &error() const { return error_; }
    void clear(float r, float g, float b);
    // 0xAARRGGBB of the pixel at (x, y), origin bottom-left.
    uint32_t pixel(int x, int y) const;

private:
    int w_, h_;
    void *display_ = nullptr;
    void *context_ = nullptr;
    unsigned fbo_ = 0, color_ = 0;
    std::string error_;
};

#endif
