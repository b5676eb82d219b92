#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <functional>

namespace qev {

class TProcsDm;

// The session tool's standard input: one command a line.
//   bid on | bid off                       all lanes to the bidding or the watch routers
//   bid LANE                               one bid on the lane's last price
//   confirm LANE SITE EXHIBIT PRICE C|N    a won-bid confirmation
//   quit                                   sign out and end
// Each command's outcome is reported as a JSON object; a line longer than kMaxLine is dropped.
class SessionInput {
public:
    static constexpr qsizetype kMaxLine = 256;

    SessionInput(TProcsDm& dm, std::function<void(const QJsonObject&)> report)
        : m_dm(dm)
        , m_report(std::move(report)) {}

    // Feeds bytes as they arrive; false once "quit" was read.
    bool Feed(QByteArrayView bytes);
    // Runs one command line; false for "quit".
    bool Run(const QByteArray& line);

private:
    TProcsDm& m_dm;
    std::function<void(const QJsonObject&)> m_report;
    QByteArray m_partial;
    bool m_overlong = false;
};

} // namespace qev
