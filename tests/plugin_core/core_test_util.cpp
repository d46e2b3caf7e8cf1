// Helpers shared by the plug-in core tests.
#include "core_test_util.h"

#include <cstdint>
#include <fstream>
#include <stdexcept>

namespace core_test {


const std::vector<std::string> pref_keys = {
    "pfd_nbzl_x", "pfd_nbzl_y", "pfd_nbzl_w", "pfd_nbzl_h",
    "pfd_nbzl_fill_window", "pfd_nbzl_popup_at_start", "pfd_nbzl_monitor_start",
    "mfd_nbzl_x", "mfd_nbzl_y", "mfd_nbzl_w", "mfd_nbzl_h",
    "mfd_nbzl_fill_window", "mfd_nbzl_popup_at_start", "mfd_nbzl_monitor_start",
    "pfd_nbzl_source", "mfd_nbzl_source",
};

static std::string trim(const std::string &s)
{
    size_t b = s.find_first_not_of(" \t\r");
    size_t e = s.find_last_not_of(" \t\r");
    return b == std::string::npos ? "" : s.substr(b, e - b + 1);
}

std::map<std::string, std::string> read_cfg(const std::string &path)
{
    std::map<std::string, std::string> cfg;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        line = trim(line);
        size_t eq = line.find('=');
        if (line.empty() || line[0] == '#' || eq == std::string::npos)
            continue;
        cfg[trim(line.substr(0, eq))] = trim(line.substr(eq + 1));
    }
    return cfg;
}

void load(vxr_test::LinkedSim &sim)
{
    sim.load();
}

std::vector<std::string> lines_with(const vxr_test::LinkedSim &sim, const std::string &text)
{
    std::vector<std::string> found;
    for (const auto &line : sim.log_since_mark()) {
        if (line.find(text) != std::string::npos)
            found.push_back(line);
    }
    return found;
}

}  // namespace core_test
