#include "session/procsdm.h"

namespace qev {

// Data-channel lines other than the keep-alive: alarm lists and information texts.
void TProcsDm::HandleDataMessage(const QByteArray& line) {
    const QByteArray code = line.left(2);
    const QByteArray payload = line.mid(3);
    if (code == "AM")
        HandleAlarmList(payload);
    else if (code == "NI")
        Fire(OnInformation, payload);
}

} // namespace qev
