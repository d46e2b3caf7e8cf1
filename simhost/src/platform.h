/*
 * What the stand-in needs from the operating system besides OpenGL: opening a
 * plug-in library and finding its entry points, native absolute paths, and
 * the number of threads in the process. Each platform has its own source file.
 */
#ifndef SIMHOST_PLATFORM_H
#define SIMHOST_PLATFORM_H

#include <string>

#include "simhost/host.h"

namespace simhost {

// Opens the library and finds the five XPlugin* entry points. nullptr, with
// the reason in *error, when the library does not open or lacks one of them.
void *open_plugin_library(const std::string &path, PluginEntryPoints *entry, std::string *error);
void close_plugin_library(void *library);

// The path as an absolute path in the system's form (the file need not
// exist); UTF-8 in and out, with backslashes on Windows.
std::string native_absolute_path(const std::string &path);

// A path of the system's form as the simulator hands it to plug-ins: with
// native paths, UTF-8 with '/' between folders; without, as legacy paths
// are (on Windows in the process's code page, where a letter it lacks
// becomes '?'). On Linux both are the path as it is.
std::string xplane_native_path(const std::string &path);
std::string xplane_legacy_path(const std::string &path);

// Threads of this process, the calling one included.
int process_thread_count();

}  // namespace simhost

#endif
