// Machine facts for the sign-in: parsing the kernel's texts and the two report shapes.
#include "common/systeminfo.h"

#include <QTest>

using namespace qev;

namespace {

const QByteArray kCpuInfo = QByteArrayLiteral("processor\t: 0\n"
                                              "vendor_id\t: GenuineIntel\n"
                                              "cpu family\t: 6\n"
                                              "model\t\t: 158\n"
                                              "model name\t: Intel(R)  Core(TM) i7-8700    CPU @ 3.20GHz\n"
                                              "stepping\t: 10\n"
                                              "cpu MHz\t\t: 3599.998\n"
                                              "\n"
                                              "processor\t: 1\n"
                                              "vendor_id\t: GenuineIntel\n"
                                              "cpu family\t: 7\n"
                                              "model\t\t: 1\n"
                                              "cpu MHz\t\t: 800.000\n"
                                              "\n");

} // namespace

class TestSystemInfo : public QObject {
    Q_OBJECT

private slots:
    void cpuInfo() {
        const CpuFacts cpu = ParseCpuInfo(kCpuInfo);
        QCOMPARE(cpu.count, 2);
        QCOMPARE(cpu.family, 6);
        QCOMPARE(cpu.model, 158);
        QCOMPARE(cpu.stepping, 10);
        QCOMPARE(cpu.mhz, 3600);
        QCOMPARE(cpu.identifier, QByteArrayLiteral("Intel64 Family 6 Model 158 Stepping 10"));
        QCOMPARE(cpu.name, QByteArrayLiteral("Intel(R) Core(TM) i7-8700 CPU @ 3.20GHz"));
    }

    void cpuInfoOddInputs_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("count");
        QTest::addColumn<QByteArray>("identifier");
        QTest::addColumn<bool>("hasMhz");
        QByteArray many;
        for (int i = 0; i < 16; ++i)
            many +=
                "processor\t: " + QByteArray::number(i) + "\nvendor_id\t: AuthenticAMD\ncpu family\t: 23\n";
        QTest::newRow("empty") << QByteArray() << 0 << QByteArray() << false;
        QTest::newRow("at most 10") << many << 10 << QByteArrayLiteral("AMD64 Family 23 Model 0 Stepping 0")
                                    << false;
        QTest::newRow("other architecture")
            << QByteArrayLiteral("processor : 0\nBogoMIPS : 48.00\nCPU part : 0xd08\n") << 1
            << QByteArrayLiteral("CPU Family 0 Model 0 Stepping 0") << false;
        QTest::newRow("separators in vendor")
            << QByteArrayLiteral("processor:0\nvendor_id: A,B|C\ncpu MHz: fast\n") << 1
            << QByteArrayLiteral("A B C Family 0 Model 0 Stepping 0") << false;
        QTest::newRow("no newline at end") << QByteArrayLiteral("processor: 0\ncpu MHz: 1000") << 1
                                           << QByteArrayLiteral("CPU Family 0 Model 0 Stepping 0") << true;
    }
    void cpuInfoOddInputs() {
        QFETCH(QByteArray, text);
        QFETCH(int, count);
        QFETCH(QByteArray, identifier);
        QFETCH(bool, hasMhz);
        const CpuFacts cpu = ParseCpuInfo(text);
        QCOMPARE(cpu.count, count);
        QCOMPARE(cpu.identifier, identifier);
        QCOMPARE(cpu.hasMhz, hasMhz);
    }

    void memInfo_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("known");
        QTest::addColumn<qint64>("totalMb");
        QTest::addColumn<int>("load");
        QTest::newRow("normal") << QByteArrayLiteral("MemTotal:       16777216 kB\nMemFree: 1 kB\n"
                                                     "MemAvailable:   10905190 kB\n")
                                << true << qint64(16384) << 35;
        QTest::newRow("no available") << QByteArrayLiteral("MemTotal: 2048 kB\n") << true << qint64(2) << 0;
        QTest::newRow("available above total")
            << QByteArrayLiteral("MemTotal: 2048 kB\nMemAvailable: 4096 kB\n") << true << qint64(2) << 0;
        QTest::newRow("missing") << QByteArray() << false << qint64(0) << 0;
        QTest::newRow("garbage") << QByteArrayLiteral("MemTotal: lots\n") << false << qint64(0) << 0;
        QTest::newRow("zero") << QByteArrayLiteral("MemTotal: 0 kB\n") << false << qint64(0) << 0;
    }
    void memInfo() {
        QFETCH(QByteArray, text);
        QFETCH(bool, known);
        QFETCH(qint64, totalMb);
        QFETCH(int, load);
        const MemoryFacts m = ParseMemInfo(text);
        QCOMPARE(m.known, known);
        QCOMPARE(m.totalMb, totalMb);
        QCOMPARE(m.loadPercent, load);
    }

    void osRelease_data() {
        QTest::addColumn<QByteArray>("release");
        QTest::addColumn<int>("major");
        QTest::addColumn<int>("minor");
        QTest::addColumn<int>("build");
        QTest::newRow("debian") << QByteArrayLiteral("6.1.0-13-amd64") << 6 << 1 << 0;
        QTest::newRow("four parts") << QByteArrayLiteral("5.15.90.1-microsoft-standard") << 5 << 15 << 90;
        QTest::newRow("two parts") << QByteArrayLiteral("6.8") << 6 << 8 << 0;
        QTest::newRow("garbage") << QByteArrayLiteral("x.y") << 0 << 0 << 0;
        QTest::newRow("empty") << QByteArray() << 0 << 0 << 0;
    }
    void osRelease() {
        QFETCH(QByteArray, release);
        QFETCH(int, major);
        QFETCH(int, minor);
        QFETCH(int, build);
        const OsFacts os = ParseOsRelease(release);
        QCOMPARE(os.major, major);
        QCOMPARE(os.minor, minor);
        QCOMPARE(os.build, build);
    }

    void systemDescriptionShape() {
        const OsFacts os{6, 1, 7601, 2, QByteArrayLiteral("Service Pack 1")};
        CpuFacts cpu = ParseCpuInfo(kCpuInfo);
        cpu.count = 4;
        const MemoryFacts memory{true, 16384, 35};
        QCOMPARE(FormatSystemDescription(os, cpu, memory),
                 QByteArrayLiteral("6.1.7601.2.Service Pack 1,6,158,10,4,3600,16384,35"));
        // A distribution name never adds fields to the comma-separated line.
        const OsFacts odd{6, 1, 0, 2, QByteArrayLiteral("Debian, 12|bookworm\r")};
        QCOMPARE(FormatSystemDescription(odd, cpu, memory).count(','), 7);
    }

    void processorDescriptionShape() {
        const ProcessorInfo info = FormatProcessorDescription(ParseCpuInfo(kCpuInfo), {true, 16384, 35});
        QCOMPARE(info.count, 2);
        QCOMPARE(info.identifier, QByteArrayLiteral("Intel64 Family 6 Model 158 Stepping 10"));
        QCOMPARE(info.name, QByteArrayLiteral("Intel(R) Core(TM) i7-8700 CPU @ 3.20GHz"));
        QCOMPARE(info.memoryText, QByteArrayLiteral("16,384MB(35% used)"));
        QCOMPARE(info.clockText, QByteArrayLiteral("3600"));

        const ProcessorInfo unknown = FormatProcessorDescription(CpuFacts{}, MemoryFacts{});
        QCOMPARE(unknown.identifier, QByteArray());
        QCOMPARE(unknown.memoryText, QByteArray());
        QCOMPARE(unknown.clockText, QByteArray());
    }

    void thisMachine() {
        const QByteArray description = SystemDescription();
        QCOMPARE(description.count(','), 7);
        QVERIFY(ProcessorDescription().count >= 1);
        QVERIFY(ProcessorDescription().memoryText.endsWith("% used)"));
        QVERIFY(ComputerName().size() <= 255);
        QVERIFY(IsWindows7OrLater());
    }
};

QTEST_GUILESS_MAIN(TestSystemInfo)
#include "tst_systeminfo.moc"
