#pragma once

#include "audio/core/audiostream.h"
#include "audio/core/waveimage.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QByteArray>
#include <QIODevice>
#include <QObject>
#include <QTimer>
#include <memory>

namespace qev {

// The live audio's stream on one QAudioSink in push mode, fed on the GUI thread: every refresh
// (and every wake) writes as much of the source as the sink has room for, and the sink's own
// buffer is kept short, so the backlog stays with the output, where it can be dropped.
class QtAudioStream final : public QObject, public TAudioStream {
    Q_OBJECT
public:
    static constexpr int kBufferMs = 100;
    static constexpr int kRefreshMs = 10;

    explicit QtAudioStream(const QAudioDevice& device);
    ~QtAudioStream() override;

    bool Start(const WaveFormat& format) override;
    void Stop() override;
    bool IsPlaying() const override { return m_playing; }
    void Wake() override { feed(); }
    qint64 Held() const override;
    bool SetVolume(int attenuation) override;

    static QAudioFormat FormatOf(const WaveFormat& f);

private:
    void feed();
    void stateChanged(QAudio::State state);
    void halt();

    QAudioDevice m_device;
    std::unique_ptr<QAudioSink> m_sink;
    QIODevice* m_io = nullptr; // owned by m_sink
    WaveFormat m_format;
    QByteArray m_carry; // pulled from the source, not yet taken by the sink
    QByteArray m_scratch;
    QTimer m_refresh;
    double m_gain = 1.0;
    bool m_playing = false;
    bool m_feeding = false;
};

} // namespace qev
