#pragma once

#include <QByteArray>
#include <QList>

namespace qev {

class GsmStreamEncoder;

// Builds the audio server's frames (length prefix and scrambled body) from 16-bit samples.
class CaFrameEncoder {
public:
    enum Codec { Raw8 = 0, Zlib8 = 1, Gsm = 2 };

    // An audio frame; Raw8 and Zlib8 carry unsigned 8-bit PCM, Gsm 65-byte blocks of 320 samples
    // (16-bit PCM once decoded; a sample count that is not a multiple of 320 is cut down). With
    // gsm, GSM frames continue that encoder's stream; without, each payload is a stream of its own.
    static QByteArray Audio(int codec, int rate, int sequence, int percentage, const QList<qint16>& samples,
                            GsmStreamEncoder* gsm = nullptr);
    // A flush mark: no audio, the client hands over what it has gathered.
    static QByteArray FlushMark(int codec, int rate, int sequence, int percentage);
    // "QN": the server asks for the subscription line.
    static QByteArray SubscriptionRequest();

    static int BitsOf(int codec) { return codec == Gsm ? 16 : 8; }
    static QByteArray Payload(int codec, const QList<qint16>& samples);
};

} // namespace qev
