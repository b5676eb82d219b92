#include "dialogwatcher.h"

#include <QApplication>
#include <QMessageBox>

namespace qev {

DialogWatcher::DialogWatcher() {
    m_timer.setInterval(5);
    connect(&m_timer, &QTimer::timeout, this, [this] { Look(); });
    m_timer.start();
}

void DialogWatcher::Look() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible())
        return;
    texts.append(box->text());
    if (box->standardButtons() & QMessageBox::Yes)
        box->done(answerYes ? QMessageBox::Yes : QMessageBox::No);
    else
        box->done(QMessageBox::Ok);
}

} // namespace qev
