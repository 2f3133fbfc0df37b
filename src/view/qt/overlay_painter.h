#pragma once

#include <QPainter>
#include <QString>

#include <map>
#include <string>
#include <vector>

#include "window/form.h"

namespace tsukikage {

// Draws the conveniences' overlay on the client area: the text history over the whole game
// screen in the game's font (the page label's), and the sign of skip or auto mode.
//
// Laying out a page's rows is the costly part, so the rows of the entries drawn are kept:
// moving the history by one page lays out only the page that comes into view.
class OverlayPainter {
  public:
    void Paint(QPainter& painter, const Overlay& overlay, const Font& font);

  private:
    const std::vector<QString>& Rows(const HistoryEntry& entry, const QFont& font,
                                     const QFontMetricsF& metrics, qreal width);
    void PaintHistory(QPainter& painter, const HistoryView& history, const Font& design);

    // Rows by entry text (a pick's with its mark), for one font; bounded in size.
    std::map<std::string, std::vector<QString>, std::less<>> rows_;
    QString rows_font_;
};

}  // namespace tsukikage
