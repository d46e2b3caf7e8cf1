/*
 * The preference store: named integer preferences with defaults, kept in
 * memory and persisted in popups.cfg through the utility library's conf files.
 */
#ifndef VXR_CONFIG_H
#define VXR_CONFIG_H

#include <cstddef>
#include <cstdint>

#include <acfutils/conf.h>

class pref_registry;

// A persisted preference. Preferences are globals, never deleted through a
// base pointer, hence no virtual destructor.
class prf {
public:
    const char *name;
    bool loaded = false;
    bool changed = false;
    // Its key reaches the file only once it is set: absent, it holds its
    // default without a line being added.
    bool written_when_set = false;
    pref_registry *owner;

    virtual void store() = 0;
    virtual void load() = 0;

protected:
    prf(pref_registry *owner, const char *name);
    ~prf() = default;
};

class pref_int final : public prf {
public:
    int32_t value;
    int32_t last_set = 0;
    int32_t default_value;

    pref_int(pref_registry *owner, const char *name, int32_t default_value, bool written_when_set = false);
    int32_t get() const { return value; }
    void set(int32_t v);
    void store() override;
    void load() override;
};

// Where a display's picture comes from (the popup's `source` preference).
enum popup_source_pref {
    SOURCE_AUTOMATIC = 0,   // the stock device where the aircraft uses it, else the panel region
    SOURCE_PANEL = 1,       // the panel region
    SOURCE_DEVICE = 2,      // the stock device's screen
};

// What a display does at start-up (the popup's `popup_at_start` preference).
// A value above AT_START_CLOSED opens the window at start; a negative one
// keeps it closed and also out of the start-up monitor assignment.
enum popup_at_start_pref {
    AT_START_CLOSED = 0,
    AT_START_POPPED_OUT = 1,   // popped out at the saved rectangle, when no start monitor is saved
    AT_START_ON_MONITOR = 2,   // full screen on monitor_start
};

// The preferences of one popup: the seven it always had, then its picture's source.
struct popup_prefs {
    pref_int *x;
    pref_int *y;
    pref_int *w;
    pref_int *h;
    pref_int *fill_window;
    pref_int *popup_at_start;
    pref_int *monitor_start;
    pref_int *source;
};

class pref_registry {
public:
    static constexpr int max_prefs = 192;

    prf *prefs[max_prefs] = {};
    int count = 0;
    conf_t *conf = nullptr;
    char *path = nullptr;
    const char *file_name = nullptr;
    // What the next write puts into the file: preferences whose defaults
    // were added to conf, and preferences stored since the last write.
    prf *added[max_prefs] = {};
    int added_count = 0;
    prf *stored[max_prefs] = {};
    int stored_count = 0;
    // While init works on a file it could not read cleanly, writes replace it whole.
    bool replace_file = false;

    constexpr pref_registry() = default;
    void add(prf *p);
    void init(const char *settings_dir, const char *file_name);
    void destroy();
    void sync();
    // Writes the added and stored keys' values from conf into the file as it
    // is now, in one write, leaving every other line of it as the user may
    // have edited it meanwhile.
    void write_pending();
};

extern pref_registry popup_pref_registry;
extern popup_prefs pfd_nbzl_prefs;
extern popup_prefs mfd_nbzl_prefs;

// The preferences of the screen in that row of the screen table.
popup_prefs *screen_prefs(size_t screen);

#endif
