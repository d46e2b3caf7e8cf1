/*
 * The utility library's file calls on Windows, run under Wine by the Windows
 * build's ctest: in a folder named with letters outside every code page,
 * settings written, updated and read, stale temporaries cleaned up, the
 * overlay and a cursor loaded from PNGs, each file found under its wide name.
 * Exit 0 when every check held, else 1 with a line for each that did not.
 */
#include <windows.h>

#include "win_check.h"

#include <cairo.h>
#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

#include <acfutils/conf.h>
#include <acfutils/cursor.h>
#include <acfutils/helpers.h>
#include <acfutils/path.h>

#include "Popups/overlay_image.h"

namespace {

// "X-Plane 12 Jürgen 飞行" in UTF-8 and in UTF-16.
const char folder_utf8[] = "X-Plane 12 J\xC3\xBCrgen \xE9\xA3\x9E\xE8\xA1\x8C";
const wchar_t folder_wide[] = L"X-Plane 12 J\u00FCrgen \u98DE\u884C";

std::vector<std::wstring> entries(const std::wstring &dir)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE h = FindFirstFileW((dir + L"\\*").c_str(), &found);
    if (h == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::wstring name = found.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(name);
    } while (FindNextFileW(h, &found));
    FindClose(h);
    return names;
}

DWORD attributes(const std::wstring &path) { return GetFileAttributesW(path.c_str()); }
bool is_folder(const std::wstring &path)
{
    DWORD a = attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) != 0;
}
bool is_file(const std::wstring &path)
{
    DWORD a = attributes(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

void remove_tree(const std::wstring &dir)
{
    for (const std::wstring &name : entries(dir)) {
        std::wstring path = dir + L"\\" + name;
        if (is_folder(path))
            remove_tree(path);
        else
            DeleteFileW(path.c_str());
    }
    RemoveDirectoryW(dir.c_str());
}

void check_conversion()
{
    CHECK(path_native(folder_utf8) == folder_wide);
    CHECK(path_utf8(folder_wide) == folder_utf8);
    CHECK(path_native("J\xC3(rgen").empty());   // not UTF-8
    errno = 0;
    CHECK(path_fopen("J\xC3(rgen", "rb") == nullptr && errno == EINVAL);
}

void check_settings(const std::string &dir, const std::wstring &wdir)
{
    std::string cfg = dir + "\\popups.cfg";
    std::wstring wcfg = wdir + L"\\popups.cfg";
    FILE *stale = _wfopen((wcfg + L".a1B2c3").c_str(), L"wb");
    CHECK(stale != nullptr);
    if (stale != nullptr)
        fclose(stale);

    conf_t *conf = conf_create_empty();
    conf_set_i(conf, "pfd_nbzl_x", 448);
    conf_set_i(conf, "mfd_nbzl_w", 1024);
    CHECK(conf_write_file(conf, cfg.c_str()));
    CHECK(is_file(wcfg));
    CHECK(entries(wdir) == std::vector<std::wstring>{L"popups.cfg"});

    conf_set_i(conf, "pfd_nbzl_x", 12);
    conf_set_i(conf, "mfd_nbzl_w", 99);
    const char *keys[] = {"pfd_nbzl_x"};
    CHECK(conf_update_file(conf, keys, 1, cfg.c_str()));
    conf_free(conf);

    int errline = -1, x = 0, w = 0;
    conf_t *back = conf_read_file(cfg.c_str(), &errline);
    CHECK(back != nullptr && errline == 0);
    if (back != nullptr) {
        CHECK(conf_get_i(back, "pfd_nbzl_x", &x) && x == 12);
        CHECK(conf_get_i(back, "mfd_nbzl_w", &w) && w == 1024);
        conf_free(back);
    }
    CHECK(entries(wdir) == std::vector<std::wstring>{L"popups.cfg"});
    // The same bytes through a narrow call name another file: what the wide
    // calls above are for (and what makes these checks worth running).
    FILE *narrow = fopen(cfg.c_str(), "rb");
    CHECK(narrow == nullptr);
    if (narrow != nullptr)
        fclose(narrow);
    bool isdir = true;
    CHECK(file_exists(cfg.c_str(), &isdir) && !isdir);
    CHECK(path_remove(cfg.c_str()) == 0 && !is_file(wcfg));
}

void check_images(const std::string &dir, const std::wstring &wdir)
{
    std::string png = dir + "\\nobezel.png";
    cairo_surface_t *image = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 40, 30);
    CHECK(cairo_surface_write_to_png(image, png.c_str()) == CAIRO_STATUS_SUCCESS);
    cairo_surface_destroy(image);
    CHECK(is_file(wdir + L"\\nobezel.png"));

    cairo_surface_t *overlay = overlay_image_read(png.c_str());
    CHECK(overlay != nullptr);
    if (overlay != nullptr) {
        CHECK(cairo_image_surface_get_width(overlay) == 40 && cairo_image_surface_get_height(overlay) == 30);
        cairo_surface_destroy(overlay);
    }
    cursor_t *cursor = cursor_read_from_file(png.c_str());
    CHECK(cursor != nullptr);
    if (cursor != nullptr)
        cursor_free(cursor);
}

}  // namespace

int main()
{
    check_conversion();

    wchar_t temp[MAX_PATH + 1];
    DWORD n = GetTempPathW(MAX_PATH + 1, temp);
    if (n == 0 || n > MAX_PATH) {
        fprintf(stderr, "no temporary folder\n");
        return 1;
    }
    std::wstring work = std::wstring(temp, n) + L"vxr-utf8-" + std::to_wstring(GetCurrentProcessId());
    remove_tree(work);
    if (!CreateDirectoryW(work.c_str(), nullptr)) {
        fprintf(stderr, "cannot make a folder in the temporary folder\n");
        return 1;
    }
    std::wstring wdir = work + L"\\" + folder_wide;
    std::string dir = path_utf8(wdir);
    CHECK(create_directory(dir.c_str()));
    CHECK(is_folder(wdir));
    CHECK(entries(work) == std::vector<std::wstring>{folder_wide});
    CHECK(create_directory(dir.c_str()));   // there already: not a failure

    check_settings(dir, wdir);
    check_images(dir, wdir);
    CHECK(entries(work) == std::vector<std::wstring>{folder_wide});

    remove_tree(work);
    if (win_check_failures == 0)
        printf("utf8_path_check: all checks held\n");
    return win_check_failures == 0 ? 0 : 1;
}
