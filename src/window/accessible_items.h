#pragma once

#include <string>
#include <vector>

#include "window/form.h"
#include "window/window_state.h"

namespace tsukikage {

// What the window shows, told the way a screen reader needs it: each visible control that
// carries meaning, with a role, a name in the game's words and where it is. The views build
// their accessibility from this list, so a desktop and a browser player tell the same thing.

enum class AccessibleRole { StaticText, Button, ListItem };

// The controls by their ids, and two items of the player's conveniences drawn over them.
inline constexpr int kHistoryItem = kControlCount;
inline constexpr int kSignItem = kControlCount + 1;
inline constexpr int kAccessibleKeyCount = kControlCount + 2;

struct AccessibleItem {
    int key = 0;  // a ControlId, kHistoryItem or kSignItem: stays the same while it is shown
    AccessibleRole role = AccessibleRole::StaticText;
    std::string name;
    Rect rect;  // client-area pixels
    bool enabled = true;
    // Where a screen reader's attention belongs: the keyboard's focus, else what just
    // appeared for the player to read or pick. At most one item has it.
    bool focused = false;
};

// Front to back in reading order: the page or list text first, then what can be clicked.
std::vector<AccessibleItem> AccessibleItems(const Form& form, const WindowState& state);

// The two choice captions as one line to read out ("1. … 2. …"), empty while none stands.
std::string ChoicesLine(const Form& form);

}  // namespace tsukikage
