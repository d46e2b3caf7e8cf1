/*
 * Running and reading callgrind (see callgrind.h).
 */
#include "callgrind.h"

#include <cctype>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <map>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace bench {
namespace {

std::string self_path()
{
    char buf[4096];
    ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0)
        return "";
    buf[n] = 0;
    return buf;
}

// "(id) name" defines a compressed name, "(id)" refers to it, a bare name stands for itself.
std::string expand(std::map<std::string, std::string> &names, const std::string &entry)
{
    if (entry.empty() || entry[0] != '(')
        return entry;
    size_t close = entry.find(')');
    if (close == std::string::npos)
        return entry;
    std::string id = entry.substr(0, close + 1);
    if (close + 1 < entry.size()) {
        std::string name = entry.substr(close + 1);
        size_t start = name.find_first_not_of(' ');
        names[id] = start == std::string::npos ? "" : name.substr(start);
    }
    return names[id];
}

bool ends_with(const std::string &text, const std::string &tail)
{
    return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

}  // namespace

pid_t callgrind_start(const std::string &out_file, const std::string &log_file, int frames)
{
    std::string self = self_path();
    std::string out_arg = "--callgrind-out-file=" + out_file;
    std::string frames_arg = std::to_string(frames);
    pid_t pid = fork();
    if (pid != 0)
        return pid;
    int log = open(log_file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (log >= 0) {
        dup2(log, 1);
        dup2(log, 2);
        close(log);
    }
    std::vector<const char *> args = {"valgrind", "--tool=callgrind", "--instr-atstart=no", out_arg.c_str(),
                                      self.c_str(), "--callgrind-child", frames_arg.c_str(), nullptr};
    execvp("valgrind", const_cast<char *const *>(args.data()));
    _exit(127);
}

bool callgrind_finish(pid_t pid, const std::string &out_file, InstructionCost *cost, std::string *error)
{
    int status = 0;
    if (pid < 0 || waitpid(pid, &status, 0) != pid) {
        *error = "callgrind did not start";
        return false;
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        *error = WIFEXITED(status) && WEXITSTATUS(status) == 127
                     ? std::string("valgrind is not installed")
                     : "the run under callgrind failed (exit status " + std::to_string(WEXITSTATUS(status)) + ")";
        return false;
    }
    return callgrind_parse(out_file, VXR_SOURCE_DIR "/plugin/", cost, error);
}

bool callgrind_parse(const std::string &file, const std::string &plugin_sources, InstructionCost *cost,
                     std::string *error)
{
    std::ifstream in(file);
    if (!in) {
        *error = "cannot read " + file;
        return false;
    }
    std::map<std::string, std::string> objects, files, functions;
    std::string object, file_now, function_file;
    bool call_cost_next = false, saw_events = false;
    *cost = InstructionCost();
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty())
            continue;
        char c = line[0];
        if (std::isdigit(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '*') {
            // A cost line: a position, then the events (only Ir here).
            size_t space = line.find(' ');
            uint64_t ir = space == std::string::npos ? 0 : std::strtoull(line.c_str() + space + 1, nullptr, 10);
            if (call_cost_next) {
                // The inclusive cost of a call: the callee's own lines count it already.
                call_cost_next = false;
                continue;
            }
            cost->total += ir;
            if (ends_with(object, "/libacfutils.so"))
                cost->library += ir;
            else if (function_file.compare(0, plugin_sources.size(), plugin_sources) == 0)
                cost->plugin += ir;
            continue;
        }
        size_t eq = line.find('=');
        if (line.compare(0, 7, "events:") == 0) {
            saw_events = line.find("Ir") != std::string::npos;
            continue;
        }
        if (eq == std::string::npos)
            continue;
        std::string key = line.substr(0, eq), value = line.substr(eq + 1);
        if (key == "ob")
            object = expand(objects, value);
        else if (key == "cob")
            expand(objects, value);
        else if (key == "fl")
            file_now = expand(files, value);
        else if (key == "fi" || key == "fe" || key == "cfi" || key == "cfl")
            expand(files, value);
        else if (key == "fn") {
            expand(functions, value);
            function_file = file_now;
        } else if (key == "cfn")
            expand(functions, value);
        else if (key == "calls")
            call_cost_next = true;
    }
    if (!saw_events) {
        *error = file + " is not a callgrind output with instruction counts";
        return false;
    }
    return true;
}

}  // namespace bench
