/*
 * Test support: a fresh simulator-like folder per test (a copy of the built
 * one, with an empty settings folder) and a stand-in host that runs the
 * plug-in linked into the test process, as the simulator would run the .xpl.
 */
#ifndef VXR_TEST_SIM_FIXTURE_H
#define VXR_TEST_SIM_FIXTURE_H

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include <simhost/host.h>

#include "colour.h"
#include "popups_cfg.h"
#include "temp_dir.h"

namespace vxr_test {

// A copy of the built simulator-like folder in a new temporary folder.
class SimRoot {
public:
    SimRoot();
    const std::string &root() const { return dir_.path(); }
    std::string plugin_dir() const;      // .../Resources/plugins/popups
    std::string xpl_path() const;        // .../popups/lin_x64/vxr_pop.xpl
    std::string settings_file() const;   // .../popups/settings/popups.cfg

private:
    TempDir dir_;
};

// The plug-in's own entry points, linked into the test.
simhost::PluginEntryPoints linked_plugin();

extern const char pfd_title[];
extern const char mfd_title[];
extern const char pfd_cmd[];
extern const char mfd_cmd[];

// The home cockpit: a 1920 x 1080 main monitor and two 1024 x 768 display
// units to its right.
std::vector<simhost::Rect> cockpit_monitors();

// A host on a fresh folder with the linked plug-in loaded (started and enabled).
struct LinkedSim {
    explicit LinkedSim(std::vector<simhost::Rect> monitors = {}, bool load = true);
    ~LinkedSim();
    SimRoot root;
    std::unique_ptr<simhost::Host> host;

    // Lines of the log since the last mark(), in order.
    void mark();
    std::vector<std::string> log_since_mark() const;
    // True when the lines containing these texts appear after the mark, in this order.
    bool logged_in_order(const std::vector<std::string> &texts) const;
    int count_logged(const std::string &text) const;

    // Loads (starts and enables) the linked plug-in on a sim made with load = false.
    void load();
    // Writes popups.cfg with this text first.
    void load_with_cfg(const std::string &cfg_text);

private:
    size_t mark_ = 0;
};

// The process's threads, counted once a sanitizer's own background thread
// (started with the first thread the process makes) is there.
int settled_thread_count(const LinkedSim &sim);

// The host's live objects once no more than `threads` threads are counted, or
// as they are after five seconds. Where the stand-in cannot see the GL
// driver's threads start (under a sanitizer whose pthread_create comes first),
// a driver queue leaves the count only by naming itself once it runs: a count
// taken in between is one too high for that moment only.
simhost::LiveObjects live_with_threads(const simhost::Host &host, int threads);

// Cursors are read back from the desktop (an X server named by DISPLAY; the
// tests run on a private Xvfb): without one a test that looks at cursors is
// skipped, as the plug-in then has none to show.
#define VXR_SKIP_WITHOUT_DESKTOP(host)                                                   \
    if (!(host)->has_desktop())                                                       \
    GTEST_SKIP() << "no desktop (DISPLAY not set) to read the cursor from"

// The window's state; throws when no window has that title.
simhost::WindowState window_of(const LinkedSim &sim, const std::string &title);

}  // namespace vxr_test

#endif
