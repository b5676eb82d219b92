#include "app/credentialstore.h"

#include "common/usersettings.h"
#include "session/codec/linecodec.h"

namespace qev {

namespace {
QString Key(const char* name) {
    return QString::fromLatin1(name);
}
} // namespace

Credentials LoadCredentials(QSettings& user) {
    Credentials c;
    const QVariant ticked = user.value(Key(UserKeys::RegisterPassword));
    if (!ticked.isValid())
        return c;
    c.ticked = ticked.toBool();
    const QVariant id = user.value(Key(UserKeys::Id));
    if (!id.isValid())
        return c;
    c.id = id.toString();
    const QVariant password = user.value(Key(UserKeys::Password));
    if (!password.isValid())
        return c;
    // A password that does not decipher reads as empty.
    c.password = QString::fromUtf8(LineDecipher(password.toString().toLatin1()));
    return c;
}

void SaveCredentials(QSettings& user, const Credentials& c) {
    user.setValue(Key(UserKeys::SavePassword), c.ticked);
    if (c.ticked) {
        user.setValue(Key(UserKeys::Id), c.id);
        user.setValue(Key(UserKeys::Password), QString::fromLatin1(LineCipher(c.password.toUtf8())));
        user.setValue(Key(UserKeys::RegisterPassword), true);
    } else {
        user.remove(Key(UserKeys::Id));
        user.remove(Key(UserKeys::Password));
        user.remove(Key(UserKeys::RegisterPassword));
    }
    user.sync();
}

} // namespace qev
