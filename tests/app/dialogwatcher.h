#pragma once

#include <QObject>
#include <QStringList>
#include <QTimer>

namespace qev {

// Answers the program's modal dialogs as a dealer would, and keeps their texts: OK for a
// message, Yes or No (as set) for a question.
class DialogWatcher : public QObject {
public:
    DialogWatcher();
    QStringList texts;
    bool answerYes = true;

private:
    void Look();
    QTimer m_timer;
};

} // namespace qev
