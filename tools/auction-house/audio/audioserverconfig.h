#pragma once

#include <QByteArray>
#include <QHostAddress>

namespace qev {

// How the audio server misbehaves on purpose, for the client's fault tests.
enum class AudioFault {
    None,
    Drop,   // closes each client right after sending it a few frames
    Stall,  // keeps the connection but sends nothing
    Garble, // overwrites random bytes inside frame bodies (the framing stays intact)
    Flood,  // sends audio ten times faster than real time
};

struct AudioServerConfig {
    QHostAddress address = QHostAddress::LocalHost;
    quint16 port = 0; // 0 picks a free port
    int codec = 0;    // 0 raw 8-bit, 1 zlib 8-bit, 2 GSM 6.10 (8000 Hz)
    int sampleRate = 8000;
    int frameMs = 40;          // audio carried by one frame
    int percentage = 20;       // the client's chunk threshold, percent of the rate
    int requestIntervalMs = 0; // above 0: send "QN" again this often
    bool autoChant = true;     // invent price steps and lots when nobody drives the server
    int autoStepMs = 900;
    int autoStepsPerLot = 8;
    double markerHz = 1000.0;
    AudioFault fault = AudioFault::None;
};

} // namespace qev
