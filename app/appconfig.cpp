#include "app/appconfig.h"

namespace qev {

namespace {
// Where a machine without configuration looks: the local auction house's defaults.
constexpr char kDefaultHost[] = "127.0.0.1";
constexpr int kDefaultSignInPort = 11120;
constexpr char kDefaultWeb[] = "http://127.0.0.1:11180";

QString Trailing(QString s) {
    while (s.endsWith(QLatin1Char('/')))
        s.chop(1);
    return s;
}
} // namespace

AppConfig AppConfig::Read(QSettings& config) {
    AppConfig c;
    config.beginGroup(QStringLiteral("Uri"));
    c.webBase = Trailing(config.value(QStringLiteral("Web"), QString::fromLatin1(kDefaultWeb)).toString());
    c.setupBase = Trailing(config.value(QStringLiteral("Setup"), c.webBase).toString());
    c.signInServer =
        config
            .value(QStringLiteral("Login"),
                   QStringLiteral("%1:%2").arg(QString::fromLatin1(kDefaultHost)).arg(kDefaultSignInPort))
            .toString();
    c.alarmTemplate =
        config.value(QStringLiteral("AlarmSetting"), QString(c.webBase + QStringLiteral("/qevweb/alarm/%s")))
            .toString();
    config.endGroup();
    return c;
}

QString AppConfig::AlarmUrlFor(const QString& userId) const {
    QString url = alarmTemplate;
    const qsizetype at = url.indexOf(QStringLiteral("%s"));
    if (at >= 0)
        url.replace(at, 2, QString::fromLatin1(QUrl::toPercentEncoding(userId)));
    return url;
}

} // namespace qev
