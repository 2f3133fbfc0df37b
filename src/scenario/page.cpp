#include "scenario/page.h"

#include "base/runtime_error.h"
#include "base/text_codec.h"
#include "window/main_window.h"

namespace tsukikage {

void Page::EmptyPage() {
    w_.form[ControlId::txtTell].caption.clear();
}

void Page::AppendLine(std::string_view line, bool reveal) {
    Collect(line);
    pending_ = true;
    pending_reveal_ = pending_reveal_ || reveal;
}

void Page::AppendCp932Line(std::string_view raw, bool reveal) {
    std::string& buffer = w_.form[ControlId::txtTell].caption;
    AppendCp932AsUtf8(raw, buffer);
    buffer.append("\r\n");
    pending_ = true;
    pending_reveal_ = pending_reveal_ || reveal;
}

void Page::Collect(std::string_view line) {
    std::string& buffer = w_.form[ControlId::txtTell].caption;
    buffer.append(line);
    buffer.append("\r\n");
}

// The label is filled once per run of text lines rather than once per line: nothing can
// look at it in between, and copying a long page after every line would be quadratic.
void Page::Show() {
    if (!pending_) return;
    Control& label = w_.form[ControlId::Label1];
    label.caption = w_.form[ControlId::txtTell].caption;
    if (pending_reveal_) {
        label.visible = true;
        w_.form[ControlId::txtTell].visible = false;
    }
    pending_ = false;
    pending_reveal_ = false;
    ++shown_count_;
    w_.form.Changed();
}

void Page::SetWindowPicture(std::string_view file_name) {
    BusyPointer& pointer = w_.platform.busy_pointer;
    pointer.SetBusy(true);
    std::shared_ptr<const Surface> picture;
    int error = 0;
    try {
        if (!file_name.empty()) {
            picture = w_.LoadPictureIfPresent(file_name);
            if (!picture) error = err::kFileNotFound;
        }
    } catch (const RuntimeError& raised) {
        error = raised.number();
    }
    if (error != 0) {
        pointer.SetBusy(false);
        w_.form.Changed();
        w_.platform.message_box.Show(ErrorDescription(error), MessageIcon::Question,
                                     "ファイルロードエラー");
        return;
    }
    w_.form.window_picture = std::move(picture);
    pointer.SetBusy(false);
    w_.form.Changed();
}

void Page::ClaimEvents(EventTable& events) {
    events.OnMouseMove(ControlId::imgAhead, "Page::imgAhead_MouseMove",
                       [this](int, int) { imgAhead_MouseMove(); });
}

void Page::imgAhead_MouseMove() {
    Control& ahead = w_.form[ControlId::imgAhead];
    if (ahead.pointer != Pointer::Custom) {
        ahead.pointer = Pointer::Custom;
        w_.form.Changed();
    }
}

}  // namespace tsukikage
