#include "common/tempfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <unistd.h>

namespace qev {

namespace {

void deleteContents(const QDir& dir) {
    const QFileInfoList entries =
        dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    // Subfolders first, then files.
    for (const QFileInfo& entry : entries) {
        if (entry.fileName().startsWith(u'.') || entry.isSymLink() || !entry.isDir())
            continue;
        const QString path = entry.filePath();
        QFile::setPermissions(path, QFile::permissions(path) | QFile::ReadOwner | QFile::WriteOwner |
                                        QFile::ExeOwner);
        deleteContents(QDir(path));
        dir.rmdir(entry.fileName());
    }
    for (const QFileInfo& entry : entries) {
        if (entry.fileName().startsWith(u'.') || (entry.isDir() && !entry.isSymLink()))
            continue;
        QFile file(entry.filePath());
        if (!entry.isSymLink())
            file.setPermissions(file.permissions() | QFile::WriteOwner);
        file.remove();
    }
}

} // namespace

QString TempFolderFor(const QString& userCache, const QString& executableDir) {
    if (userCache.trimmed().isEmpty())
        return QDir(executableDir).filePath(QStringLiteral("temp")) + u'/';
    return QDir(userCache).filePath(QStringLiteral("QEV2016")) + u'/';
}

QString TempFolder() {
    const QString folder =
        TempFolderFor(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation),
                      QCoreApplication::applicationDirPath());
    QDir().mkpath(folder);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return folder;
}

void DeleteFolderContents(const QString& folder) {
    if (folder.trimmed().isEmpty())
        return;
    // A link or another user's folder planted at the cache's name must not make us empty
    // whatever it points to.
    const QFileInfo info(QDir::cleanPath(folder));
    if (info.isSymLink() || !info.isDir() || info.ownerId() != ::geteuid())
        return;
    deleteContents(QDir(info.filePath()));
}

} // namespace qev
