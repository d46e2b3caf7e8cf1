/*
 * The desktop cursor hooks the utility library calls (declared on its side
 * as weak references) and the record of the cursor shown.
 */
#include "os_cursor.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include <XPLMDefs.h>

namespace simhost {
namespace {

std::vector<std::unique_ptr<OsCursor>> &cursors()
{
    static std::vector<std::unique_ptr<OsCursor>> list;
    return list;
}

const OsCursor *shown = nullptr;

bool alive(const void *cursor)
{
    const auto &list = cursors();
    return std::any_of(list.begin(), list.end(), [cursor](const auto &c) { return c.get() == cursor; });
}

}  // namespace

const OsCursor *os_cursor_current() { return shown; }

int os_cursor_count() { return static_cast<int>(cursors().size()); }

}  // namespace simhost

using simhost::OsCursor;

extern "C" XPLM_API void *lacf_os_cursor_create(const uint32_t *argb, int w, int h, const char *name)
{
    if (argb == nullptr || w <= 0 || h <= 0)
        return nullptr;
    auto cursor = std::make_unique<OsCursor>();
    cursor->argb.assign(argb, argb + static_cast<size_t>(w) * static_cast<size_t>(h));
    cursor->width = w;
    cursor->height = h;
    cursor->name = name ? name : "";
    simhost::cursors().push_back(std::move(cursor));
    return simhost::cursors().back().get();
}

extern "C" XPLM_API void lacf_os_cursor_show(void *os_cursor)
{
    if (simhost::alive(os_cursor))
        simhost::shown = static_cast<const OsCursor *>(os_cursor);
}

extern "C" XPLM_API void lacf_os_cursor_destroy(void *os_cursor)
{
    auto &list = simhost::cursors();
    if (simhost::shown == os_cursor)
        simhost::shown = nullptr;
    list.erase(std::remove_if(list.begin(), list.end(), [os_cursor](const auto &c) { return c.get() == os_cursor; }),
               list.end());
}
