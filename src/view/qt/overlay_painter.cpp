#include "view/qt/overlay_painter.h"

#include <QFontMetricsF>
#include <QString>

#include <vector>

#include "view/qt/text_layout.h"

namespace tsukikage {
namespace {

const QColor kHistoryShade(0, 0, 0, 215);
const QColor kPageColor(0xF4, 0xF4, 0xF4);
const QColor kPickColor(0xFF, 0xD8, 0x70);
const QColor kHintColor(0xA8, 0xA8, 0xA8);
const QColor kSignShade(0, 0, 0, 170);
constexpr int kMargin = 28;
constexpr int kHintSize = 12;
// A picked caption is set off by a mark before it.
const QString kPickMark = QStringLiteral("▶ ");
const QString kHint = QStringLiteral("↑↓・ホイールで移動　Esc・右クリックで閉じる");

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

constexpr std::size_t kKeptEntries = 256;

// The rows of one entry at the width, each of its lines wrapped as a caption is.
std::vector<QString> EntryRows(const HistoryEntry& entry, const QFontMetricsF& metrics,
                               qreal width) {
    std::vector<QString> rows;
    bool first = true;
    // Every line of a page, but never more than a screen could show of one entry.
    for (std::string_view line : LeadingLines(entry.text, 64)) {
        QString text = QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()));
        if (entry.pick && first) text.prepend(kPickMark);
        first = false;
        for (QString& row : WrapLine(text, metrics, width)) rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace

const std::vector<QString>& OverlayPainter::Rows(const HistoryEntry& entry, const QFont& font,
                                                 const QFontMetricsF& metrics, qreal width) {
    if (font.key() != rows_font_ || rows_.size() > kKeptEntries) {
        rows_.clear();
        rows_font_ = font.key();
    }
    const std::string key = (entry.pick ? "p" : "t") + entry.text;
    auto at = rows_.find(key);
    if (at == rows_.end()) at = rows_.emplace(key, EntryRows(entry, metrics, width)).first;
    return at->second;
}

void OverlayPainter::PaintHistory(QPainter& painter, const HistoryView& history,
                                  const Font& design) {
    const QRect client(0, 0, kClientWidth, kClientHeight);
    painter.fillRect(client, kHistoryShade);

    QFont hint_font = ControlFont(Font{design.face, 0, kHintSize});
    const QFontMetricsF hint_metrics(hint_font, painter.device());
    painter.setFont(hint_font);
    painter.setPen(kHintColor);
    painter.drawText(QPointF(kMargin, kMargin / 2 + hint_metrics.ascent()),
                     QStringLiteral("履歴　%1 / %2").arg(history.position).arg(history.count));
    painter.drawText(QPointF(kMargin, kClientHeight - kMargin / 2 - hint_metrics.descent()), kHint);

    // The bottom entry sits at the bottom; older ones stack above it until the top is reached.
    const QFont font = ControlFont(design);
    const QFontMetricsF metrics(font, painter.device());
    const qreal line_height = font.pixelSize();
    const qreal top = kMargin + hint_metrics.height();
    const qreal width = kClientWidth - 2 * kMargin;
    qreal bottom = kClientHeight - kMargin - hint_metrics.height();
    painter.setFont(font);
    for (auto entry = history.entries.rbegin(); entry != history.entries.rend(); ++entry) {
        const std::vector<QString>& rows = Rows(*entry, font, metrics, width);
        painter.setPen(entry->pick ? kPickColor : kPageColor);
        qreal y = bottom - static_cast<qreal>(rows.size()) * line_height;
        for (const QString& row : rows) {
            if (y >= top) painter.drawText(QPointF(kMargin, y + metrics.ascent()), row);
            y += line_height;
        }
        bottom -= static_cast<qreal>(rows.size()) * line_height + line_height / 2;
        if (bottom < top) break;
    }
}

namespace {

void PaintSign(QPainter& painter, const std::string& sign, const Font& design) {
    const QFont font = ControlFont(Font{design.face, 0, kHintSize});
    const QFontMetricsF metrics(font, painter.device());
    const QString text = FromUtf8(sign);
    const QSizeF size(metrics.horizontalAdvance(text) + 12, metrics.height() + 6);
    const QRectF box(kClientWidth - size.width() - 8, 8, size.width(), size.height());
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kSignShade);
    painter.drawRoundedRect(box, 4, 4);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setFont(font);
    painter.setPen(kPageColor);
    painter.drawText(box, Qt::AlignCenter, text);
}

}  // namespace

void OverlayPainter::Paint(QPainter& painter, const Overlay& overlay, const Font& font) {
    if (overlay.history.open) PaintHistory(painter, overlay.history, font);
    if (!overlay.sign.empty() && !overlay.history.open) PaintSign(painter, overlay.sign, font);
}

}  // namespace tsukikage
