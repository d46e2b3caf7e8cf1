/*
 * The Linux plug-in carries its own static copy of the C++ runtime and of the
 * unwinder. That unwinder fills its register-size table on the first
 * exception it raises itself; an exception from the host (thrown by the host's
 * unwinder through an XPLM call) reaching our catch first would find the
 * table empty and abort the simulator. One exception thrown and caught here
 * when the library is loaded fills it.
 */
#ifdef VXR_OWN_CXX_RUNTIME
namespace {

struct UnwinderReady {
    UnwinderReady()
    {
        try {
            throw 0;
        } catch (int) {
        }
    }
} unwinder_ready;

} // namespace
#endif
