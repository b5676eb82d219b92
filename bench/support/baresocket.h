#pragma once

#include <QByteArray>
#include <benchmark/benchmark.h>

namespace qev {

// The anchor of the socket benchmarks: bytes written on a bare loopback socket (no-delay on
// both ends) until the other end has read them whole, per iteration; median and p99 as counters.
void BareSocketOneWay(benchmark::State& state, const QByteArray& bytes);

} // namespace qev
