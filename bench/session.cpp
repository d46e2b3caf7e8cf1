/*
 * A benchmark session (see session.h).
 */
#include "session.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include <unistd.h>

#include <GL/gl.h>
#include <XPLMPlugin.h>

#include "Capture/capture_clock.h"
#include "Capture/panel_source.h"
#include "Capture/stock_device_source.h"
#include "alloc_count.h"
#include "probe.h"
#include "reference_plugin.h"

PLUGIN_API int XPluginStart(char *name, char *sig, char *desc);
PLUGIN_API int XPluginEnable(void);
PLUGIN_API void XPluginDisable(void);
PLUGIN_API void XPluginStop(void);
PLUGIN_API void XPluginReceiveMessage(XPLMPluginID from, int msg, void *param);

namespace fs = std::filesystem;

namespace bench {
namespace {

using vxr_test::AllocCounts;
using vxr_test::alloc_counts;

using Clock = std::chrono::steady_clock;

const char *const pfd_title = "VXR G1000 PFD Bezelless";
const char *const mfd_title = "VXR G1000 MFD Bezelless";
// The four-screen scene's two others, full screen on units 2 and 3.
const char *const extra_titles[2] = {"VXR G1000 Copilot PFD Bezelless", "VXR GNS 530 (pilot) Bezelless"};
const char *const pfd_command = "vxr/popup/PFD_NOBEZEL";
const char *const mfd_command = "vxr/popup/MFD_NOBEZEL";
constexpr int closed_frames = 60;
constexpr int toggle_samples = 50;   // even: the PFD ends as it started
// The MFD's pop-out rectangle, over the main monitor.
constexpr int mfd_x = 200, mfd_y = 150, mfd_w = 1024, mfd_h = 768;
constexpr int longest_start_up = 200;   // frames; the plug-in opens its windows at frame 50
constexpr int settle_frames = 8;

// The capture clock of both plug-ins: the host's simulated time.
const simhost::Host *clock_host = nullptr;
uint64_t clock_rate = 60;

uint64_t simulated_us() { return clock_host->frame_count() * 1000000ull / clock_rate; }

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

std::string plugin_dir(const std::string &root) { return root + "/Resources/plugins/popups"; }

void write_settings(const std::string &root, const Scene &scene)
{
    std::ofstream out(plugin_dir(root) + "/settings/popups.cfg", std::ios::trunc);
    if (scene.screens == 4) {
        out << "pfd_nbzl_popup_at_start = 2\npfd_nbzl_monitor_start = 1\n"
            << "pfd2_nbzl_popup_at_start = 2\npfd2_nbzl_monitor_start = 2\n"
            << "gns530_1_nbzl_popup_at_start = 2\ngns530_1_nbzl_monitor_start = 3\n"
            << "mfd_nbzl_popup_at_start = 2\nmfd_nbzl_monitor_start = 4\n";
        return;
    }
    out << "pfd_nbzl_popup_at_start = 2\n"
        << "pfd_nbzl_monitor_start = 1\n"
        << "mfd_nbzl_popup_at_start = " << (scene.mfd != 0 ? 1 : 0) << "\n"
        << "mfd_nbzl_monitor_start = -1\n"
        << "mfd_nbzl_x = " << mfd_x << "\nmfd_nbzl_y = " << mfd_y << "\n"
        << "mfd_nbzl_w = " << mfd_w << "\nmfd_nbzl_h = " << mfd_h << "\n";
}

void fail(Reply *reply, const std::string &why) { snprintf(reply->error, sizeof reply->error, "%s", why.c_str()); }

double paint_overlay_once(cairo_surface_t *image)
{
    Clock::time_point t0 = Clock::now();
    cairo_surface_t *surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1024, 768);
    cairo_t *cr = cairo_create(surface);
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_paint(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    cairo_set_source_surface(cr, image, 0, 0);
    cairo_paint(cr);
    cairo_surface_flush(surface);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return std::chrono::duration<double, std::micro>(Clock::now() - t0).count();
}

}  // namespace

Session::Session(Role role) : role_(role)
{
    std::string templ = (fs::temp_directory_path() / "vxr-bench-XXXXXX").string();
    if (mkdtemp(templ.data()) == nullptr) {
        perror("vxr_bench: cannot make a temporary folder");
        exit(1);
    }
    root_ = templ;
    fs::copy(VXR_XPLANE_TEMPLATE, root_, fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    fs::remove_all(plugin_dir(root_) + "/settings");
    fs::create_directories(plugin_dir(root_) + "/settings");
    overlay_image_ = cairo_image_surface_create_from_png((plugin_dir(root_) + "/resources/popup/nobezel.png").c_str());
}

Session::~Session()
{
    close_host();
    cairo_surface_destroy(overlay_image_);
    std::error_code ec;
    fs::remove_all(root_, ec);
}

void Session::close_host()
{
    host_.reset();
    clock_host = nullptr;
    if (role_ == Role::plugin)
        capture_clock_set_source(nullptr);
}

bool Session::setup(const Scene &scene, Reply *reply)
{
    // The plug-in keeps its preferences in memory for the life of its
    // library: a second scene would start from the first one's.
    if (host_ != nullptr) {
        fail(reply, "one scene per process");
        return false;
    }
    scene_ = scene;
    write_settings(root_, scene);

    simhost::HostOptions options;
    options.root = root_;
    options.monitors = {simhost::monitor_rect(1920, 1080, 0, 0), simhost::monitor_rect(scene.pfd_w, scene.pfd_h, 1920, 0)};
    for (int unit = 2; unit <= (scene.screens == 4 ? 4 : 1); unit++)
        options.monitors.push_back(simhost::monitor_rect(1024, 768, 1920 + 1024 * (unit - 1), 0));
    options.echo_log = false;
    options.frame_seconds = 1.0 / scene.rate;
    // The scene measures a steady state: its devices are bound from the start.
    options.timing.bind_delay_frames = 0;
    host_ = std::make_unique<simhost::Host>(options);
    host_->load_aircraft(scene.device != 0);
    if (scene.screens == 4) {
        host_->set_device(xplm_device_G1000_PFD_2, 0, 0, true);
        host_->set_device(xplm_device_GNS530_1, 640, 480, true);
    }
    clock_host = host_.get();
    clock_rate = static_cast<uint64_t>(scene.rate);

    std::string xpl = plugin_dir(root_) + "/lin_x64/vxr_pop.xpl";
    bool loaded;
    if (role_ == Role::plugin) {
        capture_clock_set_source(simulated_us);
        loaded = host_->load_linked(linked_plugin(), xpl);
    } else {
        ReferenceSetup ref;
        ref.scene = scene;
        ref.way = role_ == Role::readback ? CaptureWay::readback : CaptureWay::blit;
        ref.overlay_png = plugin_dir(root_) + "/resources/popup/nobezel.png";
        ref.clock_us = simulated_us;
        reference_configure(ref);
        loaded = host_->load_linked(reference_plugin(), xpl);
    }
    if (!loaded || !host_->enabled()) {
        fail(reply, std::string(role_name(role_)) + ": the plug-in did not load and enable");
        return false;
    }
    enable_ms_ = host_->costs().handler(simhost::CallbackKind::enable).worst_ms;
    // The pointer rests on the main monitor, clear of both windows.
    host_->mouse_move(5, 5);
    // Until the windows show, the panel's screens stay dark (a cheap frame);
    // then the lit pass, and the copies, begin.
    simhost::PanelPasses dark;
    dark.both = false;
    dark.value = 1;
    host_->set_panel_passes(dark);
    int frames = 0;
    for (; frames < longest_start_up && !windows_shown(); frames++)
        host_->run_frames(1);
    host_->set_panel_passes(simhost::PanelPasses());
    for (; frames < longest_start_up && !steady(); frames++)
        host_->run_frames(1);
    if (!steady()) {
        fail(reply, std::string(role_name(role_)) + ": the windows did not show the live picture within " +
                        std::to_string(longest_start_up) + " frames");
        return false;
    }
    host_->run_frames(settle_frames);

    simhost::WindowState pfd, mfd;
    if (!host_->window(pfd_title, &pfd) || !pfd.visible || pfd.mode != simhost::WindowMode::fullscreen ||
        pfd.monitor != 1) {
        fail(reply, std::string(role_name(role_)) + ": the PFD window is not full screen on monitor 1");
        return false;
    }
    if (scene.mfd != 0 && scene.screens != 4 &&
        (!host_->window(mfd_title, &mfd) || !mfd.visible || mfd.mode != simhost::WindowMode::popout)) {
        fail(reply, std::string(role_name(role_)) + ": the MFD window is not popped out");
        return false;
    }
    sample_markers(reply);
    const char *renderer = reinterpret_cast<const char *>(glGetString(GL_RENDERER));
    snprintf(reply->renderer, sizeof reply->renderer, "%s", renderer != nullptr ? renderer : "?");
    return true;
}

bool Session::windows_shown() const
{
    simhost::WindowState w;
    bool pfd = host_->window(pfd_title, &w) && w.visible;
    bool mfd = scene_.mfd == 0 || (host_->window(mfd_title, &w) && w.visible);
    bool extras = true;
    for (const char *title : extra_titles)
        extras = extras && (scene_.screens != 4 || (host_->window(title, &w) && w.visible));
    return pfd && mfd && extras;
}

bool Session::steady() const
{
    simhost::WindowState w;
    bool pfd = host_->window(pfd_title, &w) && w.visible && captures(0) > 0;
    bool mfd = scene_.mfd == 0 || (host_->window(mfd_title, &w) && w.visible && captures(1) > 0);
    bool overlay = role_ == Role::plugin || reference_ready();
    return pfd && mfd && overlay;
}

// Copies so far; the plug-in's are told by its regions' last copy times.
int Session::captures(int display) const
{
    if (role_ != Role::plugin)
        return reference_captures(display);
    const capture_region &r = plugin_region(display);
    return r.tex != 0 && r.last_cap_us != 0 ? 1 : 0;
}

// The plug-in's region of the display for the scene's source.
const capture_region &Session::plugin_region(int display) const
{
    if (scene_.device != 0)
        return display == 0 ? pfd_device_regions[0] : mfd_device_regions[0];
    return display == 0 ? pfd_regions[0] : mfd_regions[0];
}

// The synthetic displays' markers sit 64 pixels in from each corner; the
// picture fills the window's width and the lower 99.5 % of its height (the
// whole of it from a device: inside the markers either way).
void Session::sample_markers(Reply *reply) const
{
    auto at = [](int size, double display_pos, double display_size, double fraction) {
        return static_cast<int>(display_pos / display_size * fraction * size);
    };
    const double xs[2] = {64, 1024 - 64}, ys[2] = {64, 768 - 64};
    int n = 0;
    for (int top = 0; top < 2; top++) {
        for (int right = 0; right < 2; right++) {
            int x = at(scene_.pfd_w, xs[right], 1024, 1), y = at(scene_.pfd_h, ys[top], 768, 0.995);
            reply->markers[n] = host_->monitor_pixel(1, x, y);
            uint32_t rgb = 0;
            // In the four-screen scene the MFD is full screen on the fourth unit.
            if (scene_.screens == 4)
                reply->markers[4 + n] = host_->monitor_pixel(4, at(1024, xs[right], 1024, 1), at(768, ys[top], 768, 0.995));
            else if (scene_.mfd != 0 && host_->popout_pixel(mfd_title, at(mfd_w, xs[right], 1024, 1),
                                                       at(mfd_h, ys[top], 768, 0.995), &rgb))
                reply->markers[4 + n] = rgb;
            n++;
        }
    }
}

void Session::run(int frames, Reply *reply)
{
    if (frames > max_block_frames)
        frames = max_block_frames;
    reply->frames = frames;
    uint64_t last_cap[2] = {plugin_region(0).last_cap_us, plugin_region(1).last_cap_us};
    int ref_caps[2] = {0, 0};
    if (role_ != Role::plugin) {
        ref_caps[0] = reference_captures(0);
        ref_caps[1] = reference_captures(1);
    }
    host_->reset_costs();
    AllocCounts before = alloc_counts();
    probe_take_times();
    probe_set_timing(true);
    probe_set_counting(true);
    for (int i = 0; i < frames; i++) {
        AllocCounts frame_start = alloc_counts();
        host_->run_frames(1);
        FrameTimes t = probe_take_times();
        reply->capture_us[i] = static_cast<float>(t.capture_us);
        reply->draw_us[i] = static_cast<float>(t.draw_us);
        AllocCounts frame_end = alloc_counts();
        int in_frame = static_cast<int>(frame_end.plugin - frame_start.plugin);
        if (in_frame > reply->max_allocations_in_a_frame)
            reply->max_allocations_in_a_frame = in_frame;
        if (role_ == Role::plugin) {
            // Every copy stamps its region with the (rising) time of the pass.
            const capture_region *regions[2] = {&plugin_region(0), &plugin_region(1)};
            for (int d = 0; d < 2; d++) {
                if (regions[d]->last_cap_us != last_cap[d])
                    reply->captures[d]++;
                last_cap[d] = regions[d]->last_cap_us;
            }
        }
    }
    probe_set_counting(false);
    probe_set_timing(false);
    AllocCounts after = alloc_counts();
    const simhost::HostCosts costs = host_->costs();
    reply->costs_counted = costs.queries_counted ? 1 : 0;
    reply->dispatches = static_cast<int64_t>(costs.total.dispatches);
    reply->window_draws = static_cast<int64_t>(costs.total.window_draws);
    reply->queries = static_cast<int64_t>(costs.total.queries);
    reply->gl_errors = static_cast<int64_t>(costs.total.gl_errors);
    reply->allocations_plugin = after.plugin - before.plugin;
    reply->allocations_other = after.other - before.other;
    if (role_ != Role::plugin) {
        reply->captures[0] = reference_captures(0) - ref_caps[0];
        reply->captures[1] = reference_captures(1) - ref_caps[1];
    }
}

void Session::run_quietly(int frames) { host_->run_frames(frames); }

bool Session::open(Reply *reply)
{
    if (role_ != Role::plugin) {
        fail(reply, "only the plug-in's opening is measured");
        return false;
    }
    // The callbacks' time in steady frames, to set the first frame against.
    const int steady_frames = 5;
    std::vector<double> steady;
    probe_take_times();
    probe_set_timing(true);
    for (int i = 0; i < steady_frames; i++) {
        host_->run_frames(1);
        FrameTimes t = probe_take_times();
        steady.push_back(t.capture_us + t.draw_us);
    }
    probe_set_timing(false);
    std::sort(steady.begin(), steady.end());
    reply->steady_frame_us = steady[steady_frames / 2];

    simhost::WindowState w;
    host_->command(pfd_command);
    host_->run_frames(2);
    if (!host_->window(pfd_title, &w) || w.visible) {
        fail(reply, "the PFD window did not close");
        return false;
    }

    glFinish();
    Clock::time_point t0 = Clock::now();
    host_->command(pfd_command);
    glFinish();
    reply->command_us = std::chrono::duration<double, std::micro>(Clock::now() - t0).count();
    probe_take_times();
    probe_set_timing(true);
    host_->run_frames(1);
    probe_set_timing(false);
    FrameTimes first = probe_take_times();
    reply->first_frame_us = first.capture_us + first.draw_us;
    if (!host_->window(pfd_title, &w) || !w.visible || w.mode != simhost::WindowMode::fullscreen) {
        fail(reply, "the PFD window did not open full screen");
        return false;
    }
    reply->paint_us = paint_overlay_once(overlay_image_);
    // Back to the steady state: the live picture copied again (due within
    // 3 frames at 60 frames per second).
    host_->run_frames(4);
    return true;
}

bool Session::hosting(Reply *reply)
{
    if (role_ != Role::plugin) {
        fail(reply, "only the plug-in's hosting costs are measured");
        return false;
    }
    reply->enable_ms = enable_ms_;
    host_->command(pfd_command);
    if (scene_.mfd != 0)
        host_->command(mfd_command);
    host_->run_frames(settle_frames);
    simhost::WindowState w;
    if ((host_->window(pfd_title, &w) && w.visible) || (host_->window(mfd_title, &w) && w.visible)) {
        fail(reply, "the displays did not close");
        return false;
    }
    host_->reset_costs();
    host_->run_frames(closed_frames);
    simhost::HostCosts costs = host_->costs();
    reply->closed_frames = static_cast<int32_t>(costs.frames);
    reply->closed_dispatches = static_cast<int64_t>(costs.total.dispatches);
    reply->closed_window_draws = static_cast<int64_t>(costs.total.window_draws);

    // The plug-in acts on one phase of the command; a toggle's time is both
    // phases' handler times.
    std::vector<double> toggles;
    for (int i = 0; i < toggle_samples; i++) {
        double ms = 0;
        for (simhost::Host::CommandAction phase : {simhost::Host::CommandAction::begin, simhost::Host::CommandAction::end}) {
            host_->reset_costs();
            host_->command(pfd_command, phase);
            ms += host_->costs().handler(simhost::CallbackKind::command).worst_ms;
        }
        toggles.push_back(ms);
        host_->run_frames(1);
    }
    std::sort(toggles.begin(), toggles.end());
    reply->toggles = toggle_samples;
    reply->toggle_median_ms = (toggles[toggle_samples / 2 - 1] + toggles[toggle_samples / 2]) / 2;
    reply->toggle_worst_ms = toggles.back();
    return true;
}

bool read_full(int fd, void *data, size_t size)
{
    char *p = static_cast<char *>(data);
    while (size > 0) {
        ssize_t n = read(fd, p, size);
        if (n <= 0)
            return false;
        p += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

bool write_full(int fd, const void *data, size_t size)
{
    const char *p = static_cast<const char *>(data);
    while (size > 0) {
        ssize_t n = write(fd, p, size);
        if (n <= 0)
            return false;
        p += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

int serve(Role role, int in_fd, int out_fd)
{
    probe_install();
    Session session(role);
    auto reply = std::make_unique<Reply>();
    for (;;) {
        Request request;
        if (!read_full(in_fd, &request, sizeof request))
            return 1;
        if (request.op == Op::quit)
            return 0;
        *reply = Reply();
        switch (request.op) {
        case Op::setup:
            reply->ok = session.setup(request.scene, reply.get());
            break;
        case Op::run:
            session.run(request.frames, reply.get());
            reply->ok = 1;
            break;
        case Op::open:
            reply->ok = session.open(reply.get());
            break;
        case Op::hosting:
            reply->ok = session.hosting(reply.get());
            break;
        case Op::quit:
            break;
        }
        if (!write_full(out_fd, reply.get(), sizeof *reply))
            return 1;
    }
}

const char *role_name(Role role)
{
    switch (role) {
    case Role::plugin:
        return "plug-in";
    case Role::reference:
        return "reference";
    case Role::readback:
        return "read-back";
    }
    return "?";
}

}  // namespace bench
