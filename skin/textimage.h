#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>

namespace qev {

// Font with anti-aliased (or default) quality, the rest unchanged.
QFont WithSmoothing(const QFont& font, bool smooth);

// Height of a blank in the font: what the panels centre text with.
int SpaceHeight(const QFont& font);

// The text image the panels paint: measured at four times the size (so the box matches the
// supersampled layout), width = measured / 4 + 1, height = measured / 4 + 1, filled with the
// panel colour and the text drawn anti-aliased at (0, 0). Extra is added after every character.
QImage BuildTextImage(const QString& text, const QFont& font, int charExtra, const QColor& textColor,
                      const QColor& background);

} // namespace qev
