#include "session/codec/cast128cfb8.h"
#include "session/codec/linecodec.h"

namespace qev {

namespace {

// The line key and initial vector are constants of the protocol, derived once from the pass
// phrase; only the feedback register is per call, so equal lines encipher equally.
struct LineKey {
    Cast128Cfb8 cipher;
    QByteArray iv;

    LineKey()
        : cipher(Sha1Digest(QByteArrayLiteral("m7k3v8t5qh")).first(Cast128Cfb8::KeySize))
        , iv(cipher.encryptBlock(QByteArray(Cast128Cfb8::BlockSize, '\xFF'))) {}
};

const LineKey& lineKey() {
    static const LineKey key;
    return key;
}

} // namespace

QByteArray LineCipher(QByteArrayView text) {
    if (text.isEmpty())
        return {};
    const LineKey& key = lineKey();
    return Base64Encode(key.cipher.encrypt(key.iv, text));
}

QByteArray LineDecipher(QByteArrayView text) {
    QByteArray decoded;
    if (text.contains('%')) {
        if (!TryBase64Decode(FormUrlDecode(text), decoded))
            return {};
    } else if (!TryBase64Decode(text, decoded)) {
        return {};
    }
    if (decoded.isEmpty())
        return {};
    const LineKey& key = lineKey();
    return key.cipher.decrypt(key.iv, decoded);
}

} // namespace qev
