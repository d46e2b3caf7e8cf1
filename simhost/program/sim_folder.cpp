// Fresh simulator-like folders and output folders.
#include "sim_folder.h"

#include <cstdlib>
#include <filesystem>
#include <random>

#include "simhost/utf8_path.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace fs = std::filesystem;
using simhost::fs_path;
using simhost::utf8_path;

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
            *dir = utf8_path(candidate);
            return true;
        }
    }
    return false;
#else
    std::string templ = utf8_path(base / (std::string(prefix) + "XXXXXX"));
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
    wchar_t buf[32768];
    DWORD n = GetModuleFileNameW(nullptr, buf, sizeof buf / sizeof buf[0]);
    if (n == 0 || n >= sizeof buf / sizeof buf[0])
        return ".";
    return utf8_path(fs::path(std::wstring(buf, n)).parent_path());
#else
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string(".") : utf8_path(exe.parent_path());
#endif
}

bool make_fresh_root(const std::string &template_dir, std::string *root, std::string *error)
{
    std::error_code ec;
    if (!fs::is_directory(fs_path(template_dir), ec)) {
        *error = "no simulator folder at " + template_dir + " (build it, or give --root)";
        return false;
    }
    std::string dir;
    if (!make_temp_folder("simhost-root-", &dir)) {
        *error = "cannot make a temporary folder";
        return false;
    }
    fs::copy(fs_path(template_dir), fs_path(dir), fs::copy_options::recursive | fs::copy_options::overwrite_existing, ec);
    if (!ec) {
        fs::path settings = fs_path(dir) / plugin_subfolder / "settings";
        fs::remove_all(settings, ec);
        if (!ec)
            fs::create_directories(settings, ec);
    }
    if (!ec)
        fs::remove(fs_path(dir) / "Log.txt", ec);
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
    fs::create_directories(fs_path(*out), ec);
    if (ec || !fs::is_directory(fs_path(*out))) {
        *error = "cannot make the output folder " + *out + (ec ? ": " + ec.message() : "");
        return false;
    }
    return true;
}

void remove_folder(const std::string &dir)
{
    std::error_code ec;
    fs::remove_all(fs_path(dir), ec);
}

}  // namespace scenario
