// Fresh simulator-like folders and output folders.
#include "sim_folder.h"

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace scenario {

const char *const plugin_subfolder = "Resources/plugins/popups";
const char *const default_plugin_file = "Resources/plugins/popups/lin_x64/vxr_pop.xpl";

namespace {

bool make_temp_folder(const char *prefix, std::string *dir)
{
    std::error_code ec;
    fs::path base = fs::temp_directory_path(ec);
    if (ec)
        return false;
    std::string templ = (base / (std::string(prefix) + "XXXXXX")).string();
    if (mkdtemp(templ.data()) == nullptr)
        return false;
    *dir = templ;
    return true;
}

}  // namespace

std::string program_folder()
{
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string(".") : exe.parent_path().string();
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
