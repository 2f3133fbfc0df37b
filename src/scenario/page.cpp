#include "scenario/page.h"

#include "app/engine.h"
#include "platform/runtime_error.h"

namespace tsukikage {

void Page::EmptyPage() {
    e_.form[ControlId::txtTell].caption.clear();
}

void Page::AppendLine(std::string_view line, bool reveal) {
    std::string& buffer = e_.form[ControlId::txtTell].caption;
    buffer.append(line);
    buffer.append("\r\n");
    pending_ = true;
    pending_reveal_ = pending_reveal_ || reveal;
}

// The label is filled once per run of text lines rather than once per line: nothing can
// look at it in between, and copying a long page after every line would be quadratic.
void Page::Show() {
    if (!pending_) return;
    Control& label = e_.form[ControlId::Label1];
    label.caption = e_.form[ControlId::txtTell].caption;
    if (pending_reveal_) {
        label.visible = true;
        e_.form[ControlId::txtTell].visible = false;
    }
    pending_ = false;
    pending_reveal_ = false;
    e_.form.Changed();
}

void Page::SetWindowPicture(std::string_view file_name) {
    BusyPointer& pointer = e_.platform.busy_pointer;
    pointer.SetBusy(true);
    try {
        e_.form.window_picture = file_name.empty() ? nullptr : e_.LoadPicture(file_name);
    } catch (const RuntimeError& error) {
        pointer.SetBusy(false);
        e_.form.Changed();
        e_.platform.message_box.Show(ErrorDescription(error.number()), MessageIcon::Question,
                                     "ファイルロードエラー");
        return;
    }
    pointer.SetBusy(false);
    e_.form.Changed();
}

void Page::imgAhead_MouseMove() {
    Control& ahead = e_.form[ControlId::imgAhead];
    if (ahead.pointer != Pointer::Custom) {
        ahead.pointer = Pointer::Custom;
        e_.form.Changed();
    }
}

}  // namespace tsukikage
