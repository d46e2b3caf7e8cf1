/*
 * File names. The plug-in and this library hold every path as UTF-8 (the
 * simulator's native paths); these calls hand a path to the operating system
 * in its own form: UTF-16 for the wide calls on Windows, unchanged elsewhere.
 */
#ifndef ACFUTILS_PATH_H
#define ACFUTILS_PATH_H

#include <cstdio>
#include <string>

#include "core.h"

#if defined(_WIN32)
typedef std::wstring path_native_t;
#else
typedef std::string path_native_t;
#endif

/* The path in the platform's file-name form; on Windows, a path that is not
 * valid UTF-8 gives an empty name, which opens nothing. */
API_EXPORT path_native_t path_native(const char *utf8);
/* A file name from the platform back to UTF-8. */
API_EXPORT std::string path_utf8(const path_native_t &native);

/* As fopen; nullptr with errno set when it fails. */
API_EXPORT FILE *path_fopen(const char *utf8, const char *mode);
/* True when something is at the path; *isdir (may be nullptr) says whether a folder. */
API_EXPORT bool path_exists(const char *utf8, bool *isdir);
/* Creates one folder: 0, or the errno of the failure (EEXIST when something is there). */
API_EXPORT int path_mkdir(const char *utf8);
/* Removes one file: 0, or the errno of the failure. */
API_EXPORT int path_remove(const char *utf8);
/* Creates a new file for writing from a name ending in "XXXXXX", which is
 * replaced with the name made: its descriptor, or -1 with why in *error. */
API_EXPORT int path_create_temporary(std::string *utf8_name, std::string *error);
/* Puts the file from in the place of to, whether to exists or not, with the
 * permissions the replaced file had; "" or why not. */
API_EXPORT std::string path_replace(const char *from, const char *to);
/* Waits until a replace of the file is on the disk; "" or why not. */
API_EXPORT std::string path_sync_folder(const char *utf8_file);

#endif
