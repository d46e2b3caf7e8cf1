// Helpers shared by the reliability tests.
#include "reliability_util.h"

#include <algorithm>


#include <acfutils/conf.h>

#include "Capture/capture_clock.h"
#include "config.h"

namespace reliability {

const char swap_cmd[] = "vxr/popup/swap";

std::map<std::string, int> prefs_in_memory()
{
    std::map<std::string, int> values;
    for (int i = 0; i < popup_pref_registry.count; i++) {
        const auto *p = static_cast<const pref_int *>(popup_pref_registry.prefs[i]);
        // A key written only once set is in the file when it holds another value than its default.
        if (!p->written_when_set || p->get() != p->default_value)
            values[p->name] = p->get();
    }
    return values;
}

testing::AssertionResult cfg_is_whole(const std::string &path, std::map<std::string, int> *values)
{
    vxr_test::CfgFile file = vxr_test::read_cfg(path);
    if (!file.readable)
        return testing::AssertionFailure() << path << " cannot be read";
    testing::AssertionResult result = testing::AssertionSuccess();
    if (file.bad_line != 0)
        result = testing::AssertionFailure() << path << ": line " << file.bad_line << " does not parse";
    for (const std::string &key : vxr_test::popups_cfg_keys()) {
        auto entry = file.entries.find(key);
        int v = 0;
        if (entry == file.entries.end() || !vxr_test::whole_number(entry->second, &v)) {
            if (result)
                result = testing::AssertionFailure() << path << ":";
            result << " no whole number under " << key << ";";
        } else if (values != nullptr) {
            (*values)[key] = v;
        }
    }
    return result;
}

testing::AssertionResult nothing_left(const simhost::Host &host, int threads)
{
    const simhost::LiveObjects live = vxr_test::live_with_threads(host, threads);
    const struct {
        const char *what;
        int count;
    } counts[] = {
        {"windows", live.windows}, {"command handlers", live.command_handlers},
        {"flight loops", live.flight_loops}, {"draw callbacks", live.draw_callbacks},
        {"menus", live.menus}, {"menu items", live.menu_items},
        {"avionics callbacks", live.avionics_callbacks}, {"textures", live.textures},
        {"framebuffers", live.framebuffers}, {"cursors", live.os_cursors},
        // Fewer than before is no leftover: a GL driver queue that had not
        // yet named itself when the threads were first counted.
        {"extra threads", std::max(0, live.threads - threads)},
    };
    testing::AssertionResult result = testing::AssertionSuccess();
    for (const auto &c : counts) {
        if (c.count == 0)
            continue;
        if (result)
            result = testing::AssertionFailure() << "still alive:";
        result << " " << c.count << " " << c.what << ";";
    }
    return result;
}

namespace {

uint32_t crc32_of(const std::string &bytes)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char c : bytes) {
        crc ^= c;
        for (int k = 0; k < 8; k++)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return crc ^ 0xFFFFFFFFu;
}

void put_u32(std::string &out, uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>((v >> shift) & 0xFF);
}

void put_chunk(std::string &png, const char *type, const std::string &data)
{
    put_u32(png, static_cast<uint32_t>(data.size()));
    std::string body = std::string(type, 4) + data;
    png += body;
    put_u32(png, crc32_of(body));
}

// A zlib stream of stored (uncompressed) deflate blocks.
std::string zlib_stored(const std::string &raw)
{
    std::string out = "\x78\x01";
    size_t pos = 0;
    do {
        size_t n = std::min<size_t>(raw.size() - pos, 65535);
        bool last = pos + n == raw.size();
        out += static_cast<char>(last ? 1 : 0);
        out += static_cast<char>(n & 0xFF);
        out += static_cast<char>(n >> 8);
        out += static_cast<char>(~n & 0xFF);
        out += static_cast<char>((~n >> 8) & 0xFF);
        out.append(raw, pos, n);
        pos += n;
    } while (pos < raw.size());
    uint32_t a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    put_u32(out, (b << 16) | a);
    return out;
}

}  // namespace

std::string png_bytes(uint32_t width, uint32_t height, bool pixels)
{
    std::string png = "\x89PNG\r\n\x1a\n";
    std::string header;
    put_u32(header, width);
    put_u32(header, height);
    header += std::string("\x08\x00\x00\x00\x00", 5);   // 8-bit grey, no interlace
    put_chunk(png, "IHDR", header);
    if (pixels) {
        // Each row: filter type 0, then one mid-grey byte per pixel.
        std::string row = std::string(1, '\0') + std::string(width, '\x80');
        std::string raw;
        for (uint32_t y = 0; y < height; y++)
            raw += row;
        put_chunk(png, "IDAT", zlib_stored(raw));
    } else {
        put_chunk(png, "IDAT", std::string("\x78\x01\x00\x10\x00", 5));
    }
    put_chunk(png, "IEND", "");
    return png;
}

namespace {
uint64_t clock_now_us = 0;
uint64_t stepping_clock() { return clock_now_us; }
}  // namespace

void use_stepping_clock()
{
    clock_now_us = 1000000;
    capture_clock_set_source(stepping_clock);
}

void step_clock() { clock_now_us += 50000; }

}  // namespace reliability
