// The browser view's own logic, run under node: the timers on the page's clock, the keys the
// page passes on, and the window in JSON as the page paints it (read back with JSON.parse).
#include <emscripten.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "view/web/browser_keys.h"
#include "view/web/conveniences.h"
#include "view/web/frame.h"
#include "view/web/timer_schedule.h"

namespace tsukikage::web {
namespace {

// Whether a JavaScript expression over `frame`, the parsed JSON, holds.
// clang-format off
EM_JS(int, FrameHolds, (const char* json, const char* expression), {
    const frame = JSON.parse(UTF8ToString(json));
    return Function('frame', 'return (' + UTF8ToString(expression) + ');')(frame) ? 1 : 0;
});
// clang-format on

void ExpectHolds(const std::string& json, const char* expression) {
    EXPECT_EQ(FrameHolds(json.c_str(), expression), 1) << expression << "\n" << json;
}

// Only Timer1 (50 ms) and Timer2 (1000 ms) run, as in the design.
TEST(TimerSchedule, TicksEachTimerAtItsIntervalEarliestFirstAndNeverMakesUpLateTicks) {
    Form form;
    TimerSchedule schedule;
    schedule.Sync(form, 0);
    std::vector<TimerId> ticked;
    const auto tick = [&](TimerId id) { ticked.push_back(id); };
    const struct {
        double now;
        std::vector<TimerId> ticks;
        double next_in;
    } kSteps[] = {
        {49, {}, 1},
        {50, {TimerId::Timer1}, 50},
        {120, {TimerId::Timer1}, 30},
        // Late by far: one tick of each, the earliest due first, the next a period on.
        {1500, {TimerId::Timer1, TimerId::Timer2}, 50},
        {1550, {TimerId::Timer1}, 50},
    };
    for (const auto& step : kSteps) {
        SCOPED_TRACE(step.now);
        ticked.clear();
        schedule.TickDue(form, step.now, tick);
        EXPECT_EQ(ticked, step.ticks);
        EXPECT_DOUBLE_EQ(schedule.NextDueIn(step.now), step.next_in);
    }
}

TEST(TimerSchedule, FollowsTheFormAsTimersStartStopAndChangeInterval) {
    Form form;
    form.timer(TimerId::Timer1).enabled = false;
    form.timer(TimerId::Timer2).enabled = false;
    TimerSchedule schedule;
    schedule.Sync(form, 0);
    EXPECT_LT(schedule.NextDueIn(0), 0);  // nothing runs: the page sleeps

    // The comfort timer starts afresh at 100; a tick of it stops the watch due at the same time.
    form.timer(TimerId::Comfort).enabled = true;
    form.timer(TimerId::BgmWatch).enabled = true;
    form.timer(TimerId::BgmWatch).interval_ms = kComfortTickMs + 1;
    schedule.Sync(form, 100);
    EXPECT_DOUBLE_EQ(schedule.NextDueIn(100), kComfortTickMs);
    std::vector<TimerId> ticked;
    schedule.TickDue(form, 100 + kComfortTickMs + 1, [&](TimerId id) {
        ticked.push_back(id);
        form.timer(TimerId::BgmWatch).enabled = false;
    });
    EXPECT_EQ(ticked, std::vector<TimerId>{TimerId::Comfort});

    // A new interval starts the period again from now.
    form.timer(TimerId::Comfort).interval_ms = 500;
    schedule.Sync(form, 200);
    EXPECT_DOUBLE_EQ(schedule.NextDueIn(200), 500);
}

// A timer whose tick would change nothing sleeps: the page wakes for none of its ticks, and
// it starts afresh, a whole period on, once it would.
TEST(TimerSchedule, LeavesIdleTimersAsleepUntilTheyHaveWork) {
    Form form;
    form.timer(TimerId::Timer2).enabled = false;
    bool effect_runs = false;
    TimerSchedule schedule([&](TimerId id) { return id == TimerId::Timer1 && !effect_runs; });
    schedule.Sync(form, 0);
    EXPECT_LT(schedule.NextDueIn(0), 0);
    std::vector<TimerId> ticked;
    schedule.TickDue(form, 1000, [&](TimerId id) { ticked.push_back(id); });
    EXPECT_TRUE(ticked.empty());

    effect_runs = true;
    schedule.Sync(form, 1010);
    EXPECT_DOUBLE_EQ(schedule.NextDueIn(1010), form.timer(TimerId::Timer1).interval_ms);
    schedule.TickDue(form, 1010 + form.timer(TimerId::Timer1).interval_ms, [&](TimerId id) {
        ticked.push_back(id);
        effect_runs = false;  // the last frame
    });
    EXPECT_EQ(ticked, std::vector<TimerId>{TimerId::Timer1});
    EXPECT_LT(schedule.NextDueIn(2000), 0);
}

// A timer allowed to wait longer ticks at that period, and starts afresh, a whole new period
// on, when the wait changes; a wait below the interval leaves the interval.
TEST(TimerSchedule, WaitsAsLongAsTheTimerMay) {
    Form form;
    form.timer(TimerId::Timer1).enabled = false;
    form.timer(TimerId::Timer2).enabled = false;
    form.timer(TimerId::BgmWatch).enabled = true;
    const int beat = form.timer(TimerId::BgmWatch).interval_ms;
    int wait = 12360;
    TimerSchedule schedule({}, [&](TimerId id) { return id == TimerId::BgmWatch ? wait : 0; });
    schedule.Sync(form, 0);
    EXPECT_DOUBLE_EQ(schedule.NextDueIn(0), 12360);
    int ticks = 0;
    const auto tick = [&](TimerId) { ++ticks; };
    schedule.TickDue(form, 12359, tick);
    EXPECT_EQ(ticks, 0);
    schedule.TickDue(form, 12360, tick);
    EXPECT_EQ(ticks, 1);
    wait = 1;  // below the interval
    schedule.Sync(form, 12400);
    EXPECT_DOUBLE_EQ(schedule.NextDueIn(12400), beat);
    wait = 5000;
    schedule.Sync(form, 12410);
    EXPECT_DOUBLE_EQ(schedule.NextDueIn(12410), 5000);
}

TEST(BrowserKeys, TheDesktopsKeysByTheirBrowserNamesAndNoOthers) {
    const std::pair<const char*, std::optional<Key>> kCases[] = {
        {"Enter", Key::Return},
        {" ", Key::Space},
        {"PageDown", Key::PageDown},
        {"PageUp", Key::PageUp},
        {"ArrowRight", Key::Right},
        {"ArrowLeft", Key::Left},
        {"ArrowUp", Key::Up},
        {"ArrowDown", Key::Down},
        {"1", Key::Digit1},
        {"2", Key::Digit2},
        {"Escape", Key::Escape},
        {"Backspace", Key::Backspace},
        {"Delete", std::nullopt},  // beside it on the keyboard, and no key of the game's
        {"a", Key::A},
        {"A", Key::A},
        {"WheelDown", Key::WheelDown},
        {"WheelUp", Key::WheelUp},
        {"3", std::nullopt},
        {"Tab", std::nullopt},
        {"Control", std::nullopt},
        {"Spacebar", std::nullopt},
        {"", std::nullopt},
        {"enter", std::nullopt},
    };
    for (const auto& [name, key] : kCases) EXPECT_EQ(KeyFromBrowser(name), key) << name;
}

TEST(Frame, ListsTheShownControlsBackToFrontWithWhatIsPainted) {
    Form form;
    PictureTable pictures;
    ExpectHolds(FrameJson(form, AboutForm(), pictures),
                "frame.controls.map(c => c.name).join() === 'Picture1,lblSel(1),lblSel(0),Label1'"
                " && frame.window === null && frame.about === null"
                " && frame.caption === '月影回廊物語' && frame.revision === 0");

    form[ControlId::Label1].caption = "「引用\"と\\」\r\n二行目\t";
    form[ControlId::Label1].fore_color = 0xFF8000;
    form.Hide(ControlId::lblSel0);
    form.Show(ControlId::imgAhead);
    form.key_focus = ControlId::imgAhead;
    form[ControlId::imgAhead].enabled = false;
    ExpectHolds(
        FrameJson(form, AboutForm(), pictures),
        "frame.controls.map(c => c.name).join() === 'Picture1,lblSel(1),Label1,imgAhead'"
        " && frame.controls[2].caption === '「引用\"と\\\\」\\r\\n二行目\\t'"
        " && frame.controls[2].fore === '#ff8000' && frame.controls[2].back === '#000000'"
        " && frame.controls[2].font.face === 'ＭＳ Ｐゴシック' && frame.controls[2].font.px "
        "=== 24 && frame.controls[3].focus && !frame.controls[2].focus"
        " && !frame.controls[3].enabled && frame.controls[2].enabled"
        " && frame.controls[0].kind === 'PictureBox'"
        " && frame.controls[0].clip.join() === '8,8,645,483'");

    // The choices' size is listed while they are hidden, each face and size once, as the
    // sizes of the images drawing into the picture boxes makes.
    form.Hide(ControlId::lblSel1);
    ExpectHolds(
        FrameJson(form, AboutForm(), pictures),
        "frame.textFonts.map(f => f.px).sort().join() === '24,29'"
        " && frame.imageSizes.map(s => s.join('x')).includes('641x479')"
        " && new Set(frame.imageSizes.map(s => s.join('x'))).size === frame.imageSizes.length"
        " && frame.textFonts.every(f => f.face === 'ＭＳ Ｐゴシック')");
}

TEST(Frame, GivesEachLivingPictureOneNumberAndMarksDrawnImagesLive) {
    Form form;
    PictureTable pictures;
    auto window = std::make_shared<const Surface>(662, 601);
    form.window_picture = window;
    const std::string first = FrameJson(form, AboutForm(), pictures);
    ExpectHolds(first, "frame.window.id === 1 && frame.window.width === 662 && !frame.window.live");
    ExpectHolds(FrameJson(form, AboutForm(), pictures), "frame.window.id === 1");

    // A new picture is a new number, even where the freed one's memory comes back.
    window.reset();
    form.window_picture = std::make_shared<const Surface>(2, 2);
    ExpectHolds(FrameJson(form, AboutForm(), pictures), "frame.window.id === 2");
    EXPECT_EQ(pictures.Find(1), nullptr);

    // A picture box that drawing has changed shows its image, read again at every paint.
    Control& box = form[ControlId::Picture1];
    box.AssignPicture(std::make_shared<const Surface>(641, 479));
    box.image = std::make_shared<Surface>(641, 479);
    box.image_source = box.picture;
    ExpectHolds(FrameJson(form, AboutForm(), pictures),
                "frame.controls[0].picture.live && frame.controls[0].picture.id === 3");
}

TEST(Frame, PicturePixelsComeAsRgbaBytes) {
    PictureTable pictures;
    auto picture = std::make_shared<Surface>(2, 1);
    picture->pixels = {0xFF112233u, 0x80445566u};
    const int id = pictures.IdOf(picture);
    const std::uint8_t* rgba = pictures.Rgba(id);
    ASSERT_NE(rgba, nullptr);
    EXPECT_EQ(std::vector<std::uint8_t>(rgba, rgba + 8),
              (std::vector<std::uint8_t>{0x11, 0x22, 0x33, 0xFF, 0x44, 0x55, 0x66, 0x80}));
    EXPECT_EQ(pictures.Rgba(id + 1), nullptr);
}

TEST(Frame, MenusOverlayAboutBoxAndPointer) {
    Form form;
    form.menu(MenuId::SaveMenu).enabled = false;
    form.overlay.history = {true, {{"一頁", false}, {"選んだ", true}}, 2, 5};
    AboutForm about;
    about.loaded = true;
    about.lblTitle = "題";
    PictureTable pictures;
    ExpectHolds(FrameJson(form, about, pictures),
                "frame.menus.length === 16 && frame.menus[2].name === 'SaveMenu'"
                " && !frame.menus[2].enabled && frame.menus[2].parent === 0"
                " && frame.menus[0].parent === null && frame.menus[15].caption === 'バージョン情報'"
                " && frame.overlay.px === 24 && frame.overlay.history.position === 2"
                " && frame.overlay.history.entries[1].pick && frame.about.lblTitle === '題'");

    Control& label = form[ControlId::Label1];
    label.pointer = Pointer::Custom;
    label.mouse_icon = MouseIcon{std::make_shared<const Surface>(32, 32), 3, 4};
    ExpectHolds(PointerJson(form, 20, 520, pictures),
                "frame.hot.join() === '3,4' && frame.picture.width === 32");
    EXPECT_EQ(PointerJson(form, 20, 20, pictures), "null");  // over the picture box
}

// The engine's items as they are, with their ticks, submenus and notes; a caption that holds
// quotes or a line end still parses. The speed slider runs against the wait, its ends at the
// wait's ends.
TEST(Conveniences, MenuItemsAndSettingsAsThePageShowsThem) {
    PlaySettings settings;
    settings.auto_ms_per_character = kMaxAutoMsPerCharacter;
    settings.music_volume = 140;  // out of range: shown at the end
    settings.self_voicing = true;
    ConvenienceItem history{"history", "履歴", false, std::nullopt, false, {}};
    ConvenienceItem automatic{"auto", "オート", true, true, false, {}};
    ConvenienceItem separator;
    separator.separator = true;
    ConvenienceItem load{"load", "ロード", true, std::nullopt, false, {}};
    load.items = {{"load1", "スロット1　\"引用\"\n改行", true, std::nullopt, false, {}},
                  {"", "ロードすると最後の区切りから始まります", false, std::nullopt, false, {}}};
    ExpectHolds(ConveniencesJson({history, automatic, separator, load}, settings),
                "frame.items.map(i => i.name).join() === 'history,auto,-,load'"
                " && !frame.items[0].enabled && frame.items[0].checked === undefined"
                " && frame.items[1].checked && frame.items[0].items === undefined"
                " && frame.items[3].items.length === 2"
                " && frame.items[3].items[0].caption === 'スロット1　\"引用\"\\n改行'"
                " && frame.items[3].items[1].name === '' && !frame.items[3].items[1].enabled"
                " && frame.settings.autoSpeed === 10 && frame.settings.musicVolume === 100"
                " && frame.settings.selfVoicing === true");
    ExpectHolds(ConveniencesJson({}, PlaySettings()),
                "frame.items.length === 0 && frame.settings.autoSpeed === 150"
                " && frame.settings.selfVoicing === false");
}

TEST(Conveniences, SettingsFromThePageAreBroughtIntoRange) {
    const struct {
        int volume, speed;
        int want_volume, want_wait;
    } kCases[] = {
        {0, kMaxAutoMsPerCharacter, 0, kMinAutoMsPerCharacter},
        {100, kMinAutoMsPerCharacter, 100, kMaxAutoMsPerCharacter},
        {-1, kMinAutoMsPerCharacter - 1, 0, kMaxAutoMsPerCharacter},
        {101, kMaxAutoMsPerCharacter + 1, 100, kMinAutoMsPerCharacter},
        // Far out: no wrap into the other end.
        {-2147483647, 2147483647, 0, kMinAutoMsPerCharacter},
        {2147483647, -2147483647, 100, kMaxAutoMsPerCharacter},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.volume);
        const PlaySettings got = SettingsFromPage(c.volume, true, c.volume, false, true, c.speed);
        EXPECT_EQ(got.music_volume, c.want_volume);
        EXPECT_EQ(got.effects_volume, c.want_volume);
        EXPECT_EQ(got.auto_ms_per_character, c.want_wait);
        EXPECT_TRUE(got.music_muted && !got.effects_muted && got.skip_unread);
    }
}

}  // namespace
}  // namespace tsukikage::web
