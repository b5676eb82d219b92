#pragma once

#include "audio/core/audiodevice.h"
#include "audio/core/waveimage.h"
#include "audio/core/waveitem.h"

#include <QByteArray>
#include <array>
#include <deque>
#include <memory>
#include <stdexcept>

namespace qev {

// The live audio output: a short FIFO of PCM chunks played on four players as they fall idle, so
// playback follows arrival with no fixed delay, and a bounded queue that drops the backlog rather
// than let a delay grow behind the live voice.
class TSoundForm {
public:
    static constexpr int kPlayers = 4;
    static constexpr int kQueueLimit = 5;

    explicit TSoundForm(std::unique_ptr<AudioDevice> device);
    ~TSoundForm();
    TSoundForm(const TSoundForm&) = delete;
    TSoundForm& operator=(const TSoundForm&) = delete;

    // Opens the device and creates the players; counts as started even when the device failed.
    // Throws std::logic_error("Already Initialized") when already started.
    void InitAudio(int rate, int bits, int channels);
    void SetPcmFormat(int rate, int bits, int channels);
    void QueueChunk(int sequence, QByteArray pcm);
    void PlayNextChunk();
    // Index of the first existing player that is not playing, -1 when none.
    int FindIdlePlayer() const;
    void ResetPlayback();
    void SetVolume(int attenuation);
    void FinalizeAudio();

    bool started() const { return m_started; }
    bool volumeApplied() const { return m_volumeApplied; }
    int volume() const { return m_volume; }
    const WaveFormat& format() const { return m_format; }
    qsizetype queued() const { return qsizetype(m_queue.size()); }
    TAudioStream* player(int index) const { return m_players.at(std::size_t(index)).get(); }

private:
    void attach(TAudioStream& p);
    void StopPlayers();

    std::unique_ptr<AudioDevice> m_device;
    std::array<std::unique_ptr<TAudioStream>, kPlayers> m_players;
    std::deque<TWaveItem> m_queue;
    WaveFormat m_format;
    int m_volume = 0;
    bool m_volumeApplied = false;
    bool m_started = false;
    bool m_deviceOpen = false;
};

} // namespace qev
