#include "title/about_box.h"

#include <string>

#include "platform/application.h"

namespace tsukikage {

void AboutBox::ClaimEvents(EventTable& events) {
    events.OnMenu(MenuId::VerData, "AboutBox::VerData_Click", [this] { VerData_Click(); });
}

void AboutBox::VerData_Click() {
    if (about().loaded) {
        ++about().raise_requests;
        return;
    }
    about().loaded = true;
    ++about().load_count;
    Form_Load();
}

void AboutBox::Form_Load() {
    const std::string title(application::kTitle);
    about().caption = title + "のﾊﾞｰｼﾞｮﾝ情報";
    about().lblVersion = "ﾊﾞｰｼﾞｮﾝ " + std::to_string(application::kMajor) + "." +
                         std::to_string(application::kMinor) + "." +
                         std::to_string(application::kRevision);
    about().lblTitle = title;
}

void AboutBox::cmdOK_Click() {
    about().Unload();
}

void AboutBox::Form_Unload() {
    about().Unload();
}

}  // namespace tsukikage
