/*
 * The callback probe's slot (see callback_probe.h).
 */
#include "callback_probe.h"

namespace simhost {

CallbackProbe callback_probe = nullptr;

void set_callback_probe(CallbackProbe probe) { callback_probe = probe; }

}  // namespace simhost
