// Helpers shared by the plug-in core tests.
#include "core_test_util.h"

#include <cstdint>
#include <stdexcept>

namespace core_test {

void load(vxr_test::LinkedSim &sim)
{
    sim.load();
}

std::vector<std::string> lines_with(const vxr_test::LinkedSim &sim, const std::string &text)
{
    std::vector<std::string> found;
    for (const auto &line : sim.log_since_mark()) {
        if (line.find(text) != std::string::npos)
            found.push_back(line);
    }
    return found;
}

}  // namespace core_test
