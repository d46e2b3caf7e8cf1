/*
 * Configurations in memory: "key = value" entries in first-seen order, parsed
 * from text and written back as text. Integer reads are strict.
 */
#include <acfutils/conf.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <deque>
#include <new>
#include <string>
#include <string_view>
#include <unordered_map>

#include <acfutils/helpers.h>
#include <acfutils/log.h>
#include "conf_parse.h"

struct conf {
    struct entry {
        std::string key;
        std::string value;
    };
    // A deque keeps the strings conf_get_str hands out in place as keys are added.
    std::deque<entry> entries;
    std::unordered_map<std::string, size_t> index;
};

namespace {

bool is_space(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

// Optional sign, decimal digits only, within int range.
bool parse_int(std::string_view s, int *out)
{
    s = conf_trim(s);
    bool negative = false;
    if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
        negative = s.front() == '-';
        s.remove_prefix(1);
    }
    if (s.empty())
        return false;
    long long v = 0;
    for (char c : s) {
        if (c < '0' || c > '9')
            return false;
        v = v * 10 + (c - '0');
        if (v > -static_cast<long long>(INT_MIN))
            return false;
    }
    if (negative)
        v = -v;
    if (v > INT_MAX)
        return false;
    *out = static_cast<int>(v);
    return true;
}

void set_entry(conf_t *conf, std::string_view key, std::string_view value)
{
    std::string k(key);
    auto found = conf->index.find(k);
    if (found != conf->index.end()) {
        conf->entries[found->second].value.assign(value);
        return;
    }
    conf->entries.push_back({k, std::string(value)});
    conf->index.emplace(std::move(k), conf->entries.size() - 1);
}

const std::string *find_value(const conf_t *conf, const char *key)
{
    if (conf == nullptr || key == nullptr)
        return nullptr;
    auto found = conf->index.find(std::string(conf_trim(key)));
    return found == conf->index.end() ? nullptr : &conf->entries[found->second].value;
}

// Why a line cannot be an entry, or NULL when it is one (or is blank).
const char *parse_line(conf_t *conf, std::string_view line)
{
    std::string_view key;
    std::string_view value;
    const char *why = conf_split_line(line, &key, &value);
    if (why == nullptr && !key.empty())
        set_entry(conf, key, value);
    return why;
}

}  // namespace

std::string_view conf_trim(std::string_view s)
{
    while (!s.empty() && is_space(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && is_space(s.back()))
        s.remove_suffix(1);
    return s;
}

const char conf_bom_text[] = "\xEF\xBB\xBF";

size_t conf_bom_length(const char *text, size_t len)
{
    return len >= 3 && memcmp(text, conf_bom_text, 3) == 0 ? 3 : 0;
}

const char *conf_split_line(std::string_view line, std::string_view *key, std::string_view *value)
{
    *key = *value = std::string_view();
    if (line.find('\0') != std::string_view::npos)
        return "it holds a NUL byte";
    line = conf_trim(line.substr(0, line.find('#')));
    if (line.empty())
        return nullptr;
    size_t eq = line.find('=');
    if (eq == std::string_view::npos)
        return "it has no '='";
    *key = conf_trim(line.substr(0, eq));
    if (key->empty())
        return "its key is empty";
    *value = conf_trim(line.substr(eq + 1));
    return nullptr;
}

conf_t *conf_parse(const char *text, size_t len, int *errline, const char *source)
{
    if (errline != nullptr)
        *errline = 0;
    if (text == nullptr && len > 0)
        return nullptr;
    try {
        conf_t *conf = new conf_t;
        size_t pos = conf_bom_length(text, len);
        int lineno = 0;
        while (pos < len) {
            const char *nl = static_cast<const char *>(memchr(text + pos, '\n', len - pos));
            size_t end = nl != nullptr ? static_cast<size_t>(nl - text) : len;
            if (lineno < INT_MAX)
                lineno++;
            const char *why = parse_line(conf, std::string_view(text + pos, end - pos));
            if (why != nullptr) {
                logMsg("%s, line %d skipped: %s", source, lineno, why);
                if (errline != nullptr && *errline == 0)
                    *errline = lineno;
            }
            pos = end + 1;
        }
        return conf;
    } catch (const std::bad_alloc &) {
        logMsg("%s: out of memory while reading the configuration", source);
        return nullptr;
    }
}

conf_t *conf_create_empty(void)
{
    return new (std::nothrow) conf_t;
}

conf_t *conf_read_buf(const void *buf, size_t len, int *errline)
{
    return conf_parse(static_cast<const char *>(buf), len, errline, "configuration");
}

char *conf_write_buf(const conf_t *conf, size_t *len)
{
    static const char separator[] = " = ";
    if (conf == nullptr)
        return nullptr;
    // A first key that starts with a byte-order mark's bytes would lose
    // them when read back, unless a mark stands before it.
    size_t mark = conf->entries.empty() ? 0
                                        : conf_bom_length(conf->entries[0].key.data(), conf->entries[0].key.size());
    size_t total = mark;
    for (const auto &e : conf->entries)
        total += e.key.size() + sizeof(separator) - 1 + e.value.size() + 1;
    char *text = static_cast<char *>(lacf_malloc(total + 1));
    if (text == nullptr)
        return nullptr;
    memcpy(text, conf_bom_text, mark);
    char *p = text + mark;
    for (const auto &e : conf->entries) {
        memcpy(p, e.key.data(), e.key.size());
        p += e.key.size();
        memcpy(p, separator, sizeof(separator) - 1);
        p += sizeof(separator) - 1;
        memcpy(p, e.value.data(), e.value.size());
        p += e.value.size();
        *p++ = '\n';
    }
    *p = '\0';
    if (len != nullptr)
        *len = total;
    return text;
}

void conf_free(conf_t *conf)
{
    delete conf;
}

bool conf_get_i(const conf_t *conf, const char *key, int *value)
{
    const std::string *text = find_value(conf, key);
    if (text == nullptr)
        return false;
    if (!parse_int(*text, value)) {
        logMsg("Configuration key \"%s\": \"%.64s\" is not a whole number in int range",
            key, text->c_str());
        return false;
    }
    return true;
}

bool conf_get_str(const conf_t *conf, const char *key, const char **value)
{
    const std::string *text = find_value(conf, key);
    if (text == nullptr)
        return false;
    *value = text->c_str();
    return true;
}

/*
 * Only what the file can hold is stored: a key without '=', '#' or line
 * breaks, and a value without '#' or line breaks, both trimmed as reading
 * trims them, so that what is written reads back the same.
 */
void conf_set_str(conf_t *conf, const char *key, const char *value)
{
    if (conf == nullptr || key == nullptr || value == nullptr)
        return;
    std::string_view k = conf_trim(key);
    if (k.empty() || k.find_first_of("=#\n") != std::string_view::npos ||
        strpbrk(value, "#\n") != nullptr) {
        logMsg("Configuration key \"%s\" not set: a key must be non-empty without '=', '#' "
            "or line breaks, and a value without '#' or line breaks", key);
        return;
    }
    try {
        set_entry(conf, k, conf_trim(value));
    } catch (const std::bad_alloc &) {
        logMsg("Configuration key \"%s\" not set: out of memory", key);
    }
}

void conf_set_i(conf_t *conf, const char *key, int value)
{
    char text[16];
    snprintf(text, sizeof(text), "%d", value);
    conf_set_str(conf, key, text);
}
