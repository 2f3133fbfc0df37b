#pragma once

#include "window/main_window.h"

namespace tsukikage {

// The about box frmAbout: the menu item VerData opens it beside the main window, which stays
// usable; OK or its close box unloads it. Its model is the window's about_form.
class AboutBox {
  public:
    explicit AboutBox(MainWindow& window) : w_(window) {}

    // Claims VerData.
    void ClaimEvents(EventTable& events);

    // Loads and shows the box, or brings the open one to the front without loading it again.
    void VerData_Click();
    // Fills in the window caption, the version line and the title.
    void Form_Load();
    void cmdOK_Click();
    // The box's close box.
    void Form_Unload();

  private:
    AboutForm& about() { return w_.about_form; }

    MainWindow& w_;
};

}  // namespace tsukikage
