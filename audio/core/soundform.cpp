#include "audio/core/soundform.h"

#include <cstring>

namespace qev {

namespace {

char silenceOf(const WaveFormat& f) {
    return f.bits == 8 ? char(0x80) : char(0);
}

qint64 bytesOfMs(const WaveFormat& f, int ms) {
    const qint64 align = qMax(1, f.blockAlign());
    return f.bytesPerSecond() * ms / 1000 / align * align;
}

} // namespace

TSoundForm::TSoundForm(std::unique_ptr<AudioDevice> device)
    : m_device(std::move(device)) {}

TSoundForm::~TSoundForm() {
    FinalizeAudio();
}

void TSoundForm::InitAudio(int rate, int bits, int channels) {
    if (m_started)
        throw std::logic_error("Already Initialized");
    m_deviceOpen = m_device && m_device->Open();
    SetPcmFormat(rate, bits, channels);
    m_started = true;
}

void TSoundForm::SetPcmFormat(int rate, int bits, int channels) {
    m_format = {rate, bits, channels};
    if (m_deviceOpen)
        m_device->SetPrimaryFormat(rate, bits, channels);
}

bool TSoundForm::ensureStream() {
    if (m_stream && m_stream->IsPlaying() && m_streamFormat == m_format)
        return true;
    // Another format (or a stream the sound server dropped): what waits belongs to the old one.
    dropStream();
    if (!m_deviceOpen || !m_format.playable())
        return false;
    auto s = m_device->CreateStream(m_streamsMade++);
    if (!s)
        return false;
    s->Source = [this](char* data, qsizetype max) { return pull(data, max); };
    if (s->SetVolume(m_volume))
        m_volumeApplied = true;
    if (!s->Start(m_format))
        return false;
    m_stream = std::move(s);
    m_streamFormat = m_format;
    return true;
}

void TSoundForm::dropStream() {
    m_queue.clear();
    m_frontOffset = 0;
    m_backlog = 0;
    if (!m_stream)
        return;
    // Source must not reach back into a stream being torn down.
    std::unique_ptr<TAudioStream> s = std::move(m_stream);
    s->Source = nullptr;
    s->Stop();
}

void TSoundForm::QueueChunk(int sequence, QByteArray pcm) {
    // Nothing is queued before the output starts; the channel drops audio until then.
    if (!m_started || pcm.isEmpty())
        return;
    if (OnChunkQueued) {
        auto handler = OnChunkQueued;
        handler(*this, TWaveItem{sequence, pcm});
    }
    const bool fresh = !m_stream || m_streamFormat != m_format || !m_stream->IsPlaying();
    if (!ensureStream())
        return;
    // Whole samples only: a stray byte would shift every later sample.
    const qsizetype align = qMax(1, m_format.blockAlign());
    pcm.truncate(pcm.size() / align * align);
    if (pcm.isEmpty())
        return;
    if (fresh || (m_queue.empty() && m_stream->Held() == 0)) {
        const qint64 lead = bytesOfMs(m_format, kLeadMs);
        m_queue.push_back({-1, QByteArray(qsizetype(lead), silenceOf(m_format))});
        m_backlog += lead;
    }
    m_backlog += pcm.size();
    m_queue.push_back({sequence, std::move(pcm)});
    trimBacklog();
    m_stream->Wake();
}

// Drops the oldest waiting audio beyond the bound, so the delay behind the live voice never grows.
void TSoundForm::trimBacklog() {
    const qint64 limit = bytesOfMs(m_format, kMaxBacklogMs);
    while (m_backlog > limit && !m_queue.empty()) {
        TWaveItem& front = m_queue.front();
        const qint64 left = front.pcm.size() - m_frontOffset;
        const qint64 excess = m_backlog - limit;
        if (left <= excess) {
            m_backlog -= left;
            m_queue.pop_front();
            m_frontOffset = 0;
        } else {
            m_frontOffset += qsizetype(excess);
            m_backlog -= excess;
        }
    }
}

qsizetype TSoundForm::pull(char* data, qsizetype max) {
    qsizetype done = 0;
    while (done < max && !m_queue.empty()) {
        const QByteArray& front = m_queue.front().pcm;
        const qsizetype n = qMin(max - done, front.size() - m_frontOffset);
        std::memcpy(data + done, front.constData() + m_frontOffset, size_t(n));
        done += n;
        m_frontOffset += n;
        if (m_frontOffset == front.size()) {
            m_queue.pop_front();
            m_frontOffset = 0;
        }
    }
    m_backlog -= done;
    return done;
}

void TSoundForm::ResetPlayback() {
    if (!m_started)
        return;
    dropStream();
}

void TSoundForm::SetVolume(int attenuation) {
    m_volume = attenuation;
    if (m_stream && m_stream->SetVolume(attenuation))
        m_volumeApplied = true;
}

void TSoundForm::FinalizeAudio() {
    if (!m_started)
        return;
    dropStream();
    m_deviceOpen = false;
    m_started = false;
}

} // namespace qev
