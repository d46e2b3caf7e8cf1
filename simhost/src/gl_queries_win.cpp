/*
 * The GL queries on Windows: opengl32.dll's are bound by the plug-in's own
 * import table, which the stand-in does not intercept, so they go uncounted.
 */
#include "costs.h"

namespace simhost {

bool gl_queries_counted() { return false; }

}  // namespace simhost
