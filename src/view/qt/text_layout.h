#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QString>

#include <string_view>
#include <vector>

#include "window/form.h"

namespace tsukikage {

// Text laid out the way the original drew it, for captions and for the text history.

QColor ToQColor(Rgb rgb);

// The first `max_lines` lines of a caption. CR LF, a lone CR and a lone LF each end a line,
// as in the original text drawing; each line is cut at a character boundary.
std::vector<std::string_view> LeadingLines(std::string_view text, int max_lines);

// The font a control's design names, at its pixel size.
QFont ControlFont(const Font& design);

// Breaks one line of a caption into rows no wider than `width`, the way the original text
// drawing breaks Japanese text: between any two characters, a Latin word moved whole to the
// next row when it fits there. Every character takes its room, the ideographic space too, so
// runs of them place the words after them; an ASCII blank where a row breaks is dropped.
std::vector<QString> WrapLine(const QString& text, const QFontMetricsF& metrics, qreal width);

}  // namespace tsukikage
