#pragma once

#include <benchmark/benchmark.h>
#include <vector>

namespace qev {

// Reports the median and the 99th percentile of per-iteration times (microseconds) as counters.
void Percentiles(benchmark::State& state, std::vector<double>& us);

} // namespace qev
