#include "common/versioninfo.h"

#include <QStringList>

namespace qev {

QString FileVersion() {
    return QStringLiteral(QEV_VERSION);
}

QString VersionPartOf(const QString& version, int n) {
    const QStringList parts = version.split(u'.');
    if (n < 0 || n >= parts.size())
        return {};
    return parts.at(n).left(10).trimmed();
}

QString VersionPart(int n) {
    return VersionPartOf(FileVersion(), n);
}

} // namespace qev
