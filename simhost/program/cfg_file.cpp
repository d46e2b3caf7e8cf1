// popups.cfg as a scenario sees it: key = value lines.
#include "cfg_file.h"

#include <filesystem>
#include <fstream>
#include <sstream>

namespace scenario {

namespace {

std::string trim(const std::string &s)
{
    size_t b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos)
        return "";
    size_t e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}

}  // namespace

std::map<std::string, std::string> parse_cfg_text(const std::string &text)
{
    std::map<std::string, std::string> values;
    std::stringstream in(text);
    std::string line;
    while (std::getline(in, line)) {
        line = line.substr(0, line.find('#'));
        size_t eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        std::string key = trim(line.substr(0, eq));
        if (!key.empty())
            values[key] = trim(line.substr(eq + 1));
    }
    return values;
}

bool read_cfg_file(const std::string &path, std::map<std::string, std::string> *values)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return false;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::stringstream text;
    text << in.rdbuf();
    if (in.bad())
        return false;
    *values = parse_cfg_text(text.str());
    return true;
}

}  // namespace scenario
