#include "common/clock.h"
#include "session/codec/linecodec.h"

namespace qev {

QByteArray MachineToken(QByteArrayView serial) {
    const QDate today = Clock::current().now().toLocalTime().date();
    QByteArray plain = QByteArray::number(today.day()).rightJustified(2, '0');
    plain += serial.first(qMin<qsizetype>(serial.size(), 8)).toByteArray().rightJustified(8, ' ');
    plain += QByteArray::number(today.month()).rightJustified(2, '0');
    return LineScramble(plain);
}

} // namespace qev
