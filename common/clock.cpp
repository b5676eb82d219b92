#include "common/clock.h"

namespace qev {

namespace {
const SystemClock systemClock;
const Clock* installedClock = nullptr;
} // namespace

const Clock& Clock::current() {
    return installedClock ? *installedClock : systemClock;
}

void Clock::install(const Clock* clock) {
    installedClock = clock;
}

qint64 SystemClock::nowMs() const {
    return QDateTime::currentMSecsSinceEpoch();
}

} // namespace qev
