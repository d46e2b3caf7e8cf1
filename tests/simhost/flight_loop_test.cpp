/*
 * Flight loops: intervals and results in seconds or loops, deactivation,
 * the counter and elapsed times, and changes made from inside a callback.
 */
#include "host_fixture.h"

#include <cmath>

#include <XPLMProcessing.h>

using namespace simhost_test;

namespace {

struct Recorder {
    std::vector<uint64_t> frames;   // the host's frame at each call
    std::vector<int> counters;
    std::vector<float> elapsed;
    float result = -1;
    std::function<void()> during;
};

simhost::Host *the_host = nullptr;

float record(float since_last_call, float, int counter, void *refcon)
{
    auto *r = static_cast<Recorder *>(refcon);
    r->frames.push_back(the_host->frame_count());
    r->counters.push_back(counter);
    r->elapsed.push_back(since_last_call);
    if (r->during)
        r->during();
    return r->result;
}

class FlightLoopTest : public HostTest {
protected:
    void SetUp() override { the_host = &start(); }
};

}  // namespace

TEST_F(FlightLoopTest, MinusOneRunsEveryLoopWithACounterStep)
{
    Recorder r;
    XPLMRegisterFlightLoopCallback(record, -1, &r);
    the_host->run_frames(4);
    EXPECT_EQ(r.frames, (std::vector<uint64_t>{1, 2, 3, 4}));
    for (size_t i = 1; i < r.counters.size(); i++)
        EXPECT_EQ(r.counters[i], r.counters[i - 1] + 1);
    EXPECT_NEAR(r.elapsed[2], 1.0 / 60, 1e-6);
}

TEST_F(FlightLoopTest, NegativeAndPositiveResults)
{
    Recorder loops, seconds;
    loops.result = -3;
    seconds.result = 0.1f;
    XPLMRegisterFlightLoopCallback(record, -1, &loops);
    XPLMRegisterFlightLoopCallback(record, 0.05f, &seconds);
    the_host->run_frames(15);
    EXPECT_EQ(loops.frames, (std::vector<uint64_t>{1, 4, 7, 10, 13}));
    // 0.05 s is 3 frames at 60 per second, then every 0.1 s is 6 frames.
    EXPECT_EQ(seconds.frames, (std::vector<uint64_t>{3, 9, 15}));
    EXPECT_NEAR(seconds.elapsed[0], 0.05, 1e-4);
    EXPECT_NEAR(seconds.elapsed[1], 0.1, 1e-4);
}

TEST_F(FlightLoopTest, ZeroDeactivatesButKeepsItRegistered)
{
    Recorder r;
    r.result = 0;
    XPLMRegisterFlightLoopCallback(record, 0, &r);
    the_host->run_frames(3);
    EXPECT_TRUE(r.frames.empty());
    XPLMSetFlightLoopCallbackInterval(record, -1, 1, &r);
    the_host->run_frames(3);
    EXPECT_EQ(r.frames, std::vector<uint64_t>{4});
    EXPECT_EQ(the_host->live().flight_loops, 1);
    XPLMUnregisterFlightLoopCallback(record, &r);
    EXPECT_EQ(the_host->live().flight_loops, 0);
}

TEST_F(FlightLoopTest, ChangesFromInsideACallback)
{
    Recorder self, other, added;
    XPLMRegisterFlightLoopCallback(record, -1, &other);
    XPLMRegisterFlightLoopCallback(record, -1, &self);
    // In its second call, self unregisters itself and the loop registered
    // before it, and registers a new one, which runs from the next frame.
    self.during = [&] {
        if (self.frames.size() == 2) {
            XPLMUnregisterFlightLoopCallback(record, &self);
            XPLMUnregisterFlightLoopCallback(record, &other);
            XPLMRegisterFlightLoopCallback(record, -1, &added);
        }
    };
    the_host->run_frames(4);
    EXPECT_EQ(self.frames, (std::vector<uint64_t>{1, 2}));
    EXPECT_EQ(other.frames, (std::vector<uint64_t>{1, 2}));
    EXPECT_EQ(added.frames, (std::vector<uint64_t>{3, 4}));
    EXPECT_EQ(the_host->live().flight_loops, 1);
}

TEST_F(FlightLoopTest, CreatedLoopsRunOnlyWhenScheduled)
{
    Recorder r;
    XPLMCreateFlightLoop_t params{sizeof(XPLMCreateFlightLoop_t), xplm_FlightLoop_Phase_AfterFlightModel, record, &r};
    XPLMFlightLoopID id = XPLMCreateFlightLoop(&params);
    ASSERT_NE(id, nullptr);
    the_host->run_frames(2);
    EXPECT_TRUE(r.frames.empty());
    r.result = 0;
    XPLMScheduleFlightLoop(id, -1, 1);
    the_host->run_frames(3);
    EXPECT_EQ(r.frames, std::vector<uint64_t>{3});
    XPLMDestroyFlightLoop(id);
    EXPECT_EQ(the_host->live().flight_loops, 0);
    XPLMScheduleFlightLoop(id, -1, 1);   // a stale ID is ignored
    the_host->run_frames(2);
    EXPECT_EQ(r.frames.size(), 1u);

    params.structSize = 8;
    EXPECT_EQ(XPLMCreateFlightLoop(&params), nullptr);
}

TEST_F(FlightLoopTest, DisabledPluginsLoopsWait)
{
    Recorder r;
    XPLMRegisterFlightLoopCallback(record, -1, &r);
    the_host->disable();
    the_host->run_frames(2);
    EXPECT_TRUE(r.frames.empty());
}
