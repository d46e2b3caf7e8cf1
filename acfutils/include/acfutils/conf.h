/*
 * Configuration files: "key = value" lines, '#' starts a comment, blank lines
 * are skipped, a leading UTF-8 byte-order mark is passed over (and written
 * only before a first key that itself starts with the mark's bytes). Integer reads are strict: a value that is not a whole number in
 * int range is reported absent (and logged with its key). Writes are atomic:
 * a temporary file in the same folder, flushed and synced, renamed over the
 * old one; on failure the old file stays whole and the temporary is removed.
 */
#ifndef ACFUTILS_CONF_H
#define ACFUTILS_CONF_H

#include <stdbool.h>
#include <stddef.h>
#include "core.h"

#ifdef __cplusplus
extern "C" {
#endif

typedef struct conf conf_t;

API_EXPORT conf_t *conf_create_empty(void);
/* NULL when the file cannot be read; *errline (when given) names the first line
 * that could not be parsed, 0 when none. Unparsable lines are logged and skipped. */
API_EXPORT conf_t *conf_read_file(const char *filename, int *errline);
API_EXPORT conf_t *conf_read_buf(const void *buf, size_t len, int *errline);
API_EXPORT bool conf_write_file(const conf_t *conf, const char *filename);
/* The file's text, as conf_write_file writes it; released with lacf_free. */
API_EXPORT char *conf_write_buf(const conf_t *conf, size_t *len);
API_EXPORT void conf_free(conf_t *conf);

/* For files other hands edit too: the text with the entries of these keys set
 * to the values conf holds (a key's first line takes the value and keeps its
 * comment, its later lines go, a key the text lacks is appended) and every
 * other line byte for byte. Keys conf does not hold are left as the text has
 * them. Released with lacf_free; NULL when out of memory. */
API_EXPORT char *conf_update_buf(const conf_t *conf, const char *const *keys, size_t n_keys,
    const void *text, size_t len, size_t *out_len);
/* conf_update_buf on the file as it is now, written atomically. A file that
 * does not exist is written whole from conf, as conf_write_file does; one
 * that exists but cannot be read is left as it is, and false returned. */
API_EXPORT bool conf_update_file(const conf_t *conf, const char *const *keys, size_t n_keys,
    const char *filename);

API_EXPORT bool conf_get_i(const conf_t *conf, const char *key, int *value);
API_EXPORT void conf_set_i(conf_t *conf, const char *key, int value);
API_EXPORT bool conf_get_str(const conf_t *conf, const char *key, const char **value);
API_EXPORT void conf_set_str(conf_t *conf, const char *key, const char *value);

#ifdef __cplusplus
}
#endif

#endif
