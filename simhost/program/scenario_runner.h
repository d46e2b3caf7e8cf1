/*
 * Runs a parsed scenario on a stand-in host: actions drive the host, each
 * expectation looks at it, and the run stops at the first expectation (or
 * action) that does not hold. Every step goes into report.md.
 */
#ifndef SIMHOST_SCENARIO_RUNNER_H
#define SIMHOST_SCENARIO_RUNNER_H

#include <chrono>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include <simhost/host.h>

#include "contact_sheet.h"
#include "run_report.h"
#include "scenario_parser.h"

namespace scenario {

// The exit code of a run whose checks held where they could be made but some
// could not (no desktop to read a cursor from): CTest's skip code in our tests.
constexpr int exit_skipped = 77;

struct RunOptions {
    std::string script_name;      // as the user named it, for messages
    std::string root;             // the simulator-like folder the run works on
    std::string out_dir;          // screenshots go here
    std::string default_plugin;   // what "load" without a path opens
    int fps = 0;                  // 0: frames as fast as they run
    bool verbose = false;
    bool kind_gl = false;         // the host starts with clean OpenGL state (--gl-state kind)
    int gl_version = 45;          // 33: a context below OpenGL 4.5 (--gl 3.3)
};

// The outcome of one step: an action done, an expectation held, or what
// was expected and what was found instead.
struct Outcome {
    bool held = true;
    std::string expected;
    std::string found;
    std::string note;             // for the report when it held
    bool skipped = false;         // held as far as it could be checked: reported as skipped
};

class ScenarioRunner {
public:
    ScenarioRunner(RunOptions options, RunReport *report, std::ostream &out, std::ostream &err);
    ~ScenarioRunner();

    // 0 when every command ran and every expectation held, 1 at the first that did not.
    // 0 when every expectation held, exit_skipped when some could not be
    // checked here and the rest held, 1 at the first that failed.
    int run(const std::vector<Command> &commands);
    // The screenshots taken, in order, captioned.
    const std::vector<SheetImage> &shots() const { return shots_; }

    // One step per action type.
    Outcome operator()(const SetMonitors &c);
    Outcome operator()(const SetUiScale &c);
    Outcome operator()(const SetXPlane &c);
    Outcome operator()(const SetAircraft &c);
    Outcome operator()(const SetTiming &c);
    Outcome operator()(const SetView &c);
    Outcome operator()(const SetRheostat &c);
    Outcome operator()(const SetBus &c);
    Outcome operator()(const SetUnpoweredScreens &c);
    Outcome operator()(const SetDevice &c);
    Outcome operator()(const SetGlState &c);
    Outcome operator()(const Load &c);
    Outcome operator()(const Enable &c);
    Outcome operator()(const Disable &c);
    Outcome operator()(const Unload &c);
    Outcome operator()(const RunFrames &c);
    Outcome operator()(const SetPanel &c);
    Outcome operator()(const RunCommand &c);
    Outcome operator()(const ChooseMenu &c);
    Outcome operator()(const Mouse &c);
    Outcome operator()(const Shot &c);
    Outcome operator()(const Mark &c);
    Outcome operator()(const WriteSettings &c);
    Outcome operator()(const Echo &c);
    Outcome operator()(const OsClose &c);
    Outcome operator()(const ExpectLog &c);
    Outcome operator()(const ExpectNoLog &c);
    Outcome operator()(const ExpectWindow &c);
    Outcome operator()(const ExpectCfg &c);
    Outcome operator()(const ExpectPixel &c);
    Outcome operator()(const ExpectPopoutPixel &c);
    Outcome operator()(const ExpectCursor &c);
    Outcome operator()(const ExpectMenu &c);
    Outcome operator()(const ExpectMenuCheck &c);
    Outcome operator()(const ExpectMenuEnabled &c);
    Outcome operator()(const ExpectNoMenu &c);
    Outcome operator()(const ExpectLive &c);
    Outcome operator()(const EditSettings &c);
    Outcome operator()(const ExpectCfgCount &c);
    Outcome operator()(const ExpectCfgLine &c);
    Outcome operator()(const CostReset &c);
    Outcome operator()(const CostReport &c);
    Outcome operator()(const ExpectCost &c);
    Outcome operator()(const SetMissingDatarefs &c);
    Outcome operator()(const SetStrictClicks &c);
    Outcome operator()(const SetAvionicsDatarefs &c);
    Outcome operator()(const SetAvionicsHandles &c);

private:
    simhost::Host &host();        // made at first use, with the monitors and scale given so far
    std::string settings_file() const;
    std::vector<std::string> log_since_mark();
    bool step(int line, const std::string &source, const Action &action);

    RunOptions options_;
    RunReport *report_;
    std::ostream &out_;
    std::ostream &err_;
    std::vector<simhost::Monitor> initial_monitors_;
    int initial_ui_scale_ = 100;
    int initial_xplane_version_ = 12;
    simhost::HostTiming initial_timing_;
    std::unique_ptr<simhost::Host> host_;
    size_t mark_ = 0;
    int mark_line_ = 0;
    int current_line_ = 0;
    int skipped_ = 0;
    std::vector<SheetImage> shots_;
    std::chrono::steady_clock::time_point next_frame_;
};

}  // namespace scenario

#endif
