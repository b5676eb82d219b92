#pragma once

#include <QSettings>
#include <QString>
#include <QUrl>

namespace qev {

// The hosts the program talks to, from section "Uri" of the configuration: "Login" (host:port
// of the sign-in server), "AlarmSetting" (URL template with "%s" for the user ID), and "Web"
// and "Setup" (base URLs of the product web server and of the setup server).
struct AppConfig {
    QString signInServer;
    QString alarmTemplate;
    QString webBase;
    QString setupBase;

    static AppConfig Read(QSettings& config);
    QString LoginNoticeUrl() const { return webBase + QStringLiteral("/qevreal/loginMSG.html"); }
    QString BuildCheckUrl() const {
        return setupBase.isEmpty() ? QString() : setupBase + QStringLiteral("/checkbuild.php");
    }
    QString DownloadPageUrl() const {
        return setupBase.isEmpty() ? QString() : setupBase + QStringLiteral("/setup/");
    }
    // The alarm settings page of a user: the template's "%s" replaced by the ID.
    QString AlarmUrlFor(const QString& userId) const;
};

} // namespace qev
