#pragma once

#include "audio/core/audiostream.h"
#include "audio/core/waveimage.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QObject>
#include <memory>

namespace qev {

// One player of the live audio on a QAudioSink of its own. The sink pulls the chunk from memory;
// when it runs dry, what it still holds is played out and then the end is reported (on the GUI
// thread, where the sink's signals arrive), so reusing the player never cuts a chunk's tail.
// Every chunk gets a sink of its own format.
class QtAudioStream final : public QObject, public TAudioStream {
    Q_OBJECT
public:
    explicit QtAudioStream(const QAudioDevice& device);
    ~QtAudioStream() override;

    bool Play(const QByteArray& wave) override;
    void Stop() override;
    bool IsPlaying() const override { return m_playing; }
    bool SetVolume(int attenuation) override;

    static QAudioFormat FormatOf(const WaveFormat& f);
    // A chunk that has not ended this long after its own length is given up (a stalled sink
    // must not hold its player for good).
    static constexpr int kOverdueMs = 2000;

private:
    void stateChanged(QAudio::State state);
    void playedOut(int generation);
    void overdue(int generation);
    void haltSink();

    QAudioDevice m_device;
    std::unique_ptr<QAudioSink> m_sink;
    WaveFormat m_format;
    QByteArray m_pcm;
    QBuffer m_buffer;
    double m_gain = 1.0;
    bool m_playing = false;
    std::shared_ptr<int> m_generation = std::make_shared<int>(0);
};

} // namespace qev
