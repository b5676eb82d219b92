#include "tools/auction-house/lanes/wirefields.h"

namespace qev {

namespace {
constexpr double kMsPerDay = 86'400'000.0;
constexpr double kEpochDay = 25'569.0; // 1 January 1970 counted from 30 December 1899
} // namespace

QByteArray WireField(QByteArrayView payload, int n) {
    qsizetype start = 0;
    for (int i = 1; i < n; ++i) {
        const qsizetype comma = payload.indexOf(',', start);
        if (comma < 0)
            return {};
        start = comma + 1;
    }
    qsizetype end = payload.indexOf(',', start);
    if (end < 0)
        end = payload.size();
    return payload.sliced(start, end - start).toByteArray();
}

int WireInt(QByteArrayView payload, int n, int fallback) {
    bool ok = false;
    const int value = WireField(payload, n).trimmed().toInt(&ok);
    return ok ? value : fallback;
}

QByteArray WireDateTime(qint64 epochMs) {
    // Ten decimals keep millisecond resolution (one ms is 1.16e-8 days).
    return QByteArray::number(kEpochDay + static_cast<double>(epochMs) / kMsPerDay, 'f', 10);
}

} // namespace qev
