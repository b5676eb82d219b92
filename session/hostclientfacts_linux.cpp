#include "session/hostclientfacts.h"

#include <QFile>
#include <QLocale>
#include <QSysInfo>
#include <QThread>
#include <sys/statvfs.h>
#include <sys/sysinfo.h>

namespace qev {

namespace {

struct KernelVersion {
    int major = 0;
    int minor = 0;
    int build = 0;
};

KernelVersion ReadKernelVersion() {
    // "6.1.0-18-amd64": the three leading numbers.
    const QByteArrayList parts = QSysInfo::kernelVersion().toLatin1().split('.');
    KernelVersion v;
    const auto number = [&parts](int i) {
        if (i >= parts.size())
            return 0;
        QByteArray digits;
        for (char c : parts[i]) {
            if (c < '0' || c > '9')
                break;
            digits.append(c);
        }
        return digits.toInt();
    };
    v.major = number(0);
    v.minor = number(1);
    v.build = number(2);
    return v;
}

// The processor's model name from /proc/cpuinfo; empty when unreadable.
QByteArray ProcessorName() {
    QFile f(QStringLiteral("/proc/cpuinfo"));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    for (int i = 0; i < 4096 && !f.atEnd(); ++i) {
        const QByteArray line = f.readLine(4096);
        if (line.startsWith("model name")) {
            QByteArray name = line.mid(line.indexOf(':') + 1).simplified();
            return name;
        }
    }
    return {};
}

constexpr int kPlatformId = 2;

} // namespace

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
    return QSysInfo::machineHostName().toLatin1().left(255);
}

QByteArray HostClientFacts::ClientDescription() const {
    const KernelVersion v = ReadKernelVersion();
    struct sysinfo si {};
    qulonglong totalMb = 0;
    int loadPercent = 0;
    if (sysinfo(&si) == 0 && si.totalram > 0) {
        const qulonglong total = static_cast<qulonglong>(si.totalram) * si.mem_unit;
        const qulonglong free = static_cast<qulonglong>(si.freeram) * si.mem_unit;
        totalMb = total >> 20;
        loadPercent = static_cast<int>(100 - (free * 100 / total));
    }
    const QByteArray memory = QLocale(QLocale::English).toString(totalMb).toLatin1() + "MB(" +
                              QByteArray::number(loadPercent) + "% used)";
    const QByteArray servicePack = QSysInfo::prettyProductName().toLatin1().left(128);
    return QByteArray::number(v.major) + '.' + QByteArray::number(v.minor) + '.' +
           QByteArray::number(v.build) + '.' + QByteArray::number(kPlatformId) + '.' + servicePack + '(' +
           QByteArray::number(m_screen.width) + 'X' + QByteArray::number(m_screen.height) + ':' +
           QByteArray::number(m_screen.monitors) + ") " + memory + ' ' +
           QByteArray::number(QThread::idealThreadCount()) + ' ' + ProcessorName() + ' ' +
           QSysInfo::currentCpuArchitecture().toLatin1();
}

QByteArray HostClientFacts::SystemDescription() const {
    const KernelVersion v = ReadKernelVersion();
    struct sysinfo si {};
    qulonglong totalMb = 0;
    int loadPercent = 0;
    if (sysinfo(&si) == 0 && si.totalram > 0) {
        const qulonglong total = static_cast<qulonglong>(si.totalram) * si.mem_unit;
        totalMb = total >> 20;
        loadPercent =
            static_cast<int>(100 - (static_cast<qulonglong>(si.freeram) * si.mem_unit * 100 / total));
    }
    return QByteArray::number(v.major) + '.' + QByteArray::number(v.minor) + '.' +
           QByteArray::number(v.build) + '.' + QByteArray::number(kPlatformId) + '.' +
           QSysInfo::prettyProductName().toLatin1().left(128) + ",0,0,0," +
           QByteArray::number(QThread::idealThreadCount()) + ",0," + QByteArray::number(totalMb) + ',' +
           QByteArray::number(loadPercent);
}

} // namespace qev
