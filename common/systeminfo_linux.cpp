#include "common/systeminfo.h"

#include <QFile>
#include <QSysInfo>
#include <sys/utsname.h>

namespace qev {

namespace {

// /proc files are small; the cap keeps a strange kernel from feeding us megabytes.
constexpr qint64 kMaxProcFile = 1 << 20;

QByteArray readProcFile(const char* path) {
    QFile file(QString::fromLatin1(path));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.read(kMaxProcFile);
}

} // namespace

OsFacts CurrentOsFacts() {
    OsFacts os;
    utsname names{};
    if (uname(&names) == 0)
        os = ParseOsRelease(QByteArrayView(names.release));
    // Windows' id of its NT family; Linux has no id of its own and the field stays numeric.
    os.platformId = 2;
    os.extra = QSysInfo::prettyProductName().toUtf8();
    return os;
}

CpuFacts CurrentCpuFacts() {
    return ParseCpuInfo(readProcFile("/proc/cpuinfo"));
}

MemoryFacts CurrentMemoryFacts() {
    return ParseMemInfo(readProcFile("/proc/meminfo"));
}

QByteArray ComputerName() {
    return QSysInfo::machineHostName().toUtf8().left(255);
}

bool IsWindows7OrLater() {
    return true;
}

} // namespace qev
