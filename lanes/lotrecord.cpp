#include "lanes/lotrecord.h"

#include "lanes/wirefields.h"
#include "session/codec/linecodec.h"

#include <QFile>

namespace qev {

namespace {
// Shift-JIS: "年 " and "!!セリフラグ".
const QByteArray kYearSuffix = QByteArrayLiteral("\x94\x4e ");
const QByteArray kBidLockName = QByteArrayLiteral("!!\x83\x5a\x83\x8a\x83\x74\x83\x89\x83\x4f");
} // namespace

TLotRecord TLotRecord::FromFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    if (file.size() > MaxFileBytes)
        return {};
    const QByteArray bytes = file.read(MaxFileBytes + 1);
    if (bytes.size() > MaxFileBytes)
        return {};
    return FromScrambled(bytes);
}

TLotRecord TLotRecord::FromScrambled(QByteArrayView scrambled) {
    if (scrambled.size() > MaxFileBytes)
        return {};
    return FromPlain(LineUnscramble(scrambled));
}

TLotRecord TLotRecord::FromPlain(QByteArrayView plain) {
    TLotRecord record;
    qsizetype start = 0;
    const qsizetype n = plain.size();
    while (start < n) {
        qsizetype end = start;
        while (end < n && plain[end] != '\r' && plain[end] != '\n')
            ++end;
        record.m_lines.append(plain.sliced(start, end - start).toByteArray());
        if (end < n && plain[end] == '\r' && end + 1 < n && plain[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
    return record;
}

QByteArray TLotRecord::Value(QByteArrayView name) const {
    for (const QByteArray& line : m_lines) {
        const qsizetype eq = line.indexOf('=');
        if (eq >= 0 && QByteArrayView(line).first(eq) == name)
            return line.mid(eq + 1);
    }
    return {};
}

QByteArray TLotRecord::FormatLotNumber(QByteArrayView text) {
    const int number = ReadDecimal(TrimBlanks(text), 0);
    if (number < 1)
        return {};
    return QByteArray::number(number).rightJustified(4, '0');
}

QByteArray TLotRecord::ExhibitNumberText() const {
    return FormatLotNumber(Value("REAL_EXHIBIT_NO"));
}

int TLotRecord::ExhibitNumber() const {
    return ReadDecimal(Value("REAL_EXHIBIT_NO"), -1);
}

QByteArray TLotRecord::CarLine() const {
    const QByteArray year = TrimBlanks(Value("REAL_NENSHIKI"));
    const QByteArray name = TrimBlanks(Value("REAL_CAR_NAME"));
    if (year.isEmpty())
        return name;
    return year + kYearSuffix + name;
}

int TLotRecord::StartPrice() const {
    const int yen = ReadDecimal(Value("REAL_START_PRICE"), -1);
    return yen >= 0 ? yen / 1000 : yen;
}

QByteArray TLotRecord::Correction() const {
    return TrimBlanks(WidenFullWidthSpaces(Value("REAL_TEISEI")));
}

bool TLotRecord::BidLocked() const {
    return Value(kBidLockName) == "1";
}

QByteArray TLotRecord::ExhibitorCode() const {
    return Value("REAL_SHUPPIN_TEN_CD");
}

} // namespace qev
