// What a screen reader is told about the window: which controls, their words, the focus.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "window/accessible_items.h"

namespace tsukikage {
namespace {

const AccessibleItem* Find(const std::vector<AccessibleItem>& items, int key) {
    for (const AccessibleItem& item : items) {
        if (item.key == key) return &item;
    }
    return nullptr;
}

const AccessibleItem* Find(const std::vector<AccessibleItem>& items, ControlId id) {
    return Find(items, static_cast<int>(id));
}

int FocusCount(const std::vector<AccessibleItem>& items) {
    int count = 0;
    for (const AccessibleItem& item : items) count += item.focused ? 1 : 0;
    return count;
}

void ShowChoices(Form& form, const std::string& first, const std::string& second) {
    form[ControlId::Label1].visible = false;
    for (int i = 0; i < 2; ++i) {
        form.Show(LblSel(i));
        form.Show(ImgSel(i));
    }
    form[LblSel(0)].caption = first;
    form[LblSel(1)].caption = second;
}

TEST(AccessibleItemsTest, PageTextReadsWithoutItsBlanksAndWithOneKindOfLineBreak) {
    struct Case {
        const char* caption;
        const char* read;  // nullptr: the page is left out
    };
    const Case cases[] = {
        {"", nullptr},
        {"\u3000\u3000\u3000", nullptr},  // the label's design caption
        {" \r\n\u3000\t\r\n", nullptr},
        {"本文", "本文"},
        {"\u3000「月が」\u3000", "「月が」"},
        {"一行目\r\n二行目", "一行目\n二行目"},
        {"一行目\r二行目\n三行目", "一行目\n二行目\n三行目"},
        {"\r\n\r\n中\u3000身\r\n\r\n", "中\u3000身"},
        // A lone trail byte of the blank's encoding is no blank.
        {"終\xE3\x80", "終\xE3\x80"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        Form form;
        form[ControlId::Label1].caption = c.caption;
        const std::vector<AccessibleItem> items = AccessibleItems(form, WindowState{});
        const AccessibleItem* page = Find(items, ControlId::Label1);
        if (!c.read) {
            EXPECT_EQ(page, nullptr);
            continue;
        }
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(page->name, c.read);
        EXPECT_EQ(page->role, AccessibleRole::StaticText);
        EXPECT_TRUE(page->focused);
        EXPECT_EQ(page->rect.top, 496);
    }
}

TEST(AccessibleItemsTest, ChoicesAreNumberedButtonsAndTheFocusFollowsTheKeyboard) {
    Form form;
    form[ControlId::Label1].caption = "隠れた本文";
    ShowChoices(form, "東へ", "\u3000西へ");
    std::vector<AccessibleItem> items = AccessibleItems(form, WindowState{});
    EXPECT_EQ(Find(items, ControlId::Label1), nullptr);
    ASSERT_NE(Find(items, LblSel(0)), nullptr);
    ASSERT_NE(Find(items, LblSel(1)), nullptr);
    EXPECT_EQ(Find(items, LblSel(0))->name, "1. 東へ");
    EXPECT_EQ(Find(items, LblSel(1))->name, "2. 西へ");
    EXPECT_EQ(Find(items, LblSel(1))->role, AccessibleRole::Button);
    EXPECT_EQ(ChoicesLine(form), "1. 東へ 2. 西へ");
    // Nothing pointed at yet: the first choice is where reading starts.
    EXPECT_TRUE(Find(items, LblSel(0))->focused);
    EXPECT_EQ(FocusCount(items), 1);

    form.key_focus = LblSel(1);
    items = AccessibleItems(form, WindowState{});
    EXPECT_TRUE(Find(items, LblSel(1))->focused);
    EXPECT_EQ(FocusCount(items), 1);

    // A caption that reads as nothing is no choice to offer.
    form[LblSel(0)].caption = "\u3000";
    items = AccessibleItems(form, WindowState{});
    EXPECT_EQ(Find(items, LblSel(0)), nullptr);
    EXPECT_EQ(ChoicesLine(form), "2. 西へ");
}

TEST(AccessibleItemsTest, ChoiceCaptionsWithoutTheirMarkersAreNoChoice) {
    Form form;
    form[LblSel(0)].caption = "残った文字";
    form.Show(LblSel(0));  // visible by design, as the markers are not
    const std::vector<AccessibleItem> items = AccessibleItems(form, WindowState{});
    EXPECT_EQ(Find(items, LblSel(0)), nullptr);
    EXPECT_EQ(ChoicesLine(form), "");
}

TEST(AccessibleItemsTest, TitleImagesAreNamedForTheScreenTheyServe) {
    const ControlId images[] = {ControlId::NewGameImage, ControlId::LoadGameImage,
                                ControlId::CGImage,      ControlId::SceneImage,
                                ControlId::MusicImage,   ControlId::EndImage};
    const char* title[] = {"はじめから", "つづきから", "ＣＧ鑑賞",
                           "シーン回想", "音楽鑑賞",   "おわり"};
    const char* load[] = {"ロード１", "ロード２", "ロード３", "ロード４", "ロード５", "もどる"};
    Form form;
    for (ControlId id : images) form.Show(id);
    for (bool load_mode : {false, true}) {
        WindowState state;
        state.LoadMode = load_mode;
        state.EndFlags = {0, 1, 1, 1};
        const std::vector<AccessibleItem> items = AccessibleItems(form, state);
        for (std::size_t i = 0; i < std::size(images); ++i) {
            const AccessibleItem* item = Find(items, images[i]);
            ASSERT_NE(item, nullptr);
            EXPECT_EQ(item->name, load_mode ? load[i] : title[i]);
            EXPECT_EQ(item->role, AccessibleRole::Button);
        }
    }
    // An extra whose ending is not reached reads as its picture shows it; the load screen's
    // images are never locked.
    WindowState locked;
    locked.EndFlags = {1, 0, 1, 0};
    std::vector<AccessibleItem> items = AccessibleItems(form, locked);
    EXPECT_EQ(Find(items, ControlId::CGImage)->name, "？？？");
    EXPECT_EQ(Find(items, ControlId::SceneImage)->name, "シーン回想");
    EXPECT_EQ(Find(items, ControlId::MusicImage)->name, "？？？");
    EXPECT_EQ(Find(items, ControlId::NewGameImage)->name, "はじめから");
    locked.LoadMode = true;
    items = AccessibleItems(form, locked);
    EXPECT_EQ(Find(items, ControlId::CGImage)->name, "ロード３");
    // Inside the hidden game screen they are not shown, whatever their own flag says.
    form[ControlId::Picture1].visible = false;
    EXPECT_EQ(Find(AccessibleItems(form, WindowState{}), ControlId::NewGameImage), nullptr);
}

TEST(AccessibleItemsTest, KeyFocusOnATitleImageTakesTheFocusFromThePage) {
    Form form;
    form[ControlId::Label1].caption = "ようこそ";
    form.Show(ControlId::CGImage);
    form.key_focus = ControlId::CGImage;
    std::vector<AccessibleItem> items = AccessibleItems(form, WindowState{});
    EXPECT_TRUE(Find(items, ControlId::CGImage)->focused);
    EXPECT_FALSE(Find(items, ControlId::Label1)->focused);
    // A focus left on a control that went away falls back to the page.
    form.Hide(ControlId::CGImage);
    items = AccessibleItems(form, WindowState{});
    EXPECT_TRUE(Find(items, ControlId::Label1)->focused);
    EXPECT_EQ(FocusCount(items), 1);
}

TEST(AccessibleItemsTest, TheHistoryStandsInForThePageItCovers) {
    Form form;
    form[ControlId::Label1].caption = "今の頁";
    form.overlay.history.open = true;
    // Open on nothing: neither the covered page nor an empty entry is read.
    std::vector<AccessibleItem> items = AccessibleItems(form, WindowState{});
    EXPECT_EQ(Find(items, ControlId::Label1), nullptr);
    EXPECT_EQ(Find(items, kHistoryItem), nullptr);

    form.overlay.history.entries = {{"古い頁", false}, {"東へ\r\n", true}};
    items = AccessibleItems(form, WindowState{});
    ASSERT_NE(Find(items, kHistoryItem), nullptr);
    EXPECT_EQ(Find(items, kHistoryItem)->name, "東へ");
    EXPECT_TRUE(Find(items, kHistoryItem)->focused);

    form.overlay.sign = "スキップ中";
    items = AccessibleItems(form, WindowState{});
    ASSERT_NE(Find(items, kSignItem), nullptr);
    EXPECT_FALSE(Find(items, kSignItem)->focused);
}

TEST(AccessibleItemsTest, ExtrasButtonsAndThumbnailsAreNamedAndDisabledOnesSaySo) {
    Form form;
    form.Show(ControlId::MusicPlay);
    form.Show(ControlId::SystemBack);
    form[ControlId::SystemBack].enabled = false;
    form.Show(CGPic(0));
    form.Show(CGPic(16));
    const std::vector<AccessibleItem> items = AccessibleItems(form, WindowState{});
    ASSERT_NE(Find(items, ControlId::MusicPlay), nullptr);
    EXPECT_EQ(Find(items, ControlId::MusicPlay)->name, "再生");
    EXPECT_TRUE(Find(items, ControlId::MusicPlay)->enabled);
    ASSERT_NE(Find(items, ControlId::SystemBack), nullptr);
    EXPECT_FALSE(Find(items, ControlId::SystemBack)->enabled);
    ASSERT_NE(Find(items, CGPic(16)), nullptr);
    EXPECT_EQ(Find(items, CGPic(0))->name, "ＣＧ 1");
    EXPECT_EQ(Find(items, CGPic(16))->name, "ＣＧ 17");
    EXPECT_EQ(Find(items, CGPic(16))->role, AccessibleRole::ListItem);
    EXPECT_EQ(Find(items, ControlId::imgAhead), nullptr);  // hidden by design
}

}  // namespace
}  // namespace tsukikage
