/*
 * Summaries of measured values: median with quartiles and extremes.
 */
#ifndef VXR_BENCH_STATS_H
#define VXR_BENCH_STATS_H

#include <vector>

namespace bench {

struct Summary {
    double median = 0, q1 = 0, q3 = 0, min = 0, max = 0;
    int n = 0;
};

// Quartiles by linear interpolation between the sorted values.
Summary summarize(std::vector<double> values);
double mean(const std::vector<double> &values);

}  // namespace bench

#endif
