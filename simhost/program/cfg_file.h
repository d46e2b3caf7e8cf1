/*
 * Reads the plug-in's settings file the way a person reads it: "key = value"
 * lines, '#' starting a comment, blank lines and lines without '=' skipped.
 * Kept apart from the plug-in's own reader so a scenario checks the file, not
 * that reader's opinion of it.
 */
#ifndef SIMHOST_CFG_FILE_H
#define SIMHOST_CFG_FILE_H

#include <map>
#include <string>

namespace scenario {

// Keys and values, blanks around each trimmed; a later line wins over an earlier one.
std::map<std::string, std::string> parse_cfg_text(const std::string &text);
// False when the file cannot be read.
bool read_cfg_file(const std::string &path, std::map<std::string, std::string> *values);

}  // namespace scenario

#endif
