/*
 * The plug-in's own folder, derived from the path of its library file: the
 * library sits in a platform folder inside the plug-in's folder, so the folder
 * is the path less its last two components, with its trailing separator.
 */
#ifndef VXR_PLUGIN_DIR_H
#define VXR_PLUGIN_DIR_H

#include <cstddef>

enum class plugin_dir_result {
    ok,
    too_few_components,   // no folder above the platform folder
    too_long,             // the path or the folder does not fit its buffer
};

// Reads at most path_size bytes of file_path; writes at most dir_size bytes of
// dir, which is the empty text whenever the result is not ok. Both '/' and '\'
// separate components.
plugin_dir_result derive_plugin_dir(const char *file_path, size_t path_size, char *dir, size_t dir_size);

#endif
