/*
 * One scene run by one role in this process: a fresh copy of the built
 * simulator-like folder, a host on it with the plug-in (linked in) or the
 * reference loaded, run up to its steady state; then blocks of measured
 * frames, and for the plug-in the opening of its PFD window.
 */
#ifndef VXR_BENCH_SESSION_H
#define VXR_BENCH_SESSION_H

#include <memory>
#include <string>

#include <cairo.h>
#include <simhost/host.h>

#include "protocol.h"

struct capture_region;

namespace bench {

class Session {
public:
    explicit Session(Role role);
    ~Session();
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    // A host for the scene, run until both windows show the live picture; once
    // per process. False, with the reason in reply->error, when that fails.
    bool setup(const Scene &scene, Reply *reply);
    // Frames with the callbacks timed, their allocations and copies counted.
    void run(int frames, Reply *reply);
    // Frames with nothing measured.
    void run_quietly(int frames);
    // Plug-in only: times steady frames, closes the PFD window, then opens it
    // and times the first frame that shows it; also one cairo paint of the
    // overlay image.
    bool open(Reply *reply);
    // Plug-in only, and last: closes both displays and counts the callbacks
    // of frames with nothing shown, then times the PFD's show/hide command
    // over toggles.
    bool hosting(Reply *reply);

private:
    bool windows_shown() const;
    bool steady() const;
    int captures(int display) const;
    const capture_region &plugin_region(int display) const;
    void sample_markers(Reply *reply) const;
    void close_host();

    Role role_;
    Scene scene_;
    std::string root_;
    std::unique_ptr<simhost::Host> host_;
    cairo_surface_t *overlay_image_ = nullptr;
    double enable_ms_ = 0;   // XPluginEnable at the load
};

// Serves requests read from in_fd until a quit request; 0 on a clean end.
int serve(Role role, int in_fd, int out_fd);

bool read_full(int fd, void *data, size_t size);
bool write_full(int fd, const void *data, size_t size);

}  // namespace bench

#endif
