#pragma once

#include <string_view>

namespace tsukikage {

class Engine;

// The page of message text: the page buffer txtTell, the message label Label1, the advance
// marker imgAhead and the window picture set by command "l".
class Page {
  public:
    explicit Page(Engine& engine) : e_(engine) {}

    void EmptyPage();
    // Appends a line to the page buffer; the label shows the buffer by the time the reader
    // stops or runs a command (see Show). `reveal` makes the label visible and hides the
    // buffer, as a text line read by the advance operation does.
    void AppendLine(std::string_view line, bool reveal);
    // Brings the label up to date with the buffer after a run of appended lines.
    void Show();

    void SetWindowPicture(std::string_view file_name);
    void imgAhead_MouseMove();

  private:
    Engine& e_;
    bool pending_ = false;
    bool pending_reveal_ = false;
};

}  // namespace tsukikage
