// simhost: runs a scenario script against the plug-in on the headless
// simulator stand-in. Exit 0: every expectation held; 1: one did not;
// 2: a bad script or bad arguments; 77 (the test runner's "skipped"): every
// expectation that could be checked held, and some could not be checked here.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>
#ifdef _WIN32
#include <windows.h>
#include <shellapi.h>
#endif

#include "contact_sheet.h"
#include "run_report.h"
#include "scenario_parser.h"
#include "scenario_runner.h"
#include "sim_folder.h"
#include "simhost/utf8_path.h"

namespace fs = std::filesystem;
using simhost::fs_path;
using simhost::utf8_path;

namespace {

const char usage[] =
    "usage: simhost --script FILE [--root DIR] [--out DIR] [--fps N] [--plugin PATH] [--verbose]\n"
    "               [--gl-state kind|least-kind] [--gl 4.5|3.3]\n"
    "  --script FILE  the scenario to run\n"
    "  --root DIR     work in this simulator-like folder as it is (default: a fresh copy of the\n"
    "                 built one, <program folder>/../xplane, or ../xplane-win on Windows)\n"
    "  --out DIR      where screenshots, report.md, contact-sheet.png and Log.txt go\n"
    "                 (default: a new folder under the temporary folder)\n"
    "  --fps N        N frames per second of wall time, each 1/N s of simulated time\n"
    "                 (default: as fast as they run, 1/60 s each)\n"
    "  --plugin PATH  what 'load' without a path opens (default:\n"
    "                 <root>/Resources/plugins/popups/lin_x64/vxr_pop.xpl, win_x64 on Windows)\n"
    "  --verbose      print each command as it runs, and the simulator's log\n"
    "  --gl-state kind  callbacks find clean OpenGL state, no caches, no strict check, a gauges\n"
    "                 pass every frame (default least-kind: as X-Plane may give them; a script's\n"
    "                 gl-state lines change single items)\n"
    "  --gl 3.3       the plug-in gets OpenGL 3.3 without direct state access, its loader\n"
    "                 answering NULL for OpenGL 4.5's functions (default 4.5)\n"
    "A relative path after 'load' in a script is taken inside the simulator-like folder.\n";

struct Arguments {
    std::string script, root, out, plugin;
    int fps = 0;
    bool verbose = false;
    bool kind_gl = false;
    int gl_version = 45;
};

int bad_arguments(const std::string &message)
{
    std::cerr << "simhost: " << message << "\n" << usage;
    return 2;
}

// The arguments in UTF-8. Windows hands main them in the process's code page,
// which cannot hold every folder name: they are taken from the wide command line.
std::vector<std::string> utf8_arguments(int argc, char **argv)
{
#ifdef _WIN32
    int count = 0;
    wchar_t **wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide != nullptr) {
        std::vector<std::string> args;
        for (int i = 0; i < count; i++)
            args.push_back(utf8_path(fs::path(wide[i])));
        LocalFree(wide);
        return args;
    }
#endif
    return std::vector<std::string>(argv, argv + argc);
}

// Returns 0 when the arguments are good, else the exit code.
int parse_arguments(const std::vector<std::string> &argv, Arguments *args)
{
    const size_t argc = argv.size();
    for (size_t i = 1; i < argc; i++) {
        std::string opt = argv[i];
        if (opt == "--help" || opt == "-h") {
            std::cout << usage;
            std::exit(0);
        }
        if (opt == "--verbose") {
            args->verbose = true;
            continue;
        }
        if (opt == "--gl-state") {
            if (i + 1 >= argc || (argv[i + 1] != "kind" && argv[i + 1] != "least-kind"))
                return bad_arguments("--gl-state takes kind or least-kind");
            args->kind_gl = argv[++i] == "kind";
            continue;
        }
        if (opt == "--gl") {
            if (i + 1 >= argc || (argv[i + 1] != "4.5" && argv[i + 1] != "3.3"))
                return bad_arguments("--gl takes 4.5 or 3.3");
            args->gl_version = argv[++i] == "3.3" ? 33 : 45;
            continue;
        }
        if (opt != "--script" && opt != "--root" && opt != "--out" && opt != "--fps" && opt != "--plugin")
            return bad_arguments("unknown argument " + opt);
        if (i + 1 >= argc)
            return bad_arguments(opt + " needs a value");
        std::string value = argv[++i];
        if (opt == "--script")
            args->script = value;
        else if (opt == "--root")
            args->root = value;
        else if (opt == "--out")
            args->out = value;
        else if (opt == "--plugin")
            args->plugin = utf8_path(fs::absolute(fs_path(value)));
        else if (!scenario::parse_int(value, &args->fps) || args->fps < 1 || args->fps > 1000)
            return bad_arguments("--fps takes a whole number from 1 to 1000, not " + value);
    }
    if (args->script.empty())
        return bad_arguments("no --script given");
    return 0;
}

void copy_log(const std::string &root, const std::string &out_dir)
{
    std::error_code ec;
    fs::path log = fs_path(root) / "Log.txt";
    if (fs::exists(log, ec))
        fs::copy_file(log, fs_path(out_dir) / "Log.txt", fs::copy_options::overwrite_existing, ec);
}

}  // namespace

int main(int argc, char **argv)
{
    Arguments args;
    if (int code = parse_arguments(utf8_arguments(argc, argv), &args))
        return code;

    std::ifstream in(fs_path(args.script), std::ios::binary);
    std::stringstream text;
    if (in)
        text << in.rdbuf();
    if (!in || !fs::is_regular_file(fs_path(args.script))) {
        std::cerr << args.script << ": cannot read the script\n";
        return 2;
    }
    std::vector<scenario::Command> commands;
    scenario::ParseError parse_error;
    if (!scenario::parse_script(text.str(), &commands, &parse_error)) {
        std::cerr << args.script << ":" << parse_error.line << ": " << parse_error.message << "\n";
        return 2;
    }

    std::string error;
    std::string root = args.root;
    bool fresh_root = root.empty();
    std::string template_dir = scenario::program_folder() + "/../" + scenario::default_template_folder;
    if (fresh_root && !scenario::make_fresh_root(template_dir, &root, &error))
        return bad_arguments(error);
    if (!fresh_root && !fs::is_directory(fs_path(root)))
        return bad_arguments("--root " + root + " is not a folder");
    root = utf8_path(fs::absolute(fs_path(root)).lexically_normal());
    std::string out_dir;
    if (!scenario::make_out_folder(args.out, &out_dir, &error)) {
        if (fresh_root)
            scenario::remove_folder(root);
        return bad_arguments(error);
    }

    scenario::RunOptions options;
    options.script_name = args.script;
    options.root = root;
    options.out_dir = out_dir;
    options.default_plugin = args.plugin.empty() ? utf8_path(fs_path(root) / scenario::default_plugin_file)
                                                 : args.plugin;
    options.fps = args.fps;
    options.verbose = args.verbose;
    options.kind_gl = args.kind_gl;
    options.gl_version = args.gl_version;

    scenario::RunReport report;
    std::string report_file = utf8_path(fs_path(out_dir) / "report.md");
    if (!report.open(report_file, args.script, root))
        std::cerr << "simhost: cannot write " << report_file << "\n";
    int code;
    std::vector<scenario::SheetImage> shots;
    {
        scenario::ScenarioRunner runner(options, &report, std::cout, std::cerr);
        code = runner.run(commands);
        shots = runner.shots();
    }
    if (!shots.empty() &&
        !scenario::write_contact_sheet(shots, utf8_path(fs_path(out_dir) / "contact-sheet.png"), &error)) {
        std::cerr << "simhost: " << error << "\n";
        code = code ? code : 1;
    }
    scenario::release_font_caches();
    copy_log(root, out_dir);
    if (fresh_root)
        scenario::remove_folder(root);
    const char *outcome = code == 0 ? "passed" : code == scenario::exit_skipped ? "passed, with checks skipped" : "failed";
    std::cout << "simhost: " << outcome << "; output in " << out_dir << std::endl;
    return code;
}
