/*
 * Bringing a configuration text up to date for some keys only: the lines of
 * those keys take the configuration's values, and every other line of the
 * text (other keys, comments, lines that do not parse) stays byte for byte.
 */
#include <acfutils/conf.h>

#include <cstring>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include <acfutils/helpers.h>
#include "conf_parse.h"

namespace {

struct wanted_entry {
    std::string key;
    std::string value;
    bool written = false;
};

// The keys to write, each once, with the values conf holds; keys conf does
// not hold are left to the text.
std::vector<wanted_entry> wanted_entries(const conf_t *conf, const char *const *keys, size_t n_keys)
{
    std::vector<wanted_entry> wanted;
    for (size_t i = 0; i < n_keys; i++) {
        const char *held = nullptr;
        if (keys[i] == nullptr || !conf_get_str(conf, keys[i], &held))
            continue;
        std::string k(conf_trim(keys[i]));
        bool seen = false;
        for (const wanted_entry &w : wanted)
            seen = seen || w.key == k;
        if (!seen)
            wanted.push_back({k, held});
    }
    return wanted;
}

// The line that replaces an entry's line: the new value, the old line's
// comment and line end kept.
std::string entry_line(const wanted_entry &w, std::string_view old_line)
{
    bool cr = !old_line.empty() && old_line.back() == '\r';
    if (cr)
        old_line.remove_suffix(1);
    std::string line = w.key + " = " + w.value;
    size_t hash = old_line.find('#');
    if (hash != std::string_view::npos)
        line.append(" ").append(old_line.substr(hash));
    return cr ? line + "\r" : line;
}

std::string updated_text(const conf_t *conf, const char *const *keys, size_t n_keys, std::string_view text)
{
    std::vector<wanted_entry> wanted = wanted_entries(conf, keys, n_keys);
    text.remove_prefix(conf_bom_length(text.data(), text.size()));
    // Added lines end the way the text's first line does.
    size_t first_nl = text.find('\n');
    const char *eol = first_nl != std::string_view::npos && first_nl > 0 && text[first_nl - 1] == '\r' ? "\r\n"
                                                                                                        : "\n";
    std::string out;
    out.reserve(text.size() + 64);
    size_t pos = 0;
    while (pos < text.size()) {
        size_t nl = text.find('\n', pos);
        size_t end = nl == std::string_view::npos ? text.size() : nl;
        std::string_view line = text.substr(pos, end - pos);
        pos = nl == std::string_view::npos ? text.size() : nl + 1;

        std::string_view key;
        std::string_view value;
        wanted_entry *entry = nullptr;
        if (conf_split_line(line, &key, &value) == nullptr && !key.empty()) {
            for (wanted_entry &w : wanted)
                entry = w.key == key ? &w : entry;
        }
        if (entry == nullptr) {
            out.append(line);
        } else if (!entry->written) {
            out.append(entry_line(*entry, line));
            entry->written = true;
        } else {
            // A later line of the key would win over the one just written.
            continue;
        }
        if (nl != std::string_view::npos)
            out += '\n';
    }
    for (const wanted_entry &w : wanted) {
        if (w.written)
            continue;
        if (!out.empty() && out.back() != '\n')
            out += eol;
        out.append(w.key).append(" = ").append(w.value).append(eol);
    }
    if (conf_bom_length(out.data(), out.size()) != 0)
        out.insert(0, conf_bom_text);
    return out;
}

}  // namespace

char *conf_update_buf(const conf_t *conf, const char *const *keys, size_t n_keys, const void *text, size_t len,
    size_t *out_len)
{
    if (conf == nullptr || (keys == nullptr && n_keys > 0) || (text == nullptr && len > 0))
        return nullptr;
    try {
        std::string out = updated_text(conf, keys, n_keys, std::string_view(static_cast<const char *>(text), len));
        char *buf = static_cast<char *>(lacf_malloc(out.size() + 1));
        if (buf == nullptr)
            return nullptr;
        memcpy(buf, out.data(), out.size());
        buf[out.size()] = '\0';
        if (out_len != nullptr)
            *out_len = out.size();
        return buf;
    } catch (const std::bad_alloc &) {
        return nullptr;
    }
}
