#include "common/settingsstore.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace qev {

namespace {

constexpr QFile::Permissions kOwnerFolder = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
constexpr QFile::Permissions kOwnerFile = QFile::ReadOwner | QFile::WriteOwner;

void makeOwnerOnly(const QString& file) {
    const QString folder = QFileInfo(file).absolutePath();
    QDir().mkpath(folder);
    QFile::setPermissions(folder, kOwnerFolder);
    if (!QFileInfo::exists(file)) {
        QFile f(file);
        if (f.open(QIODevice::WriteOnly))
            f.close();
    }
    QFile::setPermissions(file, kOwnerFile);
}

} // namespace

SettingsStore::Paths SettingsStore::defaultPaths() {
    const QString exeDir = QCoreApplication::applicationDirPath();
    const QString exeName = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    const QString configDir = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return {QDir(exeDir).filePath(exeName + QStringLiteral(".ini")),
            QDir(configDir).filePath(QStringLiteral("QEV2016/QEV2016.ini"))};
}

SettingsStore::SettingsStore(Paths paths)
    : m_paths(std::move(paths)) {}

SettingsStore::~SettingsStore() {
    sync();
}

bool SettingsStore::usesIniBesideExecutable() const {
    return !m_paths.iniBesideExecutable.isEmpty() && QFileInfo(m_paths.iniBesideExecutable).isFile();
}

QSettings& SettingsStore::config() {
    if (!usesIniBesideExecutable())
        return user();
    if (!m_ini)
        m_ini = std::make_unique<QSettings>(m_paths.iniBesideExecutable, QSettings::IniFormat);
    return *m_ini;
}

QSettings& SettingsStore::user() {
    if (!m_user) {
        makeOwnerOnly(m_paths.userFile);
        m_user = std::make_unique<QSettings>(m_paths.userFile, QSettings::IniFormat);
    }
    return *m_user;
}

void SettingsStore::sync() {
    if (m_ini)
        m_ini->sync();
    if (m_user) {
        m_user->sync();
        // Saving replaces the file; keep it owner-only whatever the umask.
        QFile::setPermissions(m_paths.userFile, kOwnerFile);
    }
}

} // namespace qev
