#include "tools/qev-tool/sessioninput.h"

#include "session/procsdm.h"

namespace qev {

namespace {

bool ToInt(const QByteArray& text, int& out) {
    bool ok = false;
    out = text.toInt(&ok, 10);
    return ok;
}

} // namespace

bool SessionInput::Feed(QByteArrayView bytes) {
    for (char c : bytes) {
        if (c != '\n') {
            if (m_partial.size() < kMaxLine)
                m_partial.append(c);
            else
                m_overlong = true;
            continue;
        }
        const QByteArray line = m_partial;
        const bool overlong = m_overlong;
        m_partial.clear();
        m_overlong = false;
        if (overlong) {
            m_report({{QStringLiteral("error"), QStringLiteral("line too long")}});
            continue;
        }
        if (!Run(line))
            return false;
    }
    return true;
}

bool SessionInput::Run(const QByteArray& line) {
    const QByteArrayList words = line.simplified().split(' ');
    const QByteArray& verb = words.first();
    if (verb.isEmpty())
        return true;
    if (verb == "quit" && words.size() == 1)
        return false;
    int lane = 0;
    if (verb == "bid" && words.size() == 2 && (words[1] == "on" || words[1] == "off")) {
        const bool on = words[1] == "on";
        m_dm.ConnectLanes(on ? rcBD : rcNB);
        m_report({{QStringLiteral("command"), on ? QStringLiteral("bid on") : QStringLiteral("bid off")}});
        return true;
    }
    if (verb == "bid" && words.size() == 2 && ToInt(words[1], lane)) {
        const bool sent = m_dm.SendBid(lane);
        m_report({{QStringLiteral("command"), QStringLiteral("bid")},
                  {QStringLiteral("lane"), lane},
                  {QStringLiteral("sent"), sent}});
        return true;
    }
    int site = 0;
    int exhibit = 0;
    int price = 0;
    if (verb == "confirm" && words.size() == 6 && ToInt(words[1], lane) && ToInt(words[2], site) &&
        ToInt(words[3], exhibit) && ToInt(words[4], price) && (words[5] == "C" || words[5] == "N")) {
        const bool sent = m_dm.SendConfirmation(lane, site, exhibit, price, words[5]);
        m_report({{QStringLiteral("command"), QStringLiteral("confirm")},
                  {QStringLiteral("lane"), lane},
                  {QStringLiteral("sent"), sent}});
        return true;
    }
    m_report({{QStringLiteral("error"), QStringLiteral("unknown command")},
              {QStringLiteral("line"), QString::fromLatin1(line.left(kMaxLine))}});
    return true;
}

} // namespace qev
