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
#include <vector>

namespace scenario {

// Keys and values, blanks around each trimmed; a later line wins over an
// earlier one. A byte-order mark before the first line is not seen.
std::map<std::string, std::string> parse_cfg_text(const std::string &text);
// False when the file cannot be read.
bool read_cfg_file(const std::string &path, std::map<std::string, std::string> *values);

// The file's bytes; false when it cannot be read.
bool read_cfg_bytes(const std::string &path, std::string *text);
// The text's lines without their line ends ("\n" or "\r\n"), byte-order mark included.
std::vector<std::string> cfg_lines(const std::string &text);
// How many lines hold the key.
int count_cfg_key(const std::string &text, const std::string &key);
// A hand edit: a "KEY = VALUE" line replaces the first line holding KEY, or
// is appended, as any other line is; the rest of the text stays as it is.
std::string edit_cfg_text(const std::string &text, const std::string &line);

}  // namespace scenario

#endif
