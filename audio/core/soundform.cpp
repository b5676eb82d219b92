#include "audio/core/soundform.h"

namespace qev {

TSoundForm::TSoundForm(std::unique_ptr<AudioDevice> device)
    : m_device(std::move(device)) {}

TSoundForm::~TSoundForm() {
    FinalizeAudio();
}

void TSoundForm::attach(TAudioStream& p) {
    p.OnEnd = [this](TAudioStream&) { PlayNextChunk(); };
}

void TSoundForm::InitAudio(int rate, int bits, int channels) {
    if (m_started)
        throw std::logic_error("Already Initialized");
    m_format = {rate, bits, channels};
    m_deviceOpen = m_device && m_device->Open();
    if (m_deviceOpen) {
        SetPcmFormat(rate, bits, channels);
        for (int i = 0; i < kPlayers; ++i) {
            auto p = m_device->CreateStream(i);
            if (!p)
                continue;
            p->Tag = i;
            attach(*p);
            m_players[std::size_t(i)] = std::move(p);
        }
    }
    m_started = true;
}

void TSoundForm::SetPcmFormat(int rate, int bits, int channels) {
    m_format = {rate, bits, channels};
    if (m_deviceOpen)
        m_device->SetPrimaryFormat(rate, bits, channels);
}

void TSoundForm::QueueChunk(int sequence, QByteArray pcm) {
    // Nothing is queued before the output starts; the channel drops audio until then.
    if (!m_started)
        return;
    if (qsizetype(m_queue.size()) >= kQueueLimit)
        ResetPlayback();
    m_queue.push_back({sequence, std::move(pcm)});
    PlayNextChunk();
}

int TSoundForm::FindIdlePlayer() const {
    for (int i = 0; i < kPlayers; ++i) {
        const auto& p = m_players[std::size_t(i)];
        if (p && !p->IsPlaying())
            return i;
    }
    return -1;
}

void TSoundForm::PlayNextChunk() {
    if (!m_started || m_queue.empty())
        return;
    const int idle = FindIdlePlayer();
    if (idle < 0)
        return;
    // The chunk leaves the queue even if starting it fails.
    TWaveItem item = std::move(m_queue.front());
    m_queue.pop_front();
    TAudioStream& p = *m_players[std::size_t(idle)];
    const QByteArray wave = BuildWaveImage(m_format, item.pcm);
    p.SetVolume(m_volume);
    p.Play(wave);
}

// Empties the queue and stops every player without letting a stop report an end.
void TSoundForm::StopPlayers() {
    m_queue.clear();
    for (auto& p : m_players) {
        if (!p)
            continue;
        p->OnEnd = nullptr;
        if (p->IsPlaying())
            p->Stop();
    }
}

void TSoundForm::ResetPlayback() {
    if (!m_started)
        return;
    StopPlayers();
    for (auto& p : m_players) {
        if (p)
            attach(*p);
    }
}

void TSoundForm::SetVolume(int attenuation) {
    m_volume = attenuation;
    for (auto& p : m_players) {
        if (p && p->SetVolume(attenuation))
            m_volumeApplied = true;
    }
}

void TSoundForm::FinalizeAudio() {
    if (!m_started)
        return;
    StopPlayers();
    for (auto& p : m_players)
        p.reset();
    m_deviceOpen = false;
    m_started = false;
}

} // namespace qev
