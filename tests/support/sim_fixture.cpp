// Temporary simulator-like folders and a host running the linked plug-in.
#include "sim_fixture.h"

#include <filesystem>
#include <stdexcept>

#include <XPLMPlugin.h>

#include "threads.h"

PLUGIN_API int XPluginStart(char *name, char *sig, char *desc);
PLUGIN_API int XPluginEnable(void);
PLUGIN_API void XPluginDisable(void);
PLUGIN_API void XPluginStop(void);
PLUGIN_API void XPluginReceiveMessage(XPLMPluginID from, int msg, void *param);

namespace fs = std::filesystem;

namespace vxr_test {

SimRoot::SimRoot()
{
    fs::copy(VXR_XPLANE_TEMPLATE, root(), fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    fs::remove_all(plugin_dir() + "/settings");
    fs::create_directories(plugin_dir() + "/settings");
    fs::remove(root() + "/Log.txt");
}

std::string SimRoot::plugin_dir() const { return root() + "/Resources/plugins/popups"; }
std::string SimRoot::xpl_path() const { return plugin_dir() + "/lin_x64/vxr_pop.xpl"; }
std::string SimRoot::settings_file() const { return plugin_dir() + "/settings/popups.cfg"; }

simhost::PluginEntryPoints linked_plugin()
{
    simhost::PluginEntryPoints entry;
    entry.start = XPluginStart;
    entry.enable = XPluginEnable;
    entry.disable = XPluginDisable;
    entry.stop = XPluginStop;
    entry.receive = XPluginReceiveMessage;
    return entry;
}

const char pfd_title[] = "VXR G1000 PFD Bezelless";
const char mfd_title[] = "VXR G1000 MFD Bezelless";
const char pfd_cmd[] = "vxr/popup/PFD_NOBEZEL";
const char mfd_cmd[] = "vxr/popup/MFD_NOBEZEL";

std::vector<simhost::Rect> cockpit_monitors()
{
    return {simhost::monitor_rect(1920, 1080, 0, 0), simhost::monitor_rect(1024, 768, 1920, 0),
            simhost::monitor_rect(1024, 768, 2944, 0)};
}

LinkedSim::LinkedSim(std::vector<simhost::Rect> monitors, bool load)
{
    simhost::HostOptions options;
    options.root = root.root();
    options.monitors = std::move(monitors);
    options.echo_log = false;
    host = std::make_unique<simhost::Host>(options);
    if (load && !host->load_linked(linked_plugin(), root.xpl_path()))
        throw std::runtime_error("the linked plug-in did not load");
}

LinkedSim::~LinkedSim()
{
    host.reset();
}

void LinkedSim::load()
{
    if (!host->load_linked(linked_plugin(), root.xpl_path()))
        throw std::runtime_error("the linked plug-in did not load");
}

void LinkedSim::load_with_cfg(const std::string &cfg_text)
{
    write_file(root.settings_file(), cfg_text);
    load();
}

int settled_thread_count(const LinkedSim &sim)
{
    start_and_reap_one_thread();
    return sim.host->live().threads;
}

simhost::LiveObjects live_with_threads(const simhost::Host &host, int threads)
{
    simhost::LiveObjects live;
    settled_count([&] {
        live = host.live();
        return live.threads;
    }, threads);
    return live;
}

simhost::WindowState window_of(const LinkedSim &sim, const std::string &title)
{
    simhost::WindowState state;
    if (!sim.host->window(title, &state))
        throw std::runtime_error("no window " + title);
    return state;
}

void LinkedSim::mark() { mark_ = host->log().size(); }

std::vector<std::string> LinkedSim::log_since_mark() const
{
    const auto &all = host->log();
    return std::vector<std::string>(all.begin() + static_cast<long>(std::min(mark_, all.size())), all.end());
}

bool LinkedSim::logged_in_order(const std::vector<std::string> &texts) const
{
    size_t next = 0;
    for (const auto &line : log_since_mark()) {
        if (next < texts.size() && line.find(texts[next]) != std::string::npos)
            next++;
    }
    return next == texts.size();
}

int LinkedSim::count_logged(const std::string &text) const
{
    int n = 0;
    for (const auto &line : log_since_mark())
        n += line.find(text) != std::string::npos;
    return n;
}

}  // namespace vxr_test
