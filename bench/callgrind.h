/*
 * Instructions per frame: this program re-run under valgrind's callgrind,
 * collecting only the plug-in's steady-state frames, and the exclusive cost
 * of its output put down to the plug-in's own code (by source file: the
 * plug-in is linked into this program) and to the utility library (its own
 * shared object). The GL driver, the host and the C libraries are left out.
 */
#ifndef VXR_BENCH_CALLGRIND_H
#define VXR_BENCH_CALLGRIND_H

#include <cstdint>
#include <string>
#include <sys/types.h>

namespace bench {

struct InstructionCost {
    uint64_t plugin = 0;    // functions defined in the plug-in's sources
    uint64_t library = 0;   // libacfutils.so
    uint64_t total = 0;     // everything collected
};

// Starts `valgrind --tool=callgrind` on this program in its collecting role;
// its output goes to out_file, its messages to log_file. -1 when it cannot start.
pid_t callgrind_start(const std::string &out_file, const std::string &log_file, int frames);
// Waits for it; false (with the reason) unless it ran and its output reads.
bool callgrind_finish(pid_t pid, const std::string &out_file, InstructionCost *cost, std::string *error);
// The exclusive costs of a callgrind output file.
bool callgrind_parse(const std::string &file, const std::string &plugin_sources, InstructionCost *cost,
                     std::string *error);

}  // namespace bench

#endif
