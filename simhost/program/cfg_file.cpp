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

const std::string bom = "\xEF\xBB\xBF";

// The key of a "key = value" line, or "" for any other line.
std::string key_of(const std::string &line)
{
    std::string text = line.substr(0, line.find('#'));
    size_t eq = text.find('=');
    return eq == std::string::npos ? "" : trim(text.substr(0, eq));
}

}  // namespace

std::map<std::string, std::string> parse_cfg_text(const std::string &text)
{
    std::map<std::string, std::string> values;
    std::stringstream in(text.compare(0, bom.size(), bom) == 0 ? text.substr(bom.size()) : text);
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

std::vector<std::string> cfg_lines(const std::string &text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t nl = text.find('\n', start);
        size_t end = nl == std::string::npos ? text.size() : nl;
        std::string line = text.substr(start, end - start);
        if (nl != std::string::npos && !line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

int count_cfg_key(const std::string &text, const std::string &key)
{
    std::vector<std::string> lines = cfg_lines(text);
    if (!lines.empty() && lines[0].compare(0, bom.size(), bom) == 0)
        lines[0].erase(0, bom.size());
    int n = 0;
    for (const std::string &line : lines)
        n += key_of(line) == key;
    return n;
}

std::string edit_cfg_text(const std::string &text, const std::string &line)
{
    const std::string key = key_of(line);
    size_t start = text.compare(0, bom.size(), bom) == 0 ? bom.size() : 0;
    while (!key.empty() && start < text.size()) {
        size_t nl = text.find('\n', start);
        size_t end = nl == std::string::npos ? text.size() : nl;
        if (key_of(text.substr(start, end - start)) == key) {
            std::string cr = end > start && text[end - 1] == '\r' ? "\r" : "";
            return text.substr(0, start) + line + cr + text.substr(end);
        }
        start = end + 1;
    }
    std::string edited = text;
    if (!edited.empty() && edited.back() != '\n')
        edited += '\n';
    return edited + line + "\n";
}

bool read_cfg_bytes(const std::string &path, std::string *text)
{
    // The path is UTF-8 (on Windows a plain string would be read in the code page).
    const std::filesystem::path file = std::filesystem::u8path(path);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec))
        return false;
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return false;
    std::stringstream bytes;
    bytes << in.rdbuf();
    if (in.bad())
        return false;
    *text = bytes.str();
    return true;
}

bool read_cfg_file(const std::string &path, std::map<std::string, std::string> *values)
{
    std::string text;
    if (!read_cfg_bytes(path, &text))
        return false;
    *values = parse_cfg_text(text);
    return true;
}

}  // namespace scenario
