/*
 * vxr_bench: the plug-in's cost per frame against the least the same job
 * needs, on the stand-in. Worker processes run the plug-in and the reference
 * (see reference_plugin.h) in the same scene; the parent interleaves blocks of
 * frames between them, so that both see the same machine, and reports the
 * figures, a Markdown table and a chart.
 */
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#define VXR_HAVE_CALLGRIND 1
#endif

#include "alloc_count.h"
#include "callgrind.h"
#include "colour.h"
#include "protocol.h"
#include "results.h"
#include "session.h"

namespace bench {
namespace {

struct Options {
    std::string out = "build/bench-out";
    int block_frames = 24;
    int rounds = 6;
    int scale_rounds = 5;
    int scale_block_frames = 12;
    int opening_samples = 10;
    int callgrind_frames = 24;
    std::vector<int> rates = {30, 60, 144};
    std::vector<std::pair<int, int>> sizes = {{1024, 768}, {1920, 1080}, {3840, 2160}};
    bool callgrind = true;
    bool zink = true;
    bool smoke = false;
};

struct Worker {
    Role role = Role::plugin;
    pid_t pid = -1;
    int to = -1;
    int from = -1;
};

// Progress on standard error, with the seconds since the start.
void progress(const char *format, ...) __attribute__((format(printf, 1, 2)));
void progress(const char *format, ...)
{
    static const auto start = std::chrono::steady_clock::now();
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    fprintf(stderr, "[%4.0f s] ", seconds);
    va_list args;
    va_start(args, format);
    vfprintf(stderr, format, args);
    va_end(args);
    fputc('\n', stderr);
}

[[noreturn]] void die(const std::string &why)
{
    fprintf(stderr, "vxr_bench: %s\n", why.c_str());
    exit(1);
}

Worker spawn(Role role)
{
    int down[2], up[2];
    if (pipe(down) != 0 || pipe(up) != 0)
        die("cannot make pipes");
    fflush(nullptr);
    pid_t pid = fork();
    if (pid < 0)
        die("cannot start a worker");
    if (pid == 0) {
        close(down[1]);
        close(up[0]);
        // The plug-in's log lines also go to standard output: not into the report.
        int null = open("/dev/null", O_WRONLY);
        if (null >= 0)
            dup2(null, 1);
        _exit(serve(role, down[0], up[1]));
    }
    close(down[0]);
    close(up[1]);
    Worker w;
    w.role = role;
    w.pid = pid;
    w.to = down[1];
    w.from = up[0];
    return w;
}

void send(const Worker &w, const Request &request)
{
    if (!write_full(w.to, &request, sizeof request))
        die(std::string("the ") + role_name(w.role) + " worker stopped");
}

std::unique_ptr<Reply> receive(const Worker &w)
{
    auto reply = std::make_unique<Reply>();
    if (!read_full(w.from, reply.get(), sizeof *reply))
        die(std::string("the ") + role_name(w.role) + " worker stopped");
    if (!reply->ok)
        die(reply->error);
    return reply;
}

std::unique_ptr<Reply> call(const Worker &w, const Request &request)
{
    send(w, request);
    return receive(w);
}

void quit(Worker &w)
{
    Request request;
    request.op = Op::quit;
    send(w, request);
    close(w.to);
    close(w.from);
    waitpid(w.pid, nullptr, 0);
}

std::string fmt_hex(uint32_t rgb)
{
    char buf[16];
    snprintf(buf, sizeof buf, "%06X", rgb);
    return buf;
}

struct Block {
    double per_frame_us = 0, capture_us = 0, draw_us = 0;
};

Block block_of(const Reply &reply)
{
    Block b;
    for (int i = 0; i < reply.frames; i++) {
        b.capture_us += reply.capture_us[i];
        b.draw_us += reply.draw_us[i];
    }
    b.capture_us /= reply.frames;
    b.draw_us /= reply.frames;
    b.per_frame_us = b.capture_us + b.draw_us;
    return b;
}

RoleFigures figures_of(const std::vector<Block> &blocks)
{
    std::vector<double> total, capture, draw;
    for (const Block &b : blocks) {
        total.push_back(b.per_frame_us);
        capture.push_back(b.capture_us);
        draw.push_back(b.draw_us);
    }
    RoleFigures f;
    f.per_frame_us = summarize(total);
    f.capture_us = summarize(capture);
    f.draw_us = summarize(draw);
    return f;
}

// Runs rounds of one block per worker, the order turning each round so that
// no role always follows the same one. Returns the blocks by worker.
std::vector<std::vector<std::unique_ptr<Reply>>> interleave(const std::vector<Worker> &workers, int rounds,
                                                            int frames)
{
    std::vector<std::vector<std::unique_ptr<Reply>>> replies(workers.size());
    Request request;
    request.op = Op::run;
    request.frames = frames;
    for (int round = 0; round < rounds; round++) {
        for (size_t k = 0; k < workers.size(); k++) {
            size_t i = (k + static_cast<size_t>(round)) % workers.size();
            replies[i].push_back(call(workers[i], request));
        }
    }
    return replies;
}

Summary ratios(const std::vector<Block> &a, const std::vector<Block> &b)
{
    std::vector<double> r;
    for (size_t i = 0; i < a.size() && i < b.size(); i++)
        r.push_back(a[i].per_frame_us / b[i].per_frame_us);
    return summarize(r);
}

void add_costs(const Reply &reply, CostFigures *c)
{
    c->counted = reply.costs_counted != 0;
    c->frames += reply.frames;
    c->dispatches += reply.dispatches;
    c->window_draws += reply.window_draws;
    c->queries += reply.queries;
    c->gl_errors += reply.gl_errors;
}

// The plug-in's last request in its scene: its costs with the displays
// closed, its show/hide command and its enable.
void hosting(const Worker &plugin, HostingResult *r)
{
    Request request;
    request.op = Op::hosting;
    std::unique_ptr<Reply> reply = call(plugin, request);
    r->ran = true;
    r->closed.counted = true;
    r->closed.frames = reply->closed_frames;
    r->closed.dispatches = reply->closed_dispatches;
    r->closed.window_draws = reply->closed_window_draws;
    r->toggles = reply->toggles;
    r->toggle_median_ms = reply->toggle_median_ms;
    r->toggle_worst_ms = reply->toggle_worst_ms;
    r->enable_ms = reply->enable_ms;
}

// One worker process per role and scene: the plug-in keeps its preferences
// in memory for the life of its library, as it does in the simulator, so
// each scene starts in fresh processes, as from a simulator start. The
// workers set up at once, and each must show the live picture: the
// displays' corner markers where the plug-in shows them. Each names its GL
// renderer in *renderer; a renderer not starting with `expected_renderer`
// (when given) ends the run.
std::vector<Worker> start_scene(const std::vector<Role> &roles, const Scene &scene, std::string *renderer = nullptr,
                                const char *expected_renderer = nullptr)
{
    static const uint32_t expected[marker_samples] = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF,
                                                      0xFFFF00, 0xFF00FF, 0x00FFFF, 0xFF8000};
    std::vector<Worker> workers;
    for (Role role : roles)
        workers.push_back(spawn(role));
    Request request;
    request.op = Op::setup;
    request.scene = scene;
    for (const Worker &w : workers)
        send(w, request);
    for (const Worker &w : workers) {
        std::unique_ptr<Reply> reply = receive(w);
        int samples = scene.mfd != 0 ? marker_samples : marker_samples / 2;
        for (int i = 0; i < samples; i++) {
            if (!vxr_test::color_within(reply->markers[i], expected[i], 24))
                die(std::string(role_name(w.role)) + ": marker " + std::to_string(i) + " reads " +
                    fmt_hex(reply->markers[i]) + ", not the display's live picture");
        }
        if (expected_renderer != nullptr &&
            strncmp(reply->renderer, expected_renderer, strlen(expected_renderer)) != 0)
            die(std::string(role_name(w.role)) + ": runs on " + reply->renderer + ", not " + expected_renderer);
        if (renderer != nullptr)
            *renderer = reply->renderer;
    }
    return workers;
}

void end_scene(std::vector<Worker> &workers)
{
    for (Worker &w : workers)
        quit(w);
    workers.clear();
}

void opening(const Options &o, const Worker &plugin, Results *results)
{
    progress("opening the PFD window");
    std::vector<double> command, first, steady, latency, paint, latency_ratio, command_ratio;
    Request request;
    request.op = Op::open;
    for (int i = 0; i < o.opening_samples; i++) {
        std::unique_ptr<Reply> reply = call(plugin, request);
        command.push_back(reply->command_us);
        first.push_back(reply->first_frame_us);
        steady.push_back(reply->steady_frame_us);
        latency.push_back(reply->command_us + reply->first_frame_us);
        paint.push_back(reply->paint_us);
        latency_ratio.push_back(latency.back() / reply->paint_us);
        command_ratio.push_back(reply->command_us / reply->paint_us);
    }
    OpeningResult &r = results->opening;
    r.command_us = summarize(command);
    r.first_frame_us = summarize(first);
    r.steady_frame_us = summarize(steady);
    r.latency_us = summarize(latency);
    r.paint_us = summarize(paint);
    r.latency_ratio = summarize(latency_ratio);
    r.command_ratio = summarize(command_ratio);
}

// The read-back way is measured at 60 frames per second.
constexpr int readback_rate = 60;

// The steady state at each rate on the GL the workers get (a renderer
// starting with `expected`, when given); the figures go to *steady and
// *allocations, the renderer's name to *renderer, and at the read-back's
// rate the plug-in's hosting costs to *hosting_result.
void steady_state(const Options &o, std::vector<SteadyResult> *steady, AllocationResult *allocations,
                  HostingResult *hosting_result, std::string *renderer, const char *expected = nullptr)
{
    for (int rate : o.rates) {
        Scene scene;
        scene.rate = rate;
        bool with_readback = rate == readback_rate;
        progress("steady state at %d frames per second%s", rate, expected != nullptr ? ", on Zink" : "");
        std::vector<Role> roles = {Role::plugin, Role::reference};
        if (with_readback)
            roles.push_back(Role::readback);
        std::vector<Worker> workers = start_scene(roles, scene, renderer, expected);
        auto replies = interleave(workers, o.rounds, o.block_frames);

        SteadyResult s;
        s.rate = rate;
        s.has_readback = with_readback;
        std::vector<Block> blocks[3];
        int64_t captures[2][2] = {};
        for (size_t k = 0; k < workers.size(); k++) {
            for (const auto &reply : replies[k]) {
                blocks[k].push_back(block_of(*reply));
                if (k < 2) {
                    captures[k][0] += reply->captures[0];
                    captures[k][1] += reply->captures[1];
                    add_costs(*reply, k == 0 ? &s.plugin_costs : &s.reference_costs);
                }
                if (k == 0) {
                    s.frames += reply->frames;
                    allocations->frames += reply->frames;
                    allocations->plugin += reply->allocations_plugin;
                    allocations->other += reply->allocations_other;
                    allocations->max_in_a_frame =
                        std::max(allocations->max_in_a_frame, reply->max_allocations_in_a_frame);
                }
            }
        }
        s.plugin = figures_of(blocks[0]);
        s.reference = figures_of(blocks[1]);
        s.ratio = ratios(blocks[0], blocks[1]);
        if (with_readback) {
            s.readback = figures_of(blocks[2]);
            s.readback_ratio = ratios(blocks[2], blocks[1]);
        }
        double seconds = static_cast<double>(s.frames) / rate;
        for (int d = 0; d < 2; d++) {
            s.captures_per_second[d] = static_cast<double>(captures[0][d]) / seconds;
            s.reference_captures_per_second[d] = static_cast<double>(captures[1][d]) / seconds;
        }
        steady->push_back(s);
        if (with_readback)
            hosting(workers[0], hosting_result);
        end_scene(workers);
    }
}

// The stock G1000's screens as the source, at 60 frames per second: the
// plug-in against the reference doing the least that source needs (one blit
// of the device's screen per due copy, in the device's callback).
constexpr int device_rate = 60;

// The scene with its displays on stock devices, into `out`.
void devices_steady(const Options &o, const Scene &scene, Results *results, std::vector<SteadyResult> *out)
{
    std::vector<Worker> workers = start_scene({Role::plugin, Role::reference}, scene);
    auto replies = interleave(workers, o.rounds, o.block_frames);
    SteadyResult s;
    s.rate = device_rate;
    std::vector<Block> blocks[2];
    int64_t captures[2][2] = {};
    AllocationResult &a = results->allocations;
    for (size_t k = 0; k < 2; k++) {
        for (const auto &reply : replies[k]) {
            blocks[k].push_back(block_of(*reply));
            captures[k][0] += reply->captures[0];
            captures[k][1] += reply->captures[1];
            add_costs(*reply, k == 0 ? &s.plugin_costs : &s.reference_costs);
            if (k == 0) {
                s.frames += reply->frames;
                a.frames += reply->frames;
                a.plugin += reply->allocations_plugin;
                a.other += reply->allocations_other;
                a.max_in_a_frame = std::max(a.max_in_a_frame, reply->max_allocations_in_a_frame);
            }
        }
    }
    s.plugin = figures_of(blocks[0]);
    s.reference = figures_of(blocks[1]);
    s.ratio = ratios(blocks[0], blocks[1]);
    double seconds = static_cast<double>(s.frames) / device_rate;
    for (int d = 0; d < 2; d++) {
        s.captures_per_second[d] = static_cast<double>(captures[0][d]) / seconds;
        s.reference_captures_per_second[d] = static_cast<double>(captures[1][d]) / seconds;
    }
    out->push_back(s);
    end_scene(workers);
}

void device_source(const Options &o, Results *results)
{
    Scene scene;
    scene.rate = device_rate;
    scene.device = 1;
    progress("the stock G1000's screens as the source, %d frames per second", device_rate);
    devices_steady(o, scene, results, &results->device);
}

// Four screens open, each from its device: the PFD, the copilot's PFD, a
// GNS 530 and the MFD on four units; the reference makes the same four copies.
void four_screens(const Options &o, Results *results)
{
    Scene scene;
    scene.rate = device_rate;
    scene.device = 1;
    scene.screens = 4;
    progress("four screens from their devices, %d frames per second", device_rate);
    devices_steady(o, scene, results, &results->four_screens);
}

void scale(const Options &o, Results *results)
{
    for (const auto &size : o.sizes) {
        Scene scene;
        scene.pfd_w = size.first;
        scene.pfd_h = size.second;
        scene.mfd = 0;
        progress("scale: the PFD alone, full screen on %d x %d", size.first, size.second);
        std::vector<Worker> workers = start_scene({Role::plugin, Role::reference}, scene);
        auto replies = interleave(workers, o.scale_rounds, o.scale_block_frames);
        // The opening is measured with the PFD alone on its 1024 x 768
        // monitor, where the first frame holds no other window's drawing.
        if (size == o.sizes.front())
            opening(o, workers[0], results);
        end_scene(workers);
        ScaleResult s;
        s.w = size.first;
        s.h = size.second;
        std::vector<Block> blocks[2];
        for (size_t k = 0; k < 2; k++) {
            for (const auto &reply : replies[k])
                blocks[k].push_back(block_of(*reply));
        }
        s.plugin = figures_of(blocks[0]);
        s.reference = figures_of(blocks[1]);
        s.ratio = ratios(blocks[0], blocks[1]);
        results->scale.push_back(s);
    }
}

// The steady state again with the workers on Mesa's Zink over lavapipe: the
// environment the workers inherit names the driver, and a runtime folder of
// this run's own (removed afterwards) keeps Mesa's Vulkan from looking at a
// desktop session's.
void zink_steady_state(const Options &o, Results *results)
{
    std::string runtime = (std::filesystem::temp_directory_path() / "vxr-bench-zink-XXXXXX").string();
    if (mkdtemp(runtime.data()) == nullptr)
        die("cannot make a runtime folder for Zink");
    const char *names[] = {"MESA_LOADER_DRIVER_OVERRIDE", "LIBGL_ALWAYS_SOFTWARE", "XDG_RUNTIME_DIR"};
    std::string saved[3];
    bool had[3];
    for (int i = 0; i < 3; i++) {
        const char *value = getenv(names[i]);
        had[i] = value != nullptr;
        saved[i] = had[i] ? value : "";
    }
    setenv(names[0], "zink", 1);
    setenv(names[1], "1", 1);
    setenv(names[2], runtime.c_str(), 1);
    steady_state(o, &results->zink.steady, &results->zink.allocations, &results->zink.hosting,
                 &results->zink.renderer, "zink");
    results->zink.ran = true;
    for (int i = 0; i < 3; i++) {
        if (had[i])
            setenv(names[i], saved[i].c_str(), 1);
        else
            unsetenv(names[i]);
    }
    std::error_code ec;
    std::filesystem::remove_all(runtime, ec);
}

void instructions(const Options &o, Results *results)
{
    InstructionResult &r = results->instructions;
    r.frames = o.callgrind_frames;
#ifndef VXR_HAVE_CALLGRIND
    r.error = "built without valgrind's callgrind.h";
    return;
#else
    progress("instructions: two runs under callgrind, %d frames each", o.callgrind_frames);
    // Two runs side by side: the machine's two cores.
    pid_t pids[2];
    std::string outs[2];
    for (int i = 0; i < 2; i++) {
        outs[i] = o.out + "/callgrind-" + std::to_string(i + 1) + ".out";
        pids[i] = callgrind_start(outs[i], o.out + "/callgrind-" + std::to_string(i + 1) + ".log", o.callgrind_frames);
    }
    bool ok = true;
    for (int i = 0; i < 2; i++) {
        std::string error;
        if (!callgrind_finish(pids[i], outs[i], &r.runs[i], &error)) {
            ok = false;
            r.error = error;
        }
    }
    r.ran = ok;
#endif
}

// Under callgrind: the plug-in's steady state at 60 frames per second, with
// instructions collected over `frames` frames only.
int callgrind_child(int frames)
{
#ifdef VXR_HAVE_CALLGRIND
    Session session(Role::plugin);
    auto reply = std::make_unique<Reply>();
    Scene scene;
    if (!session.setup(scene, reply.get())) {
        fprintf(stderr, "vxr_bench: %s\n", reply->error);
        return 1;
    }
    CALLGRIND_START_INSTRUMENTATION;
    session.run_quietly(frames);
    CALLGRIND_STOP_INSTRUMENTATION;
    return 0;
#else
    (void)frames;
    return 1;
#endif
}

void usage()
{
    fprintf(stderr, "usage: vxr_bench [--out DIR] [--smoke] [--no-callgrind] [--no-zink] [--rounds N] [--block FRAMES]\n"
                    "  --smoke         each benchmark for a handful of frames; fails unless the\n"
                    "                  plug-in's callbacks allocate nothing\n"
                    "  --no-callgrind  leave out the instruction counts\n"
                    "  --no-zink       leave out the steady state on Zink\n");
    exit(2);
}

Options parse(int argc, char **argv)
{
    Options o;
    for (int i = 1; i < argc; i++) {
        std::string a = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc)
                usage();
            return argv[++i];
        };
        if (a == "--out") {
            o.out = value();
        } else if (a == "--smoke") {
            o.smoke = true;
            o.block_frames = o.scale_block_frames = 6;
            o.rounds = o.scale_rounds = 2;
            o.opening_samples = 1;
            o.rates = {60};
            o.sizes = {{1024, 768}};
            o.callgrind = false;
        } else if (a == "--no-callgrind") {
            o.callgrind = false;
        } else if (a == "--no-zink") {
            o.zink = false;
        } else if (a == "--rounds") {
            o.rounds = o.scale_rounds = std::max(1, atoi(value().c_str()));
        } else if (a == "--block") {
            o.block_frames = o.scale_block_frames = std::min(max_block_frames, std::max(1, atoi(value().c_str())));
        } else {
            usage();
        }
    }
    return o;
}

}  // namespace
}  // namespace bench

int main(int argc, char **argv)
{
    using namespace bench;
    if (argc == 3 && strcmp(argv[1], "--callgrind-child") == 0)
        return callgrind_child(atoi(argv[2]));
    Options o = parse(argc, argv);
    std::filesystem::create_directories(o.out);
    o.out = std::filesystem::absolute(o.out).lexically_normal().string();
    vxr_test::alloc_count_init();
    if (!vxr_test::alloc_count_works())
        die("the allocation counter does not see allocations made inside a callback");

    Results results;
    results.block_frames = o.block_frames;
    results.scale_block_frames = o.scale_block_frames;
    results.rounds = o.rounds;
    steady_state(o, &results.steady, &results.allocations, &results.hosting, &results.renderer);
    device_source(o, &results);
    four_screens(o, &results);
    scale(o, &results);
    if (o.callgrind)
        instructions(o, &results);
    else
        results.instructions.error = "not run (--no-callgrind)";
    if (o.zink)
        zink_steady_state(o, &results);

    progress("done");
    std::string markdown = results_markdown(results);
    std::string md_path = o.out + "/bench.md", png_path = o.out + "/bench-chart.png";
    std::ofstream(md_path) << markdown;
    std::string error;
    if (!write_chart(results, png_path, &error))
        fprintf(stderr, "vxr_bench: no chart: %s\n", error.c_str());
    printf("%s\nOutput: %s (bench.md, bench-chart.png)\n%s\n", markdown.c_str(), o.out.c_str(),
           results_line(results).c_str());
    if (o.smoke && (results.allocations.plugin != 0 || results.allocations.frames == 0))
        return 1;
    if (o.smoke && o.zink && (results.zink.allocations.plugin != 0 || results.zink.allocations.frames == 0))
        return 1;
    return 0;
}
