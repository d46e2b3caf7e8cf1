/*
 * The Linux plug-in carries its own static copies of cairo, pixman and the C++
 * runtime. Loaded, it readies its own unwinder; unloaded, it gives back the
 * static data those copies keep for the life of a process, which would
 * otherwise be lost with the library at every unload.
 */
#ifdef VXR_OWN_CXX_RUNTIME
#include <cairo.h>

namespace __gnu_cxx {
// The C++ runtime's release of its emergency exception buffer (the function
// Valgrind calls for the process's own runtime at exit).
void __freeres() noexcept;
} // namespace __gnu_cxx

namespace {

struct OwnRuntime {
    // The unwinder fills its register-size table on the first exception it
    // raises itself; a host's exception (thrown by the host's unwinder through
    // an XPLM call) reaching our catch first would find the table empty and
    // abort the simulator.
    OwnRuntime()
    {
        try {
            throw 0;
        } catch (int) {
        }
    }

    // Last of the library's static destructors: by then XPluginStop has
    // stopped the renderers and no cairo object is alive.
    ~OwnRuntime()
    {
        cairo_debug_reset_static_data();
        __gnu_cxx::__freeres();
    }
};

// Made first and so destroyed last.
OwnRuntime own_runtime __attribute__((init_priority(101)));

} // namespace
#endif
