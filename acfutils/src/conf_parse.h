/*
 * Shared between the configuration model, its file handling and its updating
 * of texts: how a line is read, and parsing of a configuration text whose
 * log lines name where the text came from.
 */
#ifndef ACFUTILS_CONF_PARSE_H
#define ACFUTILS_CONF_PARSE_H

#include <string_view>

#include <acfutils/conf.h>

// Blanks around the text removed, as keys and values are read.
std::string_view conf_trim(std::string_view s);
// The UTF-8 byte-order mark (text editors may save one), and its length, 3,
// when the text starts with it, else 0. It is no part of the first line, and
// is written only before a first line that starts with the same bytes.
extern const char conf_bom_text[];
size_t conf_bom_length(const char *text, size_t len);
// Why a line (without its '\n') cannot be an entry, or NULL when it is one,
// with its key and value, or is blank or a comment, with an empty key.
const char *conf_split_line(std::string_view line, std::string_view *key, std::string_view *value);

conf_t *conf_parse(const char *text, size_t len, int *errline, const char *source);

#endif
