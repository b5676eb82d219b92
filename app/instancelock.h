#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

namespace qev {

// One program per user: a lock file named after "QEVREAL2016" in the user's runtime folder,
// held until the process ends (a crashed holder's lock is taken over).
class InstanceLock {
public:
    // folder: where the lock lives; the user's runtime folder when empty.
    explicit InstanceLock(const QString& folder = {});
    // False when another instance holds the lock.
    bool Acquired() const { return m_acquired; }
    QString Path() const { return m_path; }

private:
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
    bool m_acquired = false;
};

} // namespace qev
