// The scores page: the rows, the flow after a game and the name entry with its two files.
#include <gtest/gtest.h>

#include "menu_test_support.h"
#include "platform/window/win_messages.h"
#include "render/camera.h"
#include "shell/fake_shell_host.h"
#include "shell/game_input.h"
#include "shell/game_states.h"
#include "shell/menu_commands.h"
#include "shell/score_table.h"
#include "shell/scores_page.h"
#include "shell/ui/ui_display_widgets.h"
#include "shell/ui/ui_input_widgets.h"
#include "shell/ui/ui_screen.h"

namespace {

using menutest::FakeHost;
using menutest::ScratchDir;

struct Fixture {
    ScratchDir dir;
    FakeHost host;
    Init config;
    YScoreTable table;
    std::unique_ptr<UILayout> page = menutest::LoadShippedPage("scores.yml");
    ScoresPage scores{host, config, table};

    Fixture() {
        menutest::TwoModes(config);
        config.fileName = dir / "config.yml";
        table.fileName = dir / "scores.dat";
        host.pages[PAGE_SCORES] = page.get();
    }
    UINamedText* Name(int row) { return dynamic_cast<UINamedText*>(page->Children()[2 + 2 * row]); }
    UINamedText* Score(int row) { return dynamic_cast<UINamedText*>(page->Children()[3 + 2 * row]); }
    UIEdit* Edit() { return dynamic_cast<UIEdit*>(page->FindChild("winnername")); }
    void Fill(std::vector<int32_t> scores_) {
        for (int32_t s : scores_) table.entries.push_back({"p" + std::to_string(s), s});
    }
};

TEST(ScoresPage, RowsShowTheTableAndBlanksBelow) {
    Fixture f;
    f.Fill({900, -2});
    f.Edit()->Show();
    f.scores.FillScoresPage();
    EXPECT_EQ(f.Name(0)->GetText(), "p900");
    EXPECT_EQ(f.Score(0)->GetText(), "900");
    // A score with the top bit set shows as a negative number.
    EXPECT_EQ(f.Score(1)->GetText(), "-2");
    for (int row = 2; row < 7; ++row) {
        EXPECT_EQ(f.Name(row)->GetText(), "") << row;
        EXPECT_EQ(f.Score(row)->GetText(), "") << row;
    }
    EXPECT_FALSE(f.Edit()->visible);
}

struct FlowCase {
    bool enters;
    bool showTable;
    bool pageShown;
    std::vector<int> states;
    bool editOpen;
};

class ScoreFlow : public ::testing::TestWithParam<FlowCase> {};

TEST_P(ScoreFlow, AfterAGame) {
    const FlowCase& c = GetParam();
    Fixture f;
    f.Fill({700, 600, 500, 400, 300, 200, 100});
    f.host.score = c.enters ? 450 : 50;
    f.scores.CheckScore(c.showTable);
    EXPECT_EQ(f.host.shown == f.page.get(), c.pageShown);
    EXPECT_EQ(f.host.states, c.states);
    EXPECT_EQ(f.Edit()->visible, c.editOpen);
}

INSTANTIATE_TEST_SUITE_P(Table, ScoreFlow,
                         ::testing::Values(FlowCase{true, true, true, {}, true}, FlowCase{true, false, true, {}, true},
                                           FlowCase{false, true, true, {}, false},
                                           FlowCase{false, false, false, {2}, false}));

// The racket's score is signed and the table orders unsigned: a run that ended below zero must
// not take first place. It is offered as 0, which enters only a table with room.
TEST(ScoresPage, ANegativeRunScoreIsOfferedAsZero) {
    for (bool full : {true, false}) {
        SCOPED_TRACE(full ? "full table" : "room left");
        Fixture f;
        f.Fill(full ? std::vector<int32_t>{700, 600, 500, 400, 300, 200, 100} : std::vector<int32_t>{700});
        f.host.score = -40;
        f.scores.CheckScore(true);
        EXPECT_EQ(f.table.entries.front().score, 700);
        EXPECT_EQ(f.table.newIndex, full ? -1 : 1);
        EXPECT_EQ(f.table.entries.back().score, full ? 100 : 0);
    }
}

TEST(ScoresPage, NewEntryOpensTheEditOverItsRowWithThePlayersName) {
    Fixture f;
    f.Fill({700, 100});
    f.config.gameModes[0].player = "Alma";
    f.host.score = 300;
    f.scores.CheckScore(true);
    UIEdit* edit = f.Edit();
    EXPECT_STREQ(edit->GetText(), "Alma");
    EXPECT_FLOAT_EQ(edit->x, f.Name(1)->x);
    EXPECT_FLOAT_EQ(edit->y, f.Name(1)->y);
    EXPECT_FALSE(f.Name(1)->visible);
    EXPECT_TRUE(edit->focused);
}

// The game's input in front of the real scores page: the game-over screen is left with a key,
// whose character follows its key-down, and the player then types a name.
TEST(ScoresPage, TheKeyThatLeavesTheGameOverScreenIsNotPartOfTheName) {
    for (int key : {int{plat::VK_SPACE}, plat::VK_A + 23}) { // Space, X
        SCOPED_TRACE(key);
        Fixture f;
        f.host.score = 300;
        UIScreen screen;
        struct Game : FakeShellHost {
            Fixture* f = nullptr;
            UIScreen* screen = nullptr;
            void CheckScore(bool afterGame) override {
                f->scores.CheckScore(afterGame);
                screen->page = f->host.shown;
            }
            bool PageShown() override { return screen->page != nullptr; }
            void UIKeyDown(int k) override { screen->KeyDown(k); }
            void UIChar(int c) override { screen->Char(c); }
        } game;
        game.f = &f;
        game.screen = &screen;
        YGameStates states(game);
        YOrbitView orbit(35.0f, -40.0f, -65.0f, -25.0f);
        YGameInput input(game, states, orbit);
        states.state = GS_GAME_OVER;

        input.KeyDown(key);
        input.OnChar(key == plat::VK_SPACE ? ' ' : 'x');
        ASSERT_TRUE(f.Edit()->visible);
        for (char c : std::string("Ivo")) {
            input.KeyDown(plat::VK_A + (c | 0x20) - 'a');
            input.OnChar(c);
        }
        EXPECT_STREQ(f.Edit()->GetText(), "Ivo");
    }
}

TEST(ScoresPage, EnterNamesTheEntryWritesBothFilesOnce) {
    Fixture f;
    f.host.score = 300;
    f.scores.CheckScore(true);
    f.Edit()->SetText("Bert");
    f.scores.CommitWinnerName();
    EXPECT_FALSE(f.Edit()->visible);
    EXPECT_TRUE(f.Name(0)->visible);
    EXPECT_EQ(f.Name(0)->GetText(), "Bert");
    EXPECT_EQ(f.config.gameModes[0].player, "Bert");

    YScoreTable read;
    read.LoadScores((f.dir / "scores.dat").c_str());
    ASSERT_EQ(read.entries.size(), 1u);
    EXPECT_EQ(read.entries[0].name, "Bert");
    Init loaded;
    menutest::TwoModes(loaded);
    loaded.Load((f.dir / "config.yml").c_str());
    EXPECT_EQ(loaded.gameModes[0].player, "Bert");

    // A second Enter finds the edit hidden and writes nothing.
    std::filesystem::remove(f.dir.path / "scores.dat");
    f.Edit()->SetText("Other");
    f.scores.CommitWinnerName();
    EXPECT_FALSE(std::filesystem::exists(f.dir.path / "scores.dat"));
    EXPECT_EQ(f.table.entries[0].name, "Bert");
}

TEST(ScoresPage, LeavingThePageCommitsTheOpenEdit) {
    Fixture f;
    MenuSystem menus(f.host, f.config, f.table);
    f.host.state = GS_SCORE_CHECK;
    f.host.score = 10;
    menus.scoresPage.CheckScore(true);
    f.Edit()->SetText("Cleo");
    menus.HandleMenuCommand(UI_EVENT_COMMAND, f.page->FindDescendant("onScoresMainMenu"));
    EXPECT_EQ(f.table.entries[0].name, "Cleo");
    EXPECT_TRUE(std::filesystem::exists(f.dir.path / "scores.dat"));
    EXPECT_EQ(f.host.states, std::vector<int>{2});
}

TEST(ScoresPage, OverlongAndNonAsciiNamesSurviveBothFiles) {
    Fixture f;
    f.host.score = 10;
    f.scores.CheckScore(true);
    // Whatever the edit lets through; a text set from outside may be longer than the file holds.
    std::string name = "\xC5sa \xDF\xE9" + std::string(300, 'z');
    f.Edit()->maxLength = 0;
    f.Edit()->SetText(name);
    f.scores.CommitWinnerName();
    std::string kept = name.substr(0, YScoreTable::SCORE_NAME_MAX);
    EXPECT_EQ(f.table.entries[0].name, kept);
    YScoreTable read;
    read.LoadScores((f.dir / "scores.dat").c_str());
    ASSERT_EQ(read.entries.size(), 1u);
    EXPECT_EQ(read.entries[0].name, kept);
    Init loaded;
    menutest::TwoModes(loaded);
    loaded.Load((f.dir / "config.yml").c_str());
    EXPECT_EQ(loaded.gameModes[0].player, kept);
}

TEST(ScoresPage, APageWithTooFewControlsDoesNotFail) {
    Fixture f;
    auto small = menutest::PageFromText("<layout><text>a</text><text>b</text><text>c</text></layout>");
    f.host.pages[PAGE_SCORES] = small.get();
    f.Fill({5, 4});
    f.host.score = 100;
    f.scores.CheckScore(true);
    EXPECT_EQ(f.table.newIndex, 0);
    EXPECT_EQ(f.host.shown, small.get());
    // No edit: the entry stays unnamed and nothing is written.
    f.scores.CommitWinnerName();
    EXPECT_FALSE(std::filesystem::exists(f.dir.path / "scores.dat"));
    f.host.pages[PAGE_SCORES] = nullptr;
    f.scores.FillScoresPage();
}

} // namespace
