// Writes report.md as a Markdown table.
#include "run_report.h"

#include "simhost/utf8_path.h"

namespace scenario {

namespace {

// A table cell: '|' would end the cell, a newline the row.
std::string cell(const std::string &text)
{
    std::string out;
    for (char c : text) {
        if (c == '|')
            out += "\\|";
        else if (c == '\n')
            out += ' ';
        else
            out += c;
    }
    return out;
}

}  // namespace

bool RunReport::open(const std::string &file, const std::string &script, const std::string &root)
{
    out_.open(simhost::fs_path(file), std::ios::trunc);
    if (!out_)
        return false;
    out_ << "# simhost run of " << script << "\n\n"
         << "Simulator folder: `" << root << "`\n\n"
         << "| Line | Command | Result |\n"
         << "|---:|---|---|\n";
    out_.flush();
    return bool(out_);
}

void RunReport::row(int line, const std::string &source, const std::string &result)
{
    if (!out_.is_open())
        return;
    out_ << "| " << (line > 0 ? std::to_string(line) : "end") << " | `` " << cell(source) << " `` | "
         << cell(result) << " |\n";
    out_.flush();
}

void RunReport::finish(const std::string &outcome)
{
    if (!out_.is_open())
        return;
    out_ << "\n" << outcome << "\n";
    out_.close();
}

}  // namespace scenario
