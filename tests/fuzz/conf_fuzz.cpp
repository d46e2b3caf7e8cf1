/*
 * Fuzz target for configuration texts. Any bytes must parse without a crash,
 * a hang or a leak into exactly the entries a plain reading of the format
 * gives; the text written from them must read back the same; and every
 * integer conf_get_i accepts must be the whole number its text spells. The
 * text updated for some of its keys must read back with the new values for
 * those keys and the old ones for every other.
 */
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include <acfutils/conf.h>
#include <acfutils/helpers.h>
#include <acfutils/log.h>

namespace {

void check(bool ok, const char *what)
{
    if (!ok) {
        fprintf(stderr, "conf_fuzz: %s\n", what);
        abort();
    }
}

void discard(const char *) {}

// The format as its description reads, written apart from the parser.
struct Reading {
    std::vector<std::string> order;
    std::map<std::string, std::string> values;
    int first_bad_line = 0;
};

std::string trimmed(const std::string &s)
{
    const char *space = " \t\r\v\f";
    size_t b = s.find_first_not_of(space);
    if (b == std::string::npos)
        return "";
    return s.substr(b, s.find_last_not_of(space) - b + 1);
}

Reading read_plainly(const std::string &text)
{
    Reading r;
    size_t start = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    int lineno = 0;
    while (start < text.size()) {
        size_t nl = text.find('\n', start);
        std::string line = text.substr(start, nl == std::string::npos ? std::string::npos : nl - start);
        start = nl == std::string::npos ? text.size() : nl + 1;
        lineno++;
        bool bad = line.find('\0') != std::string::npos;
        if (!bad) {
            line = trimmed(line.substr(0, line.find('#')));
            if (line.empty())
                continue;
            size_t eq = line.find('=');
            std::string key = eq == std::string::npos ? "" : trimmed(line.substr(0, eq));
            bad = key.empty();
            if (!bad) {
                if (r.values.count(key) == 0)
                    r.order.push_back(key);
                r.values[key] = trimmed(line.substr(eq + 1));
            }
        }
        if (bad && r.first_bad_line == 0)
            r.first_bad_line = lineno;
    }
    return r;
}

std::string written(const Reading &r)
{
    // A first key starting with a byte-order mark's bytes gets a mark before it.
    std::string text = !r.order.empty() && r.order[0].compare(0, 3, "\xEF\xBB\xBF") == 0 ? "\xEF\xBB\xBF" : "";
    for (const std::string &key : r.order)
        text += key + " = " + r.values.at(key) + "\n";
    return text;
}

// Whole numbers in int range, judged on the digits as text: the sign, then
// the digits without leading zeros compared with the limit's digits.
bool spells_int(const std::string &value, long long *out)
{
    std::string s = trimmed(value);
    bool negative = !s.empty() && s[0] == '-';
    if (!s.empty() && (s[0] == '-' || s[0] == '+'))
        s.erase(0, 1);
    if (s.empty() || s.find_first_not_of("0123456789") != std::string::npos)
        return false;
    s.erase(0, std::min(s.find_first_not_of('0'), s.size() - 1));
    const std::string limit = negative ? "2147483648" : "2147483647";
    if (s.size() > limit.size() || (s.size() == limit.size() && s > limit))
        return false;
    long long v = 0;
    for (char c : s)
        v = v * 10 + (c - '0');
    *out = negative ? -v : v;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    log_init(discard, "FUZZ");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string input(reinterpret_cast<const char *>(data), size);
    const Reading expected = read_plainly(input);

    int errline = -1;
    conf_t *conf = conf_read_buf(data, size, &errline);
    check(conf != nullptr, "conf_read_buf gave NULL");
    check(errline == expected.first_bad_line, "errline is not the first broken line");

    size_t len = 0;
    char *text = conf_write_buf(conf, &len);
    check(text != nullptr && strlen(text) == len, "conf_write_buf length");
    check(std::string(text, len) == written(expected), "entries differ from a plain reading");

    int back_errline = -1;
    conf_t *back = conf_read_buf(text, len, &back_errline);
    check(back != nullptr && back_errline == 0, "written text does not read back cleanly");
    size_t back_len = 0;
    char *back_text = conf_write_buf(back, &back_len);
    check(back_len == len && memcmp(back_text, text, len) == 0, "read-back writes differently");

    for (const std::string &key : expected.order) {
        const std::string &value = expected.values.at(key);
        const char *str = nullptr;
        check(conf_get_str(back, key.c_str(), &str) && value == str, "read-back value differs");
        int got = INT_MIN + 7;
        bool accepted = conf_get_i(conf, key.c_str(), &got);
        long long want = 0;
        bool is_int = spells_int(value, &want);
        check(accepted == is_int, "conf_get_i accepts or rejects wrongly");
        check(accepted ? got == want : got == INT_MIN + 7, "conf_get_i value");
    }

    // Every other key gets a new value written into the text.
    conf_t *changes = conf_create_empty();
    std::vector<const char *> keys;
    for (size_t i = 0; i < expected.order.size(); i += 2) {
        conf_set_str(changes, expected.order[i].c_str(), ("u" + std::to_string(i)).c_str());
        keys.push_back(expected.order[i].c_str());
    }
    size_t updated_len = 0;
    char *updated = conf_update_buf(changes, keys.data(), keys.size(), data, size, &updated_len);
    check(updated != nullptr, "conf_update_buf gave nothing");
    const Reading after = read_plainly(std::string(updated, updated_len));
    check(after.order == expected.order, "the update added, lost or moved keys");
    for (size_t i = 0; i < expected.order.size(); i++) {
        const std::string &key = expected.order[i];
        std::string want = i % 2 == 0 ? "u" + std::to_string(i) : expected.values.at(key);
        check(after.values.count(key) == 1 && after.values.at(key) == want, "the update's value of a key");
    }
    lacf_free(updated);
    conf_free(changes);

    lacf_free(back_text);
    lacf_free(text);
    conf_free(back);
    conf_free(conf);
    return 0;
}
