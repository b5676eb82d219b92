#pragma once

#include <QSettings>
#include <QString>
#include <memory>

namespace qev {

// Where settings live. The configuration (section "Uri", the session's own values) comes from
// an ini file beside the executable when one exists, else from the per-user store. The user's
// own values (volume, saved credentials, "Tweaks") always live in the per-user store.
//
// The per-user store is an ini file in the user's config folder (QEV2016/QEV2016.ini); its
// folder is made 0700 and the file 0600 because it holds the saved password.
class SettingsStore {
public:
    struct Paths {
        QString iniBesideExecutable;
        QString userFile;
    };

    // <applicationDirPath>/<executable name>.ini and <config folder>/QEV2016/QEV2016.ini.
    static Paths defaultPaths();

    // Tests pass their own paths.
    explicit SettingsStore(Paths paths = defaultPaths());
    // Writes what is pending, the same as sync().
    ~SettingsStore();
    SettingsStore(const SettingsStore&) = delete;
    SettingsStore& operator=(const SettingsStore&) = delete;

    bool usesIniBesideExecutable() const;

    // The configuration: the ini beside the executable when it exists, else the per-user store.
    QSettings& config();
    // The per-user store, created (owner-only) on first use.
    QSettings& user();

    // Writes pending changes and keeps the per-user file owner-only.
    void sync();

    const Paths& paths() const { return m_paths; }

private:
    Paths m_paths;
    std::unique_ptr<QSettings> m_ini;
    std::unique_ptr<QSettings> m_user;
};

} // namespace qev
