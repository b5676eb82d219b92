#include "app/instancelock.h"

#include <QDir>
#include <QStandardPaths>

namespace qev {

InstanceLock::InstanceLock(const QString& folder) {
    QString dir =
        folder.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation) : folder;
    if (dir.isEmpty())
        dir = QDir::tempPath();
    QDir().mkpath(dir);
    m_path = QDir(dir).filePath(QStringLiteral("QEVREAL2016.lock"));
    m_lock = std::make_unique<QLockFile>(m_path);
    m_lock->setStaleLockTime(0); // a lock whose process is gone is stale at once
    m_acquired = m_lock->tryLock(0);
}

} // namespace qev
