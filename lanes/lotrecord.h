#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

namespace qev {

// A lot's record: the name=value lines of its detail file, Shift-JIS bytes. Reading never
// fails; anything unreadable gives the empty record.
class TLotRecord {
public:
    // Detail files larger than this are never read (a sound one is a few hundred bytes).
    static constexpr qsizetype MaxFileBytes = 1024 * 1024;

    TLotRecord() = default;

    // The detail file at path: unscrambled, split at CR LF, CR or LF.
    static TLotRecord FromFile(const QString& path);
    // The scrambled content of a detail file.
    static TLotRecord FromScrambled(QByteArrayView scrambled);
    // Plain name=value text.
    static TLotRecord FromPlain(QByteArrayView plain);

    bool IsEmpty() const { return m_lines.isEmpty(); }
    const QList<QByteArray>& Lines() const { return m_lines; }

    // The text after the first "=" of the first line whose name equals name; empty when none.
    QByteArray Value(QByteArrayView name) const;

    // "REAL_EXHIBIT_NO" trimmed, at least four digits; empty below 1 or when not a number.
    QByteArray ExhibitNumberText() const;
    // "REAL_EXHIBIT_NO" as it stands (no trimming); -1 when not a number.
    int ExhibitNumber() const;
    // Model year, "年 " and the car name; the name alone without a year.
    QByteArray CarLine() const;
    // "REAL_START_PRICE" in thousands of yen (yen / 1000, remainder dropped); -1 for no price.
    int StartPrice() const;
    // "REAL_TEISEI" with full-width spaces widened to two blanks, trimmed.
    QByteArray Correction() const;
    // The flag that keeps the bid button disabled.
    bool BidLocked() const;
    // "REAL_SHUPPIN_TEN_CD": the exhibitor's member code.
    QByteArray ExhibitorCode() const;

    // Zero-padded exhibit number text of a trimmed decimal value (shared with other displays).
    static QByteArray FormatLotNumber(QByteArrayView text);

private:
    QList<QByteArray> m_lines;
};

} // namespace qev
