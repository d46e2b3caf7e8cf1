/*
 * The threads the GL driver starts (Mesa's work queues, Zink's and
 * lavapipe's helpers), told apart from everybody else's by where they were
 * started from, so that a count of the plug-in's threads leaves them out.
 */
#ifndef SIMHOST_DRIVER_THREADS_H
#define SIMHOST_DRIVER_THREADS_H

namespace simhost {

// True while the thread with this kernel id, started by the GL or Vulkan
// driver, runs.
bool started_by_gl_driver(long tid);

}  // namespace simhost

#endif
