#pragma once

#include <QJsonObject>

class QIODevice;

namespace qev {

class TProcsDm;

// Prints every session event of a module as one JSON object per line, the event named as the
// module names it and its arguments by name.
class SessionEventPrinter {
public:
    explicit SessionEventPrinter(QIODevice& out)
        : m_out(out) {}

    // Installs a handler on every event of dm.
    void Attach(TProcsDm& dm);
    // The site, its lanes and the session values learnt at sign-in.
    void PrintSiteInformation(TProcsDm& dm);
    void Print(const QJsonObject& object);

private:
    void AttachLaneEvents(TProcsDm& dm);

    QIODevice& m_out;
};

} // namespace qev
