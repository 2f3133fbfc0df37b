#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "base/surface.h"
#include "window/about_form.h"
#include "window/form.h"

namespace tsukikage::web {

// Numbers for the pictures the page draws. A picture keeps its number while it lives, so the
// page turns its pixels into an image once; a freed picture's address coming back for a new
// one gets a new number.
class PictureTable {
  public:
    int IdOf(const std::shared_ptr<const Surface>& picture);
    // The picture of a number while it lives, or nullptr.
    const Surface* Find(int id) const;
    // Its pixels as bytes R, G, B, A, row by row, for the page's ImageData; valid until the
    // next call.
    const std::uint8_t* Rgba(int id);
    // The version of a picture whose pixels drawing changes in place: it moves on whenever
    // they differ from what it was last asked, so the page uploads them only then.
    int VersionOf(int id);
    // Lets go of the numbers of freed pictures.
    void Prune();

  private:
    struct Entry {
        std::weak_ptr<const Surface> picture;
        int id = 0;
    };
    struct Seen {
        int width = 0;
        int height = 0;
        std::vector<std::uint32_t> pixels;
        int version = 0;
    };
    std::map<const Surface*, Entry> by_address_;
    std::map<int, std::weak_ptr<const Surface>> by_id_;
    std::map<int, Seen> seen_;
    int next_id_ = 1;
    std::vector<std::uint8_t> rgba_;
};

// A text as a JSON string, quoted and escaped.
void AppendJsonString(std::string& out, std::string_view text);

// The window as the page paints it, in JSON: the caption, the window picture, the shown
// controls from back to front with what canvas.cpp draws of each (rectangle, clip, caption,
// font, colours, picture), the key focus, the menus, the overlay and the about box.
// Pictures stand by number (PictureTable); the persistent image of a picture box, which
// drawing changes in place, is marked "live" with the version of its pixels, and must be read
// again whenever that version changed.
std::string FrameJson(const Form& form, const AboutForm& about, PictureTable& pictures);

// The custom pointer over a client-area point as {"picture":..., "hot":[x, y]}, or "null"
// for the arrow.
std::string PointerJson(const Form& form, int x, int y, PictureTable& pictures);

}  // namespace tsukikage::web
