#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace qev {

// Facts about the machine that the sign-in reports. The parsers are pure (tests feed them
// text); systeminfo_<os>.cpp reads the operating system's own sources.

struct OsFacts {
    int major = 0;
    int minor = 0;
    int build = 0;
    int platformId = 0;
    QByteArray extra; // the service-pack slot: the distribution's name
};

struct CpuFacts {
    int count = 0; // processors found, at most 10
    int family = 0;
    int model = 0;
    int stepping = 0;
    int mhz = 0;
    bool hasMhz = false;
    QByteArray identifier; // e.g. "Intel64 Family 6 Model 158 Stepping 10"
    QByteArray name;       // the processor's marketing name
};

struct MemoryFacts {
    bool known = false;
    qint64 totalMb = 0;
    int loadPercent = 0;
};

struct ProcessorInfo {
    int count = 0;
    QByteArray identifier;
    QByteArray name;
    QByteArray memoryText; // "16,384MB(35% used)"
    QByteArray clockText;  // "3600"
};

// Parsers of uname's release text, /proc/cpuinfo and /proc/meminfo.
OsFacts ParseOsRelease(QByteArrayView release);
CpuFacts ParseCpuInfo(QByteArrayView cpuinfo);
MemoryFacts ParseMemInfo(QByteArrayView meminfo);

// "major.minor.build.platform.extra,family,model,stepping,count,mhz,memoryMb,load"
QByteArray FormatSystemDescription(const OsFacts& os, const CpuFacts& cpu, const MemoryFacts& memory);
ProcessorInfo FormatProcessorDescription(const CpuFacts& cpu, const MemoryFacts& memory);

// The live machine.
OsFacts CurrentOsFacts();
CpuFacts CurrentCpuFacts();
MemoryFacts CurrentMemoryFacts();

// The network name of this computer (at most 255 bytes); empty when the system gives none.
QByteArray ComputerName();
QByteArray SystemDescription();
ProcessorInfo ProcessorDescription();

// The client runs on any supported Linux; the check exists for the Windows build.
bool IsWindows7OrLater();

} // namespace qev
