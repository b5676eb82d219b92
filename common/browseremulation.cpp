#include "common/browseremulation.h"

#include <QByteArray>

namespace qev {

namespace {

int numberOrMinusOne(QByteArrayView text) {
    bool ok = false;
    const int v = text.toInt(&ok);
    return ok ? v : -1;
}

} // namespace

BrowserVersion ParseBrowserVersion(QByteArrayView text) {
    BrowserVersion v;
    if (text.isEmpty())
        return v;
    const qsizetype dot = text.indexOf('.');
    v.major = numberOrMinusOne(dot < 0 ? text : text.first(dot));
    if (dot >= 0) {
        const QByteArrayView rest = text.sliced(dot + 1);
        const qsizetype dot2 = rest.indexOf('.');
        v.minor = numberOrMinusOne(dot2 < 0 ? rest : rest.first(dot2));
    }
    return v;
}

std::optional<int> BrowserEmulationMode(BrowserVersion version) {
    if (version.major == 8)
        return 8888;
    if (version.major == 9) {
        if (version.minor == 0)
            return 9999;
        if (version.minor == 10)
            return 10001;
        return 11001;
    }
    return std::nullopt;
}

} // namespace qev
