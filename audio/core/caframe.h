#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace qev {

// The fields of an audio ("CA") frame's content: eight comma-separated fields, then the binary
// payload (which may itself hold commas). A field that is not a decimal integer takes its default.
struct CaFrame {
    enum Codec { Raw = 0, Zlib = 1, Gsm = 2 };

    bool carriesAudio = false; // data mark exactly "1"; anything else is a flush mark
    int codec = Zlib;
    int bits = 0;
    int rate = 0;
    int sequence = 0;
    int percentage = 20;
    QByteArray payload;

    // content: the body after the two type letters and the unexamined third byte.
    static CaFrame parse(QByteArrayView content);
    // Reads a whole field as a decimal integer (optional sign); false when it is not one.
    static bool parseInt(QByteArrayView field, int& value);
};

} // namespace qev
