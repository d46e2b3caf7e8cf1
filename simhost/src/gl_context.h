/*
 * The headless OpenGL context the whole stand-in draws with: one per Host,
 * current on the thread that made it. Each platform has its own source file.
 */
#ifndef SIMHOST_GL_CONTEXT_H
#define SIMHOST_GL_CONTEXT_H

#include <memory>
#include <string>

namespace simhost {

class GlContext {
public:
    // An OpenGL compatibility context made current on this thread, or
    // nullptr with the reason in *error. Version 45: OpenGL 4.5; 33: OpenGL
    // 3.3 without direct state access, the GL loader answering NULL for 4.5's
    // functions (Linux only).
    static std::unique_ptr<GlContext> create(std::string *error, int version = 45);
    virtual ~GlContext() = default;
    virtual void make_current() = 0;
    // "renderer, OpenGL version" as the driver names them, for the log.
    virtual std::string description() const = 0;
};

}  // namespace simhost

#endif
