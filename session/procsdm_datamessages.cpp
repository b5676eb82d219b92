#include "session/procsdm.h"

namespace qev {

// Alarm lists and information texts of the data channel are handled with the lane messages.
void TProcsDm::HandleDataMessage(const QByteArray& line) {
    Q_UNUSED(line);
}

} // namespace qev
