#include "audio/core/waveimage.h"

#include <QFile>
#include <QTest>
#include <QtEndian>
#include <cmath>

using namespace qev;

namespace {

QByteArray resource(const QString& name) {
    QFile f(QStringLiteral(":/sounds/") + name + QStringLiteral(".wav"));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Peak of the PCM as a share of full scale.
double peakOf(const WaveFormat& f, QByteArrayView pcm) {
    double peak = 0;
    if (f.bits == 8) {
        for (char c : pcm)
            peak = qMax(peak, std::abs(quint8(c) - 128) / 128.0);
    } else {
        for (qsizetype i = 0; i + 1 < pcm.size(); i += 2)
            peak = qMax(peak, std::abs(qFromLittleEndian<qint16>(pcm.data() + i)) / 32768.0);
    }
    return peak;
}

} // namespace

class TestSounds : public QObject {
    Q_OBJECT
private slots:
    void formatsAndLengths_data();
    void formatsAndLengths();
    void cuesDifferFromEachOther();
};

void TestSounds::formatsAndLengths_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("rate");
    QTest::addColumn<int>("bits");
    QTest::addColumn<int>("channels");
    QTest::addColumn<int>("bytes");
    QTest::newRow("click") << QStringLiteral("S_CLICK") << 11025 << 16 << 1 << 852;
    QTest::newRow("push") << QStringLiteral("S_PUSH") << 22050 << 8 << 1 << 832;
    QTest::newRow("alarm") << QStringLiteral("S_ALARM") << 44100 << 16 << 2 << 352248;
    for (const char* cue : {"S_START", "S_START1", "S_START2", "S_SELLOUT", "S_CALLED", "S_SOLD"})
        QTest::newRow(cue) << QString::fromLatin1(cue) << 22050 << 8 << 1 << 3452;
}

void TestSounds::formatsAndLengths() {
    QFETCH(QString, name);
    QFETCH(int, bytes);
    const QByteArray wave = resource(name);
    WaveFormat f;
    QByteArrayView pcm;
    QVERIFY2(ParseWaveImage(wave, f, pcm), qPrintable(name));
    QTEST(f.rate, "rate");
    QTEST(f.bits, "bits");
    QTEST(f.channels, "channels");
    QCOMPARE(pcm.size(), bytes);
    // Audible, and not clipped.
    const double peak = peakOf(f, pcm);
    QVERIFY2(peak > 0.3 && peak < 0.95, qPrintable(QString::number(peak)));
}

void TestSounds::cuesDifferFromEachOther() {
    QSet<QByteArray> seen;
    for (const char* cue : {"S_START", "S_START1", "S_START2", "S_SELLOUT", "S_CALLED", "S_SOLD"}) {
        const QByteArray wave = resource(QString::fromLatin1(cue));
        QVERIFY(!wave.isEmpty());
        QVERIFY2(!seen.contains(wave), cue);
        seen.insert(wave);
    }
}

QTEST_GUILESS_MAIN(TestSounds)
#include "tst_sounds.moc"
