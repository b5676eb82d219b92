#include "common/systeminfo.h"

#include <QList>
#include <QLocale>

namespace qev {

namespace {

// The value after "key<tabs>: " on a /proc line, or nothing when the line has another key.
bool fieldValue(QByteArrayView line, QByteArrayView key, QByteArrayView& value) {
    const qsizetype colon = line.indexOf(':');
    if (colon < 0 || line.first(colon).trimmed() != key)
        return false;
    value = line.sliced(colon + 1).trimmed();
    return true;
}

int leadingInt(QByteArrayView text) {
    qsizetype n = 0;
    while (n < text.size() && n < 9 && text[n] >= '0' && text[n] <= '9')
        ++n;
    return n == 0 ? 0 : text.first(n).toInt();
}

// The text as a field of a comma-separated line: separators and control bytes become blanks.
QByteArray fieldSafe(QByteArrayView text, qsizetype maxSize) {
    QByteArray out = text.first(qMin(text.size(), maxSize)).toByteArray();
    for (char& c : out) {
        if (c == ',' || c == '|' || c == ':' || static_cast<unsigned char>(c) < 0x20)
            c = ' ';
    }
    return out.trimmed();
}

template <typename F> void forEachLine(QByteArrayView text, F f) {
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf('\n', start);
        if (end < 0)
            end = text.size();
        f(text.sliced(start, end - start));
        start = end + 1;
    }
}

} // namespace

OsFacts ParseOsRelease(QByteArrayView release) {
    OsFacts os;
    int* parts[] = {&os.major, &os.minor, &os.build};
    qsizetype pos = 0;
    for (int* slot : parts) {
        if (pos >= release.size())
            break;
        *slot = leadingInt(release.sliced(pos));
        const qsizetype dot = release.indexOf('.', pos);
        if (dot < 0)
            break;
        pos = dot + 1;
    }
    return os;
}

CpuFacts ParseCpuInfo(QByteArrayView cpuinfo) {
    CpuFacts cpu;
    QByteArrayView vendor;
    int processors = 0;
    forEachLine(cpuinfo, [&](QByteArrayView line) {
        QByteArrayView v;
        if (fieldValue(line, "processor", v)) {
            ++processors;
            return;
        }
        if (processors > 1)
            return; // the first processor describes them all
        if (fieldValue(line, "vendor_id", v))
            vendor = v;
        else if (fieldValue(line, "cpu family", v))
            cpu.family = leadingInt(v);
        else if (fieldValue(line, "model", v))
            cpu.model = leadingInt(v);
        else if (fieldValue(line, "stepping", v))
            cpu.stepping = leadingInt(v);
        else if (fieldValue(line, "model name", v))
            cpu.name = fieldSafe(v, 128);
        else if (fieldValue(line, "cpu MHz", v)) {
            bool ok = false;
            const double mhz = v.toByteArray().toDouble(&ok);
            if (ok && mhz >= 0 && mhz < 1e6) {
                cpu.mhz = static_cast<int>(mhz + 0.5);
                cpu.hasMhz = true;
            }
        }
    });
    cpu.count = qMin(processors, 10);
    if (processors > 0) {
        QByteArray arch = vendor == "GenuineIntel"   ? QByteArrayLiteral("Intel64")
                          : vendor == "AuthenticAMD" ? QByteArrayLiteral("AMD64")
                                                     : fieldSafe(vendor, 32);
        if (arch.isEmpty())
            arch = QByteArrayLiteral("CPU");
        cpu.identifier = arch + " Family " + QByteArray::number(cpu.family) + " Model " +
                         QByteArray::number(cpu.model) + " Stepping " + QByteArray::number(cpu.stepping);
    }
    while (cpu.name.contains("  "))
        cpu.name.replace("  ", " ");
    return cpu;
}

MemoryFacts ParseMemInfo(QByteArrayView meminfo) {
    qint64 totalKb = -1;
    qint64 availableKb = -1;
    forEachLine(meminfo, [&](QByteArrayView line) {
        QByteArrayView v;
        bool ok = false;
        if (fieldValue(line, "MemTotal", v)) {
            const qint64 kb = v.toByteArray().split(' ').value(0).toLongLong(&ok);
            if (ok && kb >= 0)
                totalKb = kb;
        } else if (fieldValue(line, "MemAvailable", v)) {
            const qint64 kb = v.toByteArray().split(' ').value(0).toLongLong(&ok);
            if (ok && kb >= 0)
                availableKb = kb;
        }
    });
    MemoryFacts memory;
    if (totalKb <= 0 || totalKb > (qint64(1) << 50))
        return memory;
    memory.known = true;
    memory.totalMb = totalKb >> 10;
    if (availableKb >= 0 && availableKb <= totalKb)
        memory.loadPercent = static_cast<int>((totalKb - availableKb) * 100 / totalKb);
    return memory;
}

QByteArray FormatSystemDescription(const OsFacts& os, const CpuFacts& cpu, const MemoryFacts& memory) {
    QByteArray out = QByteArray::number(os.major) + '.' + QByteArray::number(os.minor) + '.' +
                     QByteArray::number(os.build) + '.' + QByteArray::number(os.platformId) + '.' +
                     fieldSafe(os.extra, 128);
    for (qint64 v : {qint64(cpu.family), qint64(cpu.model), qint64(cpu.stepping), qint64(cpu.count),
                     qint64(cpu.mhz), memory.totalMb, qint64(memory.loadPercent)})
        out += ',' + QByteArray::number(v);
    return out;
}

ProcessorInfo FormatProcessorDescription(const CpuFacts& cpu, const MemoryFacts& memory) {
    ProcessorInfo info;
    info.count = cpu.count;
    info.identifier = cpu.identifier;
    info.name = cpu.name;
    if (cpu.hasMhz)
        info.clockText = QByteArray::number(cpu.mhz);
    if (memory.known) {
        // Thousands separators as the servers have always received them, whatever the locale.
        const QLocale english(QLocale::English, QLocale::UnitedStates);
        info.memoryText = english.toString(memory.totalMb).toLatin1() + "MB(" +
                          QByteArray::number(memory.loadPercent) + "% used)";
    }
    return info;
}

QByteArray SystemDescription() {
    return FormatSystemDescription(CurrentOsFacts(), CurrentCpuFacts(), CurrentMemoryFacts());
}

ProcessorInfo ProcessorDescription() {
    return FormatProcessorDescription(CurrentCpuFacts(), CurrentMemoryFacts());
}

} // namespace qev
