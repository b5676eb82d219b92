#pragma once

#include <QString>
#include <QUrl>
#include <QtGlobal>

namespace qev {

// One queued download of a lot's detail file or picture.
struct TDownloadItem {
    int kind = 0; // detail queue: always 0; picture queue: 0 car photo, 1 exhibit card
    int site = 0;
    int exhibit = 0;
    int attemptsLeft = 2;
    qint64 nextTry = 0; // ms since the epoch; 0 until the item becomes current
    QUrl address;
    QString fileName;
    int delay = 0; // ms from becoming current (or from a failed attempt) to the next try
};

} // namespace qev
