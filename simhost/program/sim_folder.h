/*
 * The folders a run works with: a fresh copy of the built simulator-like
 * folder (so runs never affect each other) and the output folder.
 */
#ifndef SIMHOST_SIM_FOLDER_H
#define SIMHOST_SIM_FOLDER_H

#include <string>

namespace scenario {

// Where the plug-in lives inside a simulator-like folder.
extern const char *const plugin_subfolder;      // Resources/plugins/popups
extern const char *const default_plugin_file;   // .../lin_x64/vxr_pop.xpl (win_x64 on Windows)
// The built simulator-like folder, beside the program's folder.
extern const char *const default_template_folder;   // xplane (xplane-win on Windows)

// The folder of the running program.
std::string program_folder();

// Copies template_dir into a new folder under the system's temporary folder,
// with an empty settings folder and no Log.txt.
bool make_fresh_root(const std::string &template_dir, std::string *root, std::string *error);

// The requested output folder, made if missing; with none requested, a new
// folder under the temporary folder, or ./simhost-out when that fails.
bool make_out_folder(const std::string &requested, std::string *out, std::string *error);

void remove_folder(const std::string &dir);

}  // namespace scenario

#endif
