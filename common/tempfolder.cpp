#include "common/tempfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace qev {

QString TempFolderFor(const QString& systemTemp, const QString& executableDir) {
    if (systemTemp.trimmed().isEmpty())
        return QDir(executableDir).filePath(QStringLiteral("temp")) + u'/';
    return QDir(systemTemp).filePath(QStringLiteral("QEV2016")) + u'/';
}

QString TempFolder() {
    return TempFolderFor(QDir::tempPath(), QCoreApplication::applicationDirPath());
}

void DeleteFolderContents(const QString& folder) {
    if (folder.trimmed().isEmpty())
        return;
    const QDir dir(folder);
    const QFileInfoList entries =
        dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    // Subfolders first, then files.
    for (const QFileInfo& entry : entries) {
        if (entry.fileName().startsWith(u'.') || entry.isSymLink() || !entry.isDir())
            continue;
        const QString path = entry.filePath();
        QFile::setPermissions(path, QFile::permissions(path) | QFile::ReadOwner | QFile::WriteOwner |
                                        QFile::ExeOwner);
        DeleteFolderContents(path);
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

} // namespace qev
