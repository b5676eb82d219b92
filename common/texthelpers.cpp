#include "common/texthelpers.h"

#include <QRandomGenerator>
#include <cmath>

namespace qev {

QByteArray SplitHead(QByteArray& s, QByteArrayView sep) {
    const qsizetype p = sep.isEmpty() ? -1 : s.indexOf(sep);
    if (p < 0) {
        QByteArray head;
        head.swap(s);
        return head;
    }
    QByteArray head = s.left(p);
    s.remove(0, p + sep.size());
    return head;
}

int VolumeToAttenuation(int level) {
    switch (level) {
    case 1:
        return -1500;
    case 2:
        return -750;
    case 3:
        return 0;
    default:
        return -10000;
    }
}

int RandomInRange(int base, int count) {
    const double r = QRandomGenerator::global()->generateDouble();
    return static_cast<int>(static_cast<double>(base) + std::floor(r * count));
}

QByteArray FormatLotNumber(QByteArrayView text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < 1)
        return {};
    return QByteArray::number(value).rightJustified(4, '0');
}

QByteArray IncludeTrailingSlash(const QByteArray& text) {
    return text.endsWith('/') ? text : text + '/';
}

QString IncludeTrailingSlash(const QString& text) {
    return text.endsWith(u'/') ? text : text + u'/';
}

} // namespace qev
