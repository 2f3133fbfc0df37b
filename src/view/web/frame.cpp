#include "view/web/frame.h"

#include <algorithm>
#include <cstdio>
#include <string_view>
#include <utility>

#include "graphics/picture_box.h"

namespace tsukikage::web {

int PictureTable::IdOf(const std::shared_ptr<const Surface>& picture) {
    if (!picture) return 0;
    Entry& entry = by_address_[picture.get()];
    if (entry.id == 0 || entry.picture.lock() != picture) {
        entry = Entry{picture, next_id_++};
        by_id_[entry.id] = picture;
    }
    return entry.id;
}

const Surface* PictureTable::Find(int id) const {
    const auto found = by_id_.find(id);
    if (found == by_id_.end()) return nullptr;
    // Alive, since the form holds it; a number the page still asks for may be gone.
    const std::shared_ptr<const Surface> picture = found->second.lock();
    return picture.get();
}

const std::uint8_t* PictureTable::Rgba(int id) {
    const Surface* picture = Find(id);
    if (!picture) return nullptr;
    rgba_.resize(picture->pixels.size() * 4);
    std::uint8_t* out = rgba_.data();
    for (const std::uint32_t pixel : picture->pixels) {
        *out++ = static_cast<std::uint8_t>(pixel >> 16);
        *out++ = static_cast<std::uint8_t>(pixel >> 8);
        *out++ = static_cast<std::uint8_t>(pixel);
        *out++ = static_cast<std::uint8_t>(pixel >> 24);
    }
    return rgba_.data();
}

int PictureTable::VersionOf(int id) {
    const Surface* picture = Find(id);
    if (!picture) return 0;
    Seen& seen = seen_[id];
    if (seen.width != picture->width || seen.height != picture->height ||
        seen.pixels != picture->pixels) {
        seen.width = picture->width;
        seen.height = picture->height;
        seen.pixels = picture->pixels;
        ++seen.version;
    }
    return seen.version;
}

void PictureTable::Prune() {
    std::erase_if(by_address_, [](const auto& entry) { return entry.second.picture.expired(); });
    std::erase_if(by_id_, [](const auto& entry) { return entry.second.expired(); });
    std::erase_if(seen_, [this](const auto& entry) { return !by_id_.contains(entry.first); });
}

void AppendJsonString(std::string& out, std::string_view text) {
    out += '"';
    for (const char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                    out += escaped;
                } else {
                    out += c;
                }
        }
    }
    out += '"';
}

namespace {

void AppendColour(std::string& out, Rgb rgb) {
    char text[10];
    std::snprintf(text, sizeof text, "\"#%06x\"", static_cast<unsigned>(rgb & 0xFFFFFFu));
    out += text;
}

void AppendRect(std::string& out, const Rect& r) {
    out += '[' + std::to_string(r.left) + ',' + std::to_string(r.top) + ',' +
           std::to_string(r.width) + ',' + std::to_string(r.height) + ']';
}

void AppendPicture(std::string& out, const std::shared_ptr<const Surface>& picture, bool live,
                   PictureTable& pictures) {
    if (!picture || picture->empty()) {
        out += "null";
        return;
    }
    const int id = pictures.IdOf(picture);
    out += "{\"id\":" + std::to_string(id) + ",\"width\":" + std::to_string(picture->width) +
           ",\"height\":" + std::to_string(picture->height) +
           ",\"live\":" + (live ? "true" : "false");
    if (live) out += ",\"version\":" + std::to_string(pictures.VersionOf(id));
    out += '}';
}

std::string_view KindName(ControlKind kind) {
    switch (kind) {
        case ControlKind::PictureBox:
            return "PictureBox";
        case ControlKind::Image:
            return "Image";
        case ControlKind::Label:
            return "Label";
        case ControlKind::TextBox:
            return "TextBox";
        case ControlKind::Shape:
            return "Shape";
    }
    return "";
}

void AppendControl(std::string& out, const Form& form, const Control& control,
                   PictureTable& pictures) {
    out += "{\"name\":";
    AppendJsonString(out, control.name);
    out += ",\"kind\":";
    AppendJsonString(out, KindName(control.kind));
    out += ",\"rect\":";
    AppendRect(out, control.rect);
    out += ",\"clip\":";
    AppendRect(out, form.VisibleRect(control.id));
    out += ",\"caption\":";
    AppendJsonString(out, control.caption);
    out += ",\"font\":{\"face\":";
    AppendJsonString(out, control.font.face);
    out += ",\"px\":" + std::to_string(control.font.pixel_size) + '}';
    out += ",\"fore\":";
    AppendColour(out, control.fore_color);
    out += ",\"back\":";
    AppendColour(out, control.back_color);
    out += ",\"picture\":";
    // A picture box shows its persistent image once drawing has made one.
    const Surface* shown = control.ShownImage();
    if (shown) {
        AppendPicture(out, control.image, true, pictures);
    } else {
        AppendPicture(out, control.picture, false, pictures);
    }
    out += ",\"enabled\":";
    out += control.enabled ? "true" : "false";
    out += ",\"focus\":";
    out += form.key_focus == control.id ? "true" : "false";
    out += '}';
}

// Every face and size a caption of the form may come in, shown or not: the page readies them
// for the text ahead, so that captions shown later (the choices) draw at once.
void AppendTextFonts(std::string& out, const Form& form) {
    std::vector<const Font*> listed;
    for (ControlId id : form.stacking()) {
        const Control& control = form[id];
        if (control.kind != ControlKind::Label && control.kind != ControlKind::TextBox) continue;
        const Font& font = control.font;
        const bool known = std::any_of(listed.begin(), listed.end(), [&](const Font* other) {
            return other->face == font.face && other->pixel_size == font.pixel_size;
        });
        if (known) continue;
        if (!listed.empty()) out += ',';
        listed.push_back(&font);
        out += "{\"face\":";
        AppendJsonString(out, font.face);
        out += ",\"px\":" + std::to_string(font.pixel_size) + '}';
    }
}

// Every size of image drawing into a picture box of the form makes, shown or not: the page
// makes canvases of these sizes ahead, so that a transition's first frame needs no new one.
void AppendImageSizes(std::string& out, const Form& form) {
    std::vector<std::pair<int, int>> listed;
    for (ControlId id : form.stacking()) {
        const Control& control = form[id];
        if (control.kind != ControlKind::PictureBox) continue;
        const std::pair<int, int> size{DrawingWidth(control), DrawingHeight(control)};
        if (size.first <= 0 || size.second <= 0) continue;
        if (std::find(listed.begin(), listed.end(), size) != listed.end()) continue;
        if (!listed.empty()) out += ',';
        listed.push_back(size);
        out += '[' + std::to_string(size.first) + ',' + std::to_string(size.second) + ']';
    }
}

// The overlay is drawn in the page text's face and size.
void AppendOverlay(std::string& out, const Overlay& overlay, const Font& font) {
    out += "{\"face\":";
    AppendJsonString(out, font.face);
    out += ",\"px\":" + std::to_string(font.pixel_size) + ",\"sign\":";
    AppendJsonString(out, overlay.sign);
    out += ",\"history\":";
    if (!overlay.history.open) {
        out += "null}";
        return;
    }
    out += "{\"position\":" + std::to_string(overlay.history.position) +
           ",\"count\":" + std::to_string(overlay.history.count) + ",\"entries\":[";
    bool first = true;
    for (const HistoryEntry& entry : overlay.history.entries) {
        if (!first) out += ',';
        first = false;
        out += "{\"text\":";
        AppendJsonString(out, entry.text);
        out += ",\"pick\":";
        out += entry.pick ? "true" : "false";
        out += '}';
    }
    out += "]}}";
}

void AppendAbout(std::string& out, const AboutForm& about) {
    if (!about.loaded) {
        out += "null";
        return;
    }
    const std::pair<std::string_view, const std::string*> fields[] = {
        {"caption", &about.caption},
        {"lblTitle", &about.lblTitle},
        {"lblVersion", &about.lblVersion},
        {"lblDescription", &about.lblDescription},
        {"lblDisclaimer", &about.lblDisclaimer},
        {"cmdOK", &about.cmdOK}};
    out += "{\"raise\":" + std::to_string(about.raise_requests) +
           ",\"load\":" + std::to_string(about.load_count);
    for (const auto& [name, value] : fields) {
        out += ',';
        AppendJsonString(out, name);
        out += ':';
        AppendJsonString(out, *value);
    }
    out += '}';
}

}  // namespace

std::string FrameJson(const Form& form, const AboutForm& about, PictureTable& pictures) {
    pictures.Prune();
    std::string out = "{\"revision\":" + std::to_string(form.revision) + ",\"caption\":";
    AppendJsonString(out, form.caption);
    out += ",\"window\":";
    AppendPicture(out, form.window_picture, false, pictures);
    out += ",\"controls\":[";
    bool first = true;
    const std::vector<ControlId>& order = form.stacking();
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        if (!form.IsShown(*it)) continue;
        const Rect visible = form.VisibleRect(*it);
        if (visible.width <= 0 || visible.height <= 0) continue;
        if (!first) out += ',';
        first = false;
        AppendControl(out, form, form[*it], pictures);
    }
    out += "],\"menus\":[";
    first = true;
    for (const MenuItem& item : form.menus()) {
        if (!first) out += ',';
        first = false;
        out += "{\"id\":" + std::to_string(static_cast<int>(item.id)) + ",\"name\":";
        AppendJsonString(out, item.name);
        out += ",\"caption\":";
        AppendJsonString(out, item.caption);
        out += ",\"parent\":" +
               (item.parent ? std::to_string(static_cast<int>(*item.parent)) : "null");
        out += ",\"enabled\":";
        out += item.enabled ? "true" : "false";
        out += '}';
    }
    out += "],\"textFonts\":[";
    AppendTextFonts(out, form);
    out += "],\"imageSizes\":[";
    AppendImageSizes(out, form);
    out += "],\"overlay\":";
    AppendOverlay(out, form.overlay, form[ControlId::Label1].font);
    out += ",\"about\":";
    AppendAbout(out, about);
    out += '}';
    return out;
}

std::string PointerJson(const Form& form, int x, int y, PictureTable& pictures) {
    const MouseIcon* icon = form.PointerAt(x, y);
    if (!icon) return "null";
    std::string out = "{\"picture\":";
    AppendPicture(out, icon->image, false, pictures);
    out += ",\"hot\":[" + std::to_string(icon->hot_x) + ',' + std::to_string(icon->hot_y) + "]}";
    return out;
}

}  // namespace tsukikage::web
