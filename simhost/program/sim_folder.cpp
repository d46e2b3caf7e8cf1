// Fresh simulator-like folders and output folders.
#include "sim_folder.h"

#include <cstdlib>
#include <filesystem>
#include <random>

#ifdef _WIN32
#include <windows.h>
#endif

namespace fs = std::filesystem;

namespace scenario {

const char *const plugin_subfolder = "Resources/plugins/popups";
#ifdef _WIN32
const char *const default_plugin_file = "Resources/plugins/popups/win_x64/vxr_pop.xpl";
const char *const default_template_folder = "xplane-win";
#else
const char *const default_plugin_file = "Resources/plugins/popups/lin_x64/vxr_pop.xpl";
const char *const default_template_folder = "xplane";
#endif

namespace {

bool make_temp_folder(const char *prefix, std::string *dir)
{
    std::error_code ec;
    fs::path base = fs::temp_directory_path(ec);
    if (ec)
        return false;
#ifdef _WIN32
    // No mkdtemp: random names until one is new (create_directory is false
    // for a folder that already exists).
    std::random_device seed;
    std::mt19937 random(seed());
    for (int attempt = 0; attempt < 100; attempt++) {
        fs::path candidate = base / (std::string(prefix) + std::to_string(random() % 1000000000u));
        if (fs::create_directory(candidate, ec)) {
            *dir = candidate.string();
            return true;
        }
    }
    return false;
#else
    std::string templ = (base / (std::string(prefix) + "XXXXXX")).string();
    if (mkdtemp(templ.data()) == nullptr)
        return false;
    *dir = templ;
    return true;
#endif
}

}  // namespace

std::string program_folder()
{
#ifdef _WIN32
    char buf[MAX_PATH * 4];
    DWORD n = GetModuleFileNameA(nullptr, buf, sizeof buf);
    if (n == 0 || n >= sizeof buf)
        return ".";
    return fs::path(std::string(buf, n)).parent_path().string();
#else
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string(".") : exe.parent_path().string();
#endif
}

bool make_fresh_root(const std::string &template_dir, std::string *root, std::string *error)
{
    std::error_code ec;
    if (!fs::is_directory(template_dir, ec)) {
        *error = "no simulator folder at " + template_dir + " (build it, or give --root)";
        return false;
    }
    std::string dir;
    if (!make_temp_folder("simhost-root-", &dir)) {
        *error = "cannot make a temporary folder";
        return false;
    }
    fs::copy(template_dir, dir, fs::copy_options::recursive | fs::copy_options::overwrite_existing, ec);
    if (!ec) {
        fs::path settings = fs::path(dir) / plugin_subfolder / "settings";
        fs::remove_all(settings, ec);
        if (!ec)
            fs::create_directories(settings, ec);
    }
    if (!ec)
        fs::remove(fs::path(dir) / "Log.txt", ec);
    if (ec) {
        *error = "cannot copy " + template_dir + " to " + dir + ": " + ec.message();
        remove_folder(dir);
        return false;
    }
    *root = dir;
    return true;
}

bool make_out_folder(const std::string &requested, std::string *out, std::string *error)
{
    std::error_code ec;
    if (requested.empty()) {
        if (make_temp_folder("simhost-out-", out))
            return true;
        *out = "simhost-out";
    } else {
        *out = requested;
    }
    fs::create_directories(*out, ec);
    if (ec || !fs::is_directory(*out)) {
        *error = "cannot make the output folder " + *out + (ec ? ": " + ec.message() : "");
        return false;
    }
    return true;
}

void remove_folder(const std::string &dir)
{
    std::error_code ec;
    fs::remove_all(dir, ec);
}

}  // namespace scenario
