/*
 * report.md: what a run did, a table row per command as it runs (written and
 * flushed at once, so a run that dies still leaves what it reached), and the
 * outcome at the end.
 */
#ifndef SIMHOST_RUN_REPORT_H
#define SIMHOST_RUN_REPORT_H

#include <fstream>
#include <string>

namespace scenario {

class RunReport {
public:
    bool open(const std::string &file, const std::string &script, const std::string &root);
    void row(int line, const std::string &source, const std::string &result);
    void finish(const std::string &outcome);

private:
    std::ofstream out_;
};

}  // namespace scenario

#endif
