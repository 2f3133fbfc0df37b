#pragma once

#include <string_view>

#include "window/main_window.h"

namespace tsukikage {

// The page of message text: the page buffer txtTell, the message label Label1, the advance
// marker imgAhead and the window picture set by command "l".
class Page {
  public:
    explicit Page(MainWindow& window) : w_(window) {}

    void EmptyPage();
    // Appends a line to the page buffer; the label shows the buffer by the time the reader
    // stops or runs a command (see Show). `reveal` makes the label visible and hides the
    // buffer, as a text line read by the advance operation does.
    void AppendLine(std::string_view line, bool reveal);
    // As AppendLine, for a line as the scenario holds it (CP932), decoded into the page.
    void AppendCp932Line(std::string_view raw, bool reveal);
    // Adds a line to the page buffer only: the label is left as it is.
    void Collect(std::string_view line);
    // Brings the label up to date with the buffer after a run of appended lines.
    void Show();
    // Counts the pages brought on screen by Show: a change tells that a new page is up.
    int shown_count() const { return shown_count_; }

    // Claims the mouse moves of the advance marker.
    void ClaimEvents(EventTable& events);

    void SetWindowPicture(std::string_view file_name);
    void imgAhead_MouseMove();

  private:
    MainWindow& w_;
    bool pending_ = false;
    bool pending_reveal_ = false;
    int shown_count_ = 0;
};

}  // namespace tsukikage
