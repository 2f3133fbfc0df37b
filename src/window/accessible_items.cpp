#include "window/accessible_items.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "window/title_images.h"

namespace tsukikage {
namespace {

// A locked extra shows a question mark instead of its words.
constexpr std::string_view kLockedExtraName = "？？？";

// The extras' arrow and player buttons: pictures with no words, named by what they do.
constexpr std::pair<ControlId, std::string_view> kButtonNames[] = {
    {ControlId::imgAhead, "次のページ"}, {ControlId::CGBack, "前へ"},
    {ControlId::MusicBack, "前へ"},      {ControlId::MusicPlay, "再生"},
    {ControlId::MusicStop, "停止"},      {ControlId::CGGo, "次へ"},
    {ControlId::MusicGo, "次へ"},        {ControlId::SystemBack, "もどる"},
};

constexpr std::string_view kIdeographicSpace = "\u3000";

// Line breaks as one newline each, and no blanks (ASCII or ideographic) at either end: a
// caption of blanks only reads as nothing.
std::string Readable(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            out += text[i];
        }
    }
    auto blank_at_front = [&out] {
        if (out.empty()) return std::size_t{0};
        if (out.compare(0, kIdeographicSpace.size(), kIdeographicSpace) == 0)
            return kIdeographicSpace.size();
        return std::string_view(" \t\n").find(out.front()) != std::string_view::npos
                   ? std::size_t{1}
                   : std::size_t{0};
    };
    auto blank_at_back = [&out] {
        if (out.empty()) return std::size_t{0};
        if (out.size() >= kIdeographicSpace.size() &&
            out.compare(out.size() - kIdeographicSpace.size(), kIdeographicSpace.size(),
                        kIdeographicSpace) == 0)
            return kIdeographicSpace.size();
        return std::string_view(" \t\n").find(out.back()) != std::string_view::npos
                   ? std::size_t{1}
                   : std::size_t{0};
    };
    while (std::size_t n = blank_at_front()) out.erase(0, n);
    while (std::size_t n = blank_at_back()) out.erase(out.size() - n);
    return out;
}

class ItemList {
  public:
    explicit ItemList(const Form& form) : form_(form) {}

    // A shown control with something on screen; a caption that reads as nothing is left out.
    void Add(ControlId id, AccessibleRole role, std::string name) {
        if (!form_.IsShown(id) || name.empty()) return;
        const Rect rect = form_.VisibleRect(id);
        if (rect.width <= 0 || rect.height <= 0) return;
        items_.push_back({static_cast<int>(id), role, std::move(name), rect, form_[id].enabled});
    }
    void AddText(ControlId id) { Add(id, AccessibleRole::StaticText, Readable(form_[id].caption)); }
    void AddOverlay(int key, std::string name) {
        if (name.empty()) return;
        items_.push_back({key, AccessibleRole::StaticText, std::move(name),
                          Rect{0, 0, kClientWidth, kClientHeight}, true});
    }
    std::vector<AccessibleItem> Take() { return std::move(items_); }

  private:
    const Form& form_;
    std::vector<AccessibleItem> items_;
};

// The one item that should have a screen reader's attention.
void MarkFocus(std::vector<AccessibleItem>& items, const Form& form) {
    auto find = [&items](int key) {
        return std::find_if(items.begin(), items.end(),
                            [key](const AccessibleItem& item) { return item.key == key; });
    };
    std::vector<int> wanted;
    if (form.key_focus) wanted.push_back(static_cast<int>(*form.key_focus));
    wanted.push_back(kHistoryItem);
    if (form.ChoicesShown()) wanted.push_back(static_cast<int>(ControlId::lblSel0));
    wanted.push_back(static_cast<int>(ControlId::Label1));
    for (int key : wanted) {
        if (auto at = find(key); at != items.end()) {
            at->focused = true;
            return;
        }
    }
}

}  // namespace

std::string ChoicesLine(const Form& form) {
    if (!form.ChoicesShown()) return {};
    std::string line;
    for (int i = 0; i < 2; ++i) {
        const std::string caption = Readable(form[LblSel(i)].caption);
        if (caption.empty()) continue;
        if (!line.empty()) line += ' ';
        line += std::to_string(i + 1) + ". " + caption;
    }
    return line;
}

std::vector<AccessibleItem> AccessibleItems(const Form& form, const WindowState& state) {
    ItemList list(form);
    const HistoryView& history = form.overlay.history;
    // The history covers the page: its bottom entry is what the player reads there.
    if (history.open && !history.entries.empty()) {
        list.AddOverlay(kHistoryItem, Readable(history.entries.back().text));
    }
    if (!history.open) list.AddText(ControlId::Label1);
    list.AddText(ControlId::Label2);
    list.AddText(ControlId::txtTell);
    if (form.ChoicesShown()) {
        for (int i = 0; i < 2; ++i) {
            const std::string caption = Readable(form[LblSel(i)].caption);
            if (!caption.empty())
                list.Add(LblSel(i), AccessibleRole::Button, std::to_string(i + 1) + ". " + caption);
        }
    }
    for (std::size_t i = 0; i < std::size(kTitleImages); ++i) {
        const TitleImage& image = kTitleImages[i];
        const auto ending = static_cast<std::size_t>(image.unlocked_by_ending);
        const bool locked = ending != 0 && state.EndFlags[ending] == 0;
        std::string_view name = state.LoadMode ? kLoadImageCaptions[i]
                                : locked       ? kLockedExtraName
                                               : kTitleImageCaptions[i];
        list.Add(image.image, AccessibleRole::Button, std::string(name));
    }
    for (int i = 0; i < kThumbnailCount; ++i) {
        list.Add(CGPic(i), AccessibleRole::ListItem, "ＣＧ " + std::to_string(i + 1));
    }
    for (const auto& [id, name] : kButtonNames) {
        list.Add(id, AccessibleRole::Button, std::string(name));
    }
    list.AddOverlay(kSignItem, Readable(form.overlay.sign));
    std::vector<AccessibleItem> items = list.Take();
    MarkFocus(items, form);
    return items;
}

}  // namespace tsukikage
