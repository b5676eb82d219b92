#pragma once

#include <QSettings>
#include <QString>

namespace qev {

// The saved login: whether the box was ticked, the ID as typed and the password (stored
// enciphered with the line cipher). Reading stops at the first missing or unreadable value, so a
// missing flag gives an unticked box and empty fields; errors are never reported.
struct Credentials {
    bool ticked = false;
    QString id;
    QString password;
};

Credentials LoadCredentials(QSettings& user);
// Ticked: keeps ID and password; unticked: removes them. "sp" records the box either way.
void SaveCredentials(QSettings& user, const Credentials& credentials);

} // namespace qev
