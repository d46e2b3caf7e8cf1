/*
 * The preference store: integer preferences registered at library load (the
 * fourteen of the windows, the pictures' two sources, then the keys of
 * every other screen of the screen table, written only once set), read
 * from popups.cfg (missing or unreadable keys get their defaults), and
 * written back at enable and at disable whenever they changed. A write touches only the keys it is for, so edits the user makes
 * to the file while the plug-in runs are kept.
 */
#include "config.h"

#include <array>
#include <cstdio>
#include <utility>

#include <acfutils/assert.h>
#include <acfutils/helpers.h>
#include <acfutils/log.h>

#include "screens.h"

pref_registry popup_pref_registry;

// The seven window preferences of one display, each named after the display
// (pfd or mfd): the key and the variable share the name.
#define WINDOW_PREFS(d)                                                                          \
    static pref_int d##_nbzl_x(&popup_pref_registry, #d "_nbzl_x", 0);                           \
    static pref_int d##_nbzl_y(&popup_pref_registry, #d "_nbzl_y", 0);                           \
    static pref_int d##_nbzl_w(&popup_pref_registry, #d "_nbzl_w", 1024);                        \
    static pref_int d##_nbzl_h(&popup_pref_registry, #d "_nbzl_h", 768);                         \
    static pref_int d##_nbzl_fill_window(&popup_pref_registry, #d "_nbzl_fill_window", 1);       \
    static pref_int d##_nbzl_popup_at_start(&popup_pref_registry, #d "_nbzl_popup_at_start", 0); \
    static pref_int d##_nbzl_monitor_start(&popup_pref_registry, #d "_nbzl_monitor_start", -1);

// Registered in this order: the PFD's window, the MFD's, then both sources.
WINDOW_PREFS(pfd)
WINDOW_PREFS(mfd)
static pref_int pfd_nbzl_source(&popup_pref_registry, "pfd_nbzl_source", SOURCE_AUTOMATIC);
static pref_int mfd_nbzl_source(&popup_pref_registry, "mfd_nbzl_source", SOURCE_AUTOMATIC);

// One display's preferences, as its record links them.
#define DISPLAY_PREFS(d)                                                                       \
    {&d##_nbzl_x, &d##_nbzl_y, &d##_nbzl_w, &d##_nbzl_h, &d##_nbzl_fill_window,              \
     &d##_nbzl_popup_at_start, &d##_nbzl_monitor_start, &d##_nbzl_source}

popup_prefs pfd_nbzl_prefs = DISPLAY_PREFS(pfd);
popup_prefs mfd_nbzl_prefs = DISPLAY_PREFS(mfd);

namespace {

// The eight preferences of a screen after the G1000 pair, their keys made
// from its row's prefix, registered after every other preference and
// written only once set: a file that never named the screen stays as it was.
class screen_keys {
public:
    explicit screen_keys(const char *prefix)
        : x(&popup_pref_registry, field(0, prefix, "x"), 0),
          y(&popup_pref_registry, field(1, prefix, "y"), 0),
          w(&popup_pref_registry, field(2, prefix, "w"), 1024),
          h(&popup_pref_registry, field(3, prefix, "h"), 768),
          fill_window(&popup_pref_registry, field(4, prefix, "fill_window"), 1),
          popup_at_start(&popup_pref_registry, field(5, prefix, "popup_at_start"), AT_START_CLOSED),
          monitor_start(&popup_pref_registry, field(6, prefix, "monitor_start"), -1),
          source(&popup_pref_registry, field(7, prefix, "source"), SOURCE_AUTOMATIC),
          prefs{&x, &y, &w, &h, &fill_window, &popup_at_start, &monitor_start, &source}
    {
        for (pref_int *p : {&x, &y, &w, &h, &fill_window, &popup_at_start, &monitor_start, &source})
            p->written_when_set = true;
    }

private:
    static constexpr size_t key_size = 64;

    // The key of one field, kept here: a preference holds its name's text but does not own it.
    const char *field(int i, const char *prefix, const char *name)
    {
        snprintf(keys[i], key_size, "%s_%s", prefix, name);
        return keys[i];
    }

    char keys[8][key_size];
    pref_int x, y, w, h, fill_window, popup_at_start, monitor_start, source;

public:
    popup_prefs prefs;
};

constexpr size_t pair_screens = 2;

template <size_t... I>
std::array<screen_keys, sizeof...(I)> make_screen_keys(std::index_sequence<I...>)
{
    return {screen_keys(screen_table[pair_screens + I].key_prefix)...};
}

auto other_screen_keys = make_screen_keys(std::make_index_sequence<screen_count - pair_screens>());

}  // namespace

popup_prefs *screen_prefs(size_t screen)
{
    if (screen == screen_pfd)
        return &pfd_nbzl_prefs;
    if (screen == screen_mfd)
        return &mfd_nbzl_prefs;
    return &other_screen_keys[screen - pair_screens].prefs;
}

prf::prf(pref_registry *owner, const char *name) : name(name), owner(owner)
{
}

pref_int::pref_int(pref_registry *owner, const char *name, int32_t default_value, bool written_when_set)
    : prf(owner, name), value(default_value), default_value(default_value)
{
    this->written_when_set = written_when_set;
    owner->add(this);
}

void pref_int::set(int32_t v)
{
    value = v;
    if (v != last_set) {
        changed = true;
        last_set = v;
    }
}

void pref_int::load()
{
    if (owner->conf == nullptr)
        return;
    // A key written only once set is left out while the file lacks it; one
    // the file names with a value that is not a whole number is replaced by
    // its default as any other is, so that it is reported once, not at every
    // later look at the file.
    const char *text = nullptr;
    if (!conf_get_i(owner->conf, name, &value) && (!written_when_set || conf_get_str(owner->conf, name, &text))) {
        conf_set_i(owner->conf, name, default_value);
        owner->added[owner->added_count++] = this;
        logMsg("Error Getting Data - added: %s", name);
    }
    // A later set differs from what the configuration holds whenever it
    // differs from this.
    last_set = value;
    loaded = true;
}

void pref_int::store()
{
    if (owner->conf == nullptr)
        return;
    // A key written only once set stays out of a file that lacks it while
    // its value is the default.
    int32_t on_disk = 0;
    if (written_when_set && value == default_value && !conf_get_i(owner->conf, name, &on_disk)) {
        changed = false;
        return;
    }
    conf_set_i(owner->conf, name, value);
    owner->stored[owner->stored_count++] = this;
}

void pref_registry::add(prf *p)
{
    VERIFY(count < max_prefs);
    prefs[count++] = p;
}

void pref_registry::init(const char *settings_dir, const char *file_name)
{
    this->file_name = file_name;
    lacf_free(path);
    path = mkpathname(settings_dir, file_name, nullptr);
    logMsg("Created Configuration: %s with path %s", file_name, path);

    if (!create_directory(settings_dir))
        logMsg("Unable to create the settings folder %s", settings_dir);

    if (conf != nullptr)
        conf_free(conf);
    int errline = 0;
    conf = conf_read_file(path, &errline);
    // A file that cannot be read, or holds lines that are not settings (each
    // logged as skipped), is made whole again from what could be read.
    replace_file = conf == nullptr || errline != 0;
    if (conf == nullptr) {
        logMsg("Error Reading Config File. Creating New File");
        conf = conf_create_empty();
    }
    sync();
    conf_free(conf);

    // Keep open what is on disk, so that later changes are written on top of it.
    errline = 0;
    conf = conf_read_file(path, &errline);
    if (conf == nullptr)
        logMsg("Unable to Initialize Failures");
    sync();
}

void pref_registry::write_pending()
{
    if (conf != nullptr && (replace_file || added_count + stored_count > 0)) {
        const char *keys[2 * max_prefs];
        int n = 0;
        for (int i = 0; i < added_count; i++)
            keys[n++] = added[i]->name;
        for (int i = 0; i < stored_count; i++)
            keys[n++] = stored[i]->name;
        bool ok = replace_file ? conf_write_file(conf, path) : conf_update_file(conf, keys, static_cast<size_t>(n), path);
        for (int i = 0; i < stored_count; i++) {
            if (ok)
                stored[i]->changed = false;
            else
                logMsg("Unable to write %s: %s stays to be saved", path, stored[i]->name);
        }
    }
    added_count = 0;
    stored_count = 0;
    replace_file = false;
}

void pref_registry::sync()
{
    for (int i = 0; i < count; i++) {
        prf *p = prefs[i];
        int on_disk = 0;
        if (!p->loaded)
            p->load();
        else if (p->changed)
            p->store();
        else if (conf != nullptr && !conf_get_i(conf, p->name, &on_disk))
            // The file lost the key, or its value, while the plug-in was
            // disabled: the value in memory goes back, so that the next
            // start reads what the user saved.
            p->store();
    }
    write_pending();
}

void pref_registry::destroy()
{
    if (file_name == nullptr)
        return;
    logMsg("Destroying %s", file_name);
    for (int i = 0; i < count; i++) {
        if (prefs[i]->loaded && prefs[i]->changed)
            prefs[i]->store();
    }
    write_pending();
    if (conf != nullptr)
        conf_free(conf);
    conf = nullptr;
    lacf_free(path);
    path = nullptr;
}
