// Command "s": the choice block, the picks by caption or marker, and the pointer over them.
#include <gtest/gtest.h>

#include "base/runtime_error.h"
#include "fakes/game_fixture.h"

namespace tsukikage {
namespace {

using fakes::GameTest;
using fakes::ProcessEnded;

class ChoicesTest : public GameTest {
  protected:
    bool MarkersShown() {
        return control(ControlId::imgSel0).visible && control(ControlId::imgSel1).visible;
    }
    const std::string& Caption(int index) { return control(LblSel(index)).caption; }
    void Click(ControlId id) { engine->Click(id); }
    // The control a click in the middle of a caption reaches.
    std::optional<ControlId> ControlOverCaption(int index) {
        const Rect& r = control(LblSel(index)).rect;
        return engine->form.HitTest(r.left + r.width / 2, r.top + r.height / 2);
    }
};

TEST_F(ChoicesTest, BlockIsReadWholeAndShownInPlaceOfThePage) {
    WriteScenario({".", "問いのページ", ".s 引数は無視", "Ａ", ".p 7", "Ｂ", "ｂの言葉", ".p 8",
                   "その後", "."});
    NewGame();
    Advance();
    EXPECT_EQ(fakes.beeper.beeps, 1);
    EXPECT_EQ(engine->state.ChoiceTargets[0], "Ａ");
    EXPECT_EQ(engine->state.ChoiceTargets[1], "Ｂ");
    EXPECT_EQ(Caption(0), ".p 7");  // taken as text, not run
    EXPECT_EQ(Caption(1), "ｂの言葉");
    EXPECT_EQ(engine->state.PartNo, 0) << "the block's lines ran as commands";
    EXPECT_TRUE(MarkersShown());
    EXPECT_TRUE(control(ControlId::imgSel0).enabled && control(ControlId::imgSel1).enabled);
    EXPECT_FALSE(control(ControlId::imgAhead).visible);
    EXPECT_FALSE(control(ControlId::imgAhead).enabled);
    EXPECT_FALSE(control(ControlId::Label1).visible);
    EXPECT_FALSE(control(ControlId::txtTell).visible);
    EXPECT_EQ(ControlOverCaption(0), ControlId::lblSel0);
    EXPECT_EQ(ControlOverCaption(1), ControlId::lblSel1);
    EXPECT_EQ(engine->form.HitTest(640, 560), ControlId::imgSel1);
    EXPECT_TRUE(engine->state.GameMode && !engine->state.TitleMode);  // no screen change
    EXPECT_TRUE(fakes.message_box.shown.empty());
}

TEST_F(ChoicesTest, SkipReadsOnAfterTheFifthLineAndTheLabelReturnsInFront) {
    WriteScenario({".", ".s", "Ｘ", "甲", "Skip", "乙", "捨てる行", "続き", "."});
    NewGame();
    Advance();
    Click(ControlId::lblSel1);
    EXPECT_EQ(Label(), "続き\r\n");
    EXPECT_TRUE(control(ControlId::Label1).visible);
    EXPECT_EQ(Caption(0), "");
    EXPECT_EQ(Caption(1), "");
    EXPECT_TRUE(control(ControlId::lblSel0).visible && control(ControlId::lblSel0).enabled);
    EXPECT_FALSE(MarkersShown());
    EXPECT_FALSE(control(ControlId::imgSel0).enabled || control(ControlId::imgSel1).enabled);
    EXPECT_TRUE(control(ControlId::imgAhead).visible && control(ControlId::imgAhead).enabled);
    // The label covers the emptied captions again and takes the clicks there.
    EXPECT_EQ(ControlOverCaption(0), ControlId::Label1);
    EXPECT_EQ(ControlOverCaption(1), ControlId::Label1);
}

TEST_F(ChoicesTest, TargetsOtherThanExactlySkipAreLabels) {
    const std::pair<const char*, const char*> targets[] = {
        {"skip", "小文字\r\n"}, {"Skip ", "空白付き\r\n"}, {"SKIP", "大文字\r\n"}};
    for (const auto& [target, page] : targets) {
        WriteScenario({".", ".s", target, "甲", "Skip", "乙", "", "ブロックの後", ".", ".skip",
                       "小文字", ".", ".Skip ", "空白付き", ".", ".SKIP", "大文字", "."});
        NewGame();
        Advance();
        Click(ControlId::lblSel0);
        EXPECT_EQ(Label(), page) << target;
    }
    EXPECT_TRUE(fakes.message_box.shown.empty());
}

TEST_F(ChoicesTest, MarkerPicksExactlyAsItsCaptionAndBothMayShareALabel) {
    for (ControlId pick :
         {ControlId::lblSel0, ControlId::imgSel0, ControlId::lblSel1, ControlId::imgSel1}) {
        WriteScenario(
            {".", ".s", "同じ", "甲", "同じ", "乙", "", "通らない", ".", ".同じ", "合流", "."});
        NewGame();
        Advance();
        Click(pick);
        EXPECT_EQ(Label(), "合流\r\n") << control(pick).name;
        EXPECT_FALSE(MarkersShown());
        EXPECT_TRUE(control(ControlId::imgAhead).visible);
    }
}

TEST_F(ChoicesTest, EmptiedCaptionsStillPickWhileTheLabelStaysHidden) {
    // The jump lands on a command and a wait: no text line brings the label back.
    WriteScenario({".", ".s", "Ｌ", "甲", "Skip", "乙", "", ".Ｌ", ".p 4", ".", "後", "."});
    NewGame();
    Advance();
    Click(ControlId::lblSel0);
    EXPECT_EQ(engine->state.PartNo, 4);
    EXPECT_FALSE(control(ControlId::Label1).visible);
    ASSERT_EQ(ControlOverCaption(0), ControlId::lblSel0);
    engine->state.PartNo = 0;
    Click(ControlId::lblSel0);  // the same target again
    EXPECT_EQ(engine->state.PartNo, 4);
    Advance();
    EXPECT_EQ(Label(), "後\r\n");
}

TEST_F(ChoicesTest, PicksAreIgnoredWhileASavedGameIsRestored) {
    WriteScenario({".", ".s", "Skip", "甲", "Skip", "乙", "", "後", "."});
    NewGame();
    Advance();
    engine->state.Loading = true;
    Click(ControlId::lblSel0);
    Click(ControlId::imgSel1);
    EXPECT_EQ(Caption(0), "甲");
    EXPECT_TRUE(MarkersShown());
    EXPECT_FALSE(control(ControlId::imgAhead).visible);
    engine->state.Loading = false;
    Click(ControlId::imgSel1);
    EXPECT_EQ(Label(), "後\r\n");
}

TEST_F(ChoicesTest, TargetNamingNoLabelLeavesTheReaderAtTheEnd) {
    WriteScenario({".", ".s", "ない", "甲", "Skip", "乙", "", "後", "."});
    NewGame();
    Advance();
    Click(ControlId::lblSel0);
    EXPECT_TRUE(control(ControlId::imgAhead).visible && control(ControlId::imgAhead).enabled);
    EXPECT_EQ(Caption(0), "");
    EXPECT_TRUE(engine->reader.AtEnd());
    Advance();
    Advance();
    EXPECT_TRUE(engine->reader.AtEnd());
    EXPECT_NE(Label(), "後\r\n");
    EXPECT_TRUE(fakes.message_box.shown.empty());
    EXPECT_EQ(fakes.process.ends, 0);
}

TEST_F(ChoicesTest, BlockCutShortByTheEndOfTheFileEndsTheProgram) {
    const std::initializer_list<std::string_view> cut_blocks[] = {
        {".", ".s", "Ａ", "甲", "Ｂ", "乙"},  // the fifth line missing
        {".", ".s"},
    };
    for (const auto& lines : cut_blocks) {
        WriteScenario(lines);
        NewGame();
        fakes.message_box.shown.clear();
        EXPECT_THROW(Advance(), ProcessEnded);
        ASSERT_EQ(fakes.message_box.shown.size(), 1u);
        EXPECT_EQ(fakes.message_box.shown[0].text, ErrorDescription(err::kInputPastEndOfFile));
        EXPECT_EQ(fakes.message_box.shown[0].icon, MessageIcon::Exclamation);
        EXPECT_EQ(fakes.message_box.shown[0].title, "ファイルエラー");
        EXPECT_FALSE(engine->reader.IsOpen());
        // The screen had already switched to the choice when the read failed.
        EXPECT_TRUE(MarkersShown());
        EXPECT_FALSE(control(ControlId::Label1).visible);
    }
}

TEST_F(ChoicesTest, PointerOverEitherMemberSwitchesBothOfItsArray) {
    WriteScenario({".", ".s", "Skip", "甲", "Skip", "乙", "", "後", "."});
    NewGame();
    Advance();
    engine->MouseMove(ControlId::lblSel1, 20, 560);
    EXPECT_EQ(control(ControlId::lblSel0).pointer, Pointer::Custom);
    EXPECT_EQ(control(ControlId::lblSel1).pointer, Pointer::Custom);
    EXPECT_EQ(control(ControlId::imgSel0).pointer, Pointer::Default);
    engine->MouseMove(ControlId::imgSel0, 640, 510);
    EXPECT_EQ(control(ControlId::imgSel1).pointer, Pointer::Custom);
    EXPECT_EQ(Caption(1), "乙");  // nothing highlights
    const Rect& r = control(ControlId::lblSel0).rect;
    const MouseIcon* icon = engine->form.PointerAt(r.left + 5, r.top + 5);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->image->width, 32);
}

}  // namespace
}  // namespace tsukikage
