#include "view/qt/text_layout.h"

namespace tsukikage {
namespace {

// A line longer than this cannot fit a label anyway; cutting it keeps a runaway caption
// (megabytes of text from a broken scenario) from being laid out.
constexpr std::size_t kMaxLineBytes = 8192;

}  // namespace

QColor ToQColor(Rgb rgb) {
    return QColor::fromRgb(static_cast<QRgb>(rgb & 0xFFFFFFu));
}

std::vector<std::string_view> LeadingLines(std::string_view text, int max_lines) {
    std::vector<std::string_view> lines;
    std::size_t pos = 0;
    while (static_cast<int>(lines.size()) < max_lines) {
        std::size_t end = text.find_first_of("\r\n", pos);
        std::string_view line =
            text.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
        if (line.size() > kMaxLineBytes) {
            std::size_t cut = kMaxLineBytes;
            while (cut > 0 && (static_cast<unsigned char>(line[cut]) & 0xC0) == 0x80) --cut;
            line = line.substr(0, cut);
        }
        lines.push_back(line);
        if (end == std::string_view::npos) break;
        pos = end + 1;
        if (text[end] == '\r' && pos < text.size() && text[pos] == '\n') ++pos;
    }
    return lines;
}

QFont ControlFont(const Font& design) {
    QFont font(QString::fromUtf8(design.face.data(), static_cast<qsizetype>(design.face.size())));
    font.setPixelSize(design.pixel_size > 0 ? design.pixel_size : 12);
    return font;
}

namespace {

// Letters and digits of a word in Latin script, which wraps as a whole.
bool IsWordChar(QChar c) {
    return c.unicode() < 0x80 && c.isLetterOrNumber();
}

}  // namespace

std::vector<QString> WrapLine(const QString& text, const QFontMetricsF& metrics, qreal width) {
    std::vector<QString> rows;
    QString row;
    qsizetype i = 0;
    while (i < text.size()) {
        const qsizetype n = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString next = text.mid(i, n);
        if (row.isEmpty() || metrics.horizontalAdvance(row + next) <= width) {
            row += next;
            i += n;
            continue;
        }
        qsizetype word = row.size();
        while (word > 0 && IsWordChar(row[word - 1]) && IsWordChar(next[0])) --word;
        if (word > 0 && word < row.size()) {
            rows.push_back(row.left(word));
            row = row.mid(word);
        } else {
            rows.push_back(row);
            row.clear();
            if (next == QStringLiteral(" ")) i += n;
        }
    }
    rows.push_back(row);
    return rows;
}

}  // namespace tsukikage
