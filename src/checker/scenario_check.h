#pragma once

#include <string>
#include <vector>

#include "base/game_folder.h"
#include "base/messages.h"

namespace tsukikage {

// Reads a game folder the way the player does and tells, one line each, what would go wrong
// in play: "datafile:LINE: message" for the scenario, "NAME: message" for the lists, in
// `language`. Nothing found is an empty list.
//
// The scenario: lines that are no valid CP932; jump and choice targets without their label;
// pictures, window pictures, sounds and music that the lookup does not find; picture numbers
// outside 1 to 250 or above the seen record's count; part markers that are no number or
// stand twice; scene markers without their partner; endings outside 1 to 3; jumps that come
// back to themselves with no line between that waits, which would loop for ever; waves of an
// encoding the player does not decode, and RIFF MIDI files with no MIDI inside. The lists:
// "\list.dat" and "\Scenelist.dat" that do not read as a count and that many names, and
// music-room tracks that are not found or cannot be played.
std::vector<std::string> CheckGame(const GameFolder& folder, Language language);

}  // namespace tsukikage
