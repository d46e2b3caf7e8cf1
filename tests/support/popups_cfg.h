/*
 * The plug-in's settings file for tests: its sixteen keys, and popups.cfg
 * read back with the utility library's own reader.
 */
#ifndef VXR_TEST_POPUPS_CFG_H
#define VXR_TEST_POPUPS_CFG_H

#include <map>
#include <string>
#include <vector>

namespace vxr_test {

// The keys in registration order: the PFD's seven placement keys, the MFD's
// seven, then the two displays' source keys.
const std::vector<std::string> &popups_cfg_keys();

struct CfgFile {
    bool readable = false;   // false when there is no file or it cannot be read
    int bad_line = 0;        // the first line that does not parse; 0 when every line does
    std::map<std::string, std::string> entries;   // every entry read, any key, value as text
};

// Reads without logging anything when there is no file.
CfgFile read_cfg(const std::string &path);

// A value that is a whole number in int range, as conf_get_i takes one.
bool whole_number(const std::string &text, int *value);

}  // namespace vxr_test

#endif
