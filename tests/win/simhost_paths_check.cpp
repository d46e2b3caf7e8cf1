/*
 * The Windows stand-in's paths, run under Wine by the Windows build's ctest:
 * a UTF-8 path made absolute through the wide calls keeps every letter, and
 * the plug-in is handed it in the simulator's native form (UTF-8, '/') or in
 * the legacy one (the code page, '\', '?' for a letter the page lacks).
 * Exit 0 when every check held, else 1 with a line for each that did not.
 */
#include <windows.h>

#include "win_check.h"

#include <cstdio>
#include <string>

// By its path: the stand-in's internal headers are not on the include path.
#include "../../simhost/src/platform.h"

namespace {

bool ends_with(const std::string &text, const std::string &end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

int main()
{
    // "Jürgen 飞行" in UTF-8, and "Jürgen" in the Western code page.
    const std::string folder = "X-Plane 12 J\xC3\xBCrgen \xE9\xA3\x9E\xE8\xA1\x8C";
    const std::string tail = folder + "\\Resources\\plugins\\popups\\win_x64\\vxr_pop.xpl";
    std::string absolute = simhost::native_absolute_path(folder + "/Resources/plugins/popups/win_x64/vxr_pop.xpl");
    CHECK(ends_with(absolute, tail));
    CHECK(absolute.size() > tail.size() && absolute[1] == ':');
    fprintf(stderr, "absolute: %s\n", absolute.c_str());

    std::string native = simhost::xplane_native_path(absolute);
    CHECK(native.find('\\') == std::string::npos);
    CHECK(ends_with(native, folder + "/Resources/plugins/popups/win_x64/vxr_pop.xpl"));

    std::string legacy = simhost::xplane_legacy_path(absolute);
    CHECK(legacy.find('/') == std::string::npos);
    if (GetACP() == 1252)
        CHECK(ends_with(legacy, "X-Plane 12 J\xFCrgen ??\\Resources\\plugins\\popups\\win_x64\\vxr_pop.xpl"));
    else
        fprintf(stderr, "code page %u: the legacy form's letters are not checked\n", GetACP());

    if (win_check_failures == 0)
        printf("simhost_paths_check: all checks held\n");
    return win_check_failures == 0 ? 0 : 1;
}
