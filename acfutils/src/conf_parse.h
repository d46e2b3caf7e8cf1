/*
 * Shared between the configuration model and its file handling: parsing of a
 * configuration text whose log lines name where the text came from.
 */
#ifndef ACFUTILS_CONF_PARSE_H
#define ACFUTILS_CONF_PARSE_H

#include <acfutils/conf.h>

conf_t *conf_parse(const char *text, size_t len, int *errline, const char *source);

#endif
