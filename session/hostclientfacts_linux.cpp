#include "common/systeminfo.h"
#include "session/hostclientfacts.h"

#include <QStringBuilder>
#include <sys/statvfs.h>

namespace qev {

HostClientFacts::HostClientFacts(ScreenFacts screen)
    : m_screen(screen) {}

QByteArray HostClientFacts::VolumeSerialText() const {
    // The root file system's id stands in for the system volume's serial number.
    struct statvfs st {};
    if (statvfs("/", &st) != 0)
        return QByteArrayLiteral("00000000");
    return QByteArray::number(static_cast<quint32>(st.f_fsid), 16).toUpper().rightJustified(8, '0');
}

QByteArray HostClientFacts::ComputerNameText() const {
    return ComputerName();
}

QByteArray HostClientFacts::ClientDescription() const {
    const OsFacts os = CurrentOsFacts();
    const ProcessorInfo cpu = ProcessorDescription();
    // "%d.%d.%d.%d.%s(%dX%d:%d) %s %d %s %s%s"; the identifier and the clock stand side by side.
    QByteArray out;
    out += QByteArray::number(os.major) + '.' + QByteArray::number(os.minor) + '.' +
           QByteArray::number(os.build);
    out += '.' + QByteArray::number(os.platformId) + '.' + os.extra.left(128);
    out += '(' + QByteArray::number(m_screen.width) + 'X' + QByteArray::number(m_screen.height) + ':';
    out += QByteArray::number(m_screen.monitors) + ") ";
    out += cpu.memoryText + ' ' + QByteArray::number(cpu.count) + ' ' + cpu.name + ' ';
    out += cpu.identifier + cpu.clockText;
    return out;
}

QByteArray HostClientFacts::SystemDescription() const {
    return qev::SystemDescription();
}

} // namespace qev
