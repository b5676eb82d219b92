#pragma once

#include <functional>

namespace qev {

// The nested wait: sleeps about 1 ms, then handles pending events, until done() holds or
// timeoutMs of real time pass (a negative timeout waits for done() alone). Events run inside,
// so every caller re-checks its own state afterwards. Returns done() at the end.
bool PumpWait(const std::function<bool()>& done, int timeoutMs = -1);

// Handles pending events for about ms milliseconds of real time.
void PumpFor(int ms);

} // namespace qev
