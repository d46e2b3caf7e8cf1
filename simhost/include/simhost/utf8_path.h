/*
 * The stand-in holds every path as UTF-8, as the simulator's native paths are.
 * std::filesystem reads a narrow string in the process's code page on
 * Windows, so paths go to and from it through these two.
 */
#ifndef SIMHOST_UTF8_PATH_H
#define SIMHOST_UTF8_PATH_H

#include <filesystem>
#include <string>

namespace simhost {

inline std::filesystem::path fs_path(const std::string &utf8) { return std::filesystem::u8path(utf8); }
inline std::string utf8_path(const std::filesystem::path &path) { return path.u8string(); }

}  // namespace simhost

#endif
