#pragma once

#include <cstdint>
#include <string>

namespace tsukikage {

// The about box frmAbout, a second window beside the main one: plain data that the about
// box's handlers change and the view shows. Unloaded, it holds its design captions; loading
// fills in the window caption, lblVersion and lblTitle.
struct AboutForm {
    AboutForm();  // the design state, not loaded

    // Back to the design state; the two counters are kept.
    void Unload();

    bool loaded = false;
    std::string caption;
    std::string lblVersion;
    std::string lblDescription;
    std::string lblDisclaimer;
    std::string lblTitle;
    std::string cmdOK;

    // How often the window was loaded, and how often it was asked to come to the front while
    // it was already open. The view raises the window when the second one changes.
    std::uint64_t load_count = 0;
    std::uint64_t raise_requests = 0;
};

}  // namespace tsukikage
