#include "common/usersettings.h"

#include <QLatin1StringView>

namespace qev {

namespace {

void readSwitch(QSettings& user, const char* key, bool& value) {
    const QVariant v = user.value(QLatin1StringView(key));
    if (!v.isValid())
        return;
    const QString text = v.toString().trimmed();
    if (text.compare(QLatin1StringView("true"), Qt::CaseInsensitive) == 0) {
        value = true;
        return;
    }
    if (text.compare(QLatin1StringView("false"), Qt::CaseInsensitive) == 0) {
        value = false;
        return;
    }
    bool ok = false;
    const int n = text.toInt(&ok);
    if (ok)
        value = n != 0;
}

} // namespace

int LoadVolume(QSettings& user) {
    bool ok = false;
    const int level = user.value(QLatin1StringView(UserKeys::Volume)).toString().trimmed().toInt(&ok);
    return ok ? level : DefaultVolume;
}

void SaveVolume(QSettings& user, int level) {
    user.setValue(QLatin1StringView(UserKeys::Volume), level);
}

void LoadTweaks(QSettings& user, Tweaks& tweaks) {
    readSwitch(user, UserKeys::DisableAudio, tweaks.disableAudio);
    readSwitch(user, UserKeys::SystemLog, tweaks.systemLog);
}

} // namespace qev
