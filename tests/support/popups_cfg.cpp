// popups.cfg for tests (see popups_cfg.h).
#include "popups_cfg.h"

#include <charconv>
#include <filesystem>

#include <acfutils/conf.h>
#include <acfutils/helpers.h>

namespace vxr_test {

const std::vector<std::string> &popups_cfg_keys()
{
    static const std::vector<std::string> keys = {
        "pfd_nbzl_x", "pfd_nbzl_y", "pfd_nbzl_w", "pfd_nbzl_h",
        "pfd_nbzl_fill_window", "pfd_nbzl_popup_at_start", "pfd_nbzl_monitor_start",
        "mfd_nbzl_x", "mfd_nbzl_y", "mfd_nbzl_w", "mfd_nbzl_h",
        "mfd_nbzl_fill_window", "mfd_nbzl_popup_at_start", "mfd_nbzl_monitor_start",
        "pfd_nbzl_source", "mfd_nbzl_source",
    };
    return keys;
}

// The library writes every entry back as one "key = value" line.
static void take_entries(const conf_t *conf, std::map<std::string, std::string> *entries)
{
    size_t len = 0;
    char *text = conf_write_buf(conf, &len);
    if (text == nullptr)
        return;
    const std::string all(text, len);
    lacf_free(text);
    size_t start = 0;
    while (start < all.size()) {
        size_t end = all.find('\n', start);
        if (end == std::string::npos)
            end = all.size();
        std::string line = all.substr(start, end - start);
        size_t eq = line.find(" = ");
        if (eq != std::string::npos)
            (*entries)[line.substr(0, eq)] = line.substr(eq + 3);
        start = end + 1;
    }
}

CfgFile read_cfg(const std::string &path)
{
    CfgFile file;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return file;
    conf_t *conf = conf_read_file(path.c_str(), &file.bad_line);
    if (conf == nullptr)
        return file;
    file.readable = true;
    take_entries(conf, &file.entries);
    conf_free(conf);
    return file;
}

bool whole_number(const std::string &text, int *value)
{
    const char *end = text.data() + text.size();
    auto [ptr, err] = std::from_chars(text.data(), end, *value);
    return err == std::errc() && ptr == end && !text.empty();
}

}  // namespace vxr_test
