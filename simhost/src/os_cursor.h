/*
 * The desktop's mouse cursors, as the utility library creates, shows and
 * destroys them through the lacf_os_cursor_* hooks this library exports.
 */
#ifndef SIMHOST_OS_CURSOR_H
#define SIMHOST_OS_CURSOR_H

#include <cstdint>
#include <string>
#include <vector>

namespace simhost {

struct OsCursor {
    std::vector<uint32_t> argb;   // premultiplied ARGB32, rows from the top down
    int width = 0;
    int height = 0;
    std::string name;             // the file it came from
};

// The cursor shown last, nullptr when none is (or it was destroyed).
const OsCursor *os_cursor_current();
int os_cursor_count();

}  // namespace simhost

#endif
