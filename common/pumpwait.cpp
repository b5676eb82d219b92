#include "common/pumpwait.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

namespace qev {

bool PumpWait(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timeoutMs >= 0 && timer.elapsed() >= timeoutMs)
            break;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 1);
        QThread::msleep(1);
    }
    return done();
}

void PumpFor(int ms) {
    PumpWait([] { return false; }, ms);
}

} // namespace qev
