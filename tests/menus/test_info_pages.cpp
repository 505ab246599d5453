// The bonus information pages: which records each page shows, and the game's own records (the
// shipped bonus file in the shipped language) filling them with icon, text and score.
#include <gtest/gtest.h>

#include "core/locale.h"
#include "menu_test_support.h"
#include "render/shader.h"
#include "shell/bonus_records.h"
#include "shell/info_pages.h"
#include "shell/ui/ui_display_widgets.h"
#include "world/bonus/bonus_config.h"
#include "world/bonus/bonus_registry.h"

namespace {

using menutest::FakeHost;

struct Fixture {
    FakeHost host;
    std::unique_ptr<UILayout> page = menutest::LoadShippedPage("bonuses.yml");
    InfoPages info{host};
    explicit Fixture(int records = 34) {
        for (int i = 0; i < records; ++i) host.bonuses.push_back({"info_bonus" + std::to_string(i), "", 100 + i});
        host.pages[PAGE_BONUSES] = page.get();
    }
    // The record each row shows (by its score), -1 for an invisible row.
    std::vector<int> Rows() {
        std::vector<int> out;
        for (int row = 0; row < 6; ++row) {
            auto* image = dynamic_cast<UIImage*>(page->Children()[3 * row + 1]);
            auto* score = dynamic_cast<UINamedText*>(page->Children()[3 * row + 3]);
            if (!image->visible) {
                out.push_back(-1);
                continue;
            }
            int record = std::stoi(score->GetText()) - 100;
            EXPECT_EQ(image->shader, FindShader("info_bonus" + std::to_string(record)));
            out.push_back(record);
        }
        return out;
    }
};

struct PageCase {
    int page;
    std::vector<int> records;
};

class BonusPage : public ::testing::TestWithParam<PageCase> {};

TEST_P(BonusPage, ShowsItsRecords) {
    Fixture f;
    f.info.bonusPage = GetParam().page;
    f.info.FillBonusPage();
    EXPECT_EQ(f.Rows(), GetParam().records);
}

INSTANTIATE_TEST_SUITE_P(Table, BonusPage,
                         ::testing::Values(PageCase{0, {0, 1, 2, 3, 4, 5}}, PageCase{1, {6, 7, 8, 9, 10, 11}},
                                           PageCase{2, {12, 13, 14, 18, 21, 23}}, PageCase{3, {24, 25, 26, 27, 28, 29}},
                                           PageCase{4, {30, 31, 32, 33, -1, -1}}));

TEST(BonusPages, LastPageFollowsTheRecordCount) {
    struct Case {
        int records;
        int lastPage;
    };
    for (Case c : {Case{34, 4}, Case{23, 2}, Case{12, 0}}) {
        Fixture f(c.records);
        f.info.bonusPage = c.lastPage;
        EXPECT_TRUE(f.info.OnLastBonusPage()) << c.records;
        f.info.bonusPage = c.lastPage - 1;
        EXPECT_FALSE(f.info.OnLastBonusPage()) << c.records;
    }
}

TEST(BonusPages, AMissingControlStopsFillingAtItsRow) {
    FakeHost host;
    for (int i = 0; i < 34; ++i) host.bonuses.push_back({"info_bonus" + std::to_string(i), "t", i});
    // Row 0 complete, row 1 lacks its score text.
    auto page = menutest::PageFromText(
        "<layout><text>title</text><img width=\"8\" height=\"8\"/><text>-</text><text>-</text>"
        "<img width=\"8\" height=\"8\"/><text>-</text><img width=\"8\" height=\"8\"/></layout>");
    InfoPages info(host);
    host.pages[PAGE_BONUSES] = page.get();
    info.FillBonusPage();
    EXPECT_EQ(dynamic_cast<UINamedText*>(page->Children()[3])->GetText(), "0");
    EXPECT_EQ(dynamic_cast<UINamedText*>(page->Children()[5])->GetText(), "-");
    host.pages[PAGE_BONUSES] = nullptr;
    info.FillBonusPage();
}

TEST(BonusPages, TheGameListsEveryShippedBonusWithItsIconTextAndScore) {
    const std::string assets = std::string(KORVELIN_SOURCE_DIR) + "/assets/";
    LoadBonusConfigs((assets + "data/bonuses.yml").c_str());
    GetLocale().Load((assets + "ui/english/locale.yml").c_str());
    LocalizeBonusConfig();

    ASSERT_EQ(GameBonusRecordCount(), 34);
    FakeHost host;
    for (int i = 0; i < GameBonusRecordCount(); ++i) {
        const BonusInfoRecord record = GameBonusRecord(i);
        EXPECT_FALSE(record.name.empty()) << i;
        // Localized: the display text is a translation, not the record's name again.
        EXPECT_FALSE(record.text.empty()) << i;
        EXPECT_NE(record.text, record.name) << i;
        EXPECT_EQ(record.score, BonusConfig(i).score) << i;
        host.bonuses.push_back(record);
    }
    // Past the records: a default record, not a read beyond the list.
    EXPECT_TRUE(GameBonusRecord(34).name.empty());
    EXPECT_TRUE(GameBonusRecord(-1).name.empty());

    // Page 2 (records 12, 13, 14, 18, 21, 23) over the shipped page.
    std::unique_ptr<UILayout> page = menutest::LoadShippedPage("bonuses.yml");
    InfoPages info(host);
    host.pages[PAGE_BONUSES] = page.get();
    info.bonusPage = 2;
    info.FillBonusPage();
    const int records[6] = {12, 13, 14, 18, 21, 23};
    for (int row = 0; row < 6; ++row) {
        SCOPED_TRACE(row);
        const BonusInfoRecord& want = host.bonuses[static_cast<std::size_t>(records[row])];
        auto* image = dynamic_cast<UIImage*>(page->Children()[static_cast<std::size_t>(3 * row + 1)]);
        auto* text = dynamic_cast<UINamedText*>(page->Children()[static_cast<std::size_t>(3 * row + 2)]);
        auto* score = dynamic_cast<UINamedText*>(page->Children()[static_cast<std::size_t>(3 * row + 3)]);
        ASSERT_TRUE(image && text && score);
        EXPECT_TRUE(image->visible);
        EXPECT_EQ(image->shader, FindShader(want.name));
        EXPECT_EQ(text->GetText(), want.text);
        EXPECT_EQ(score->GetText(), std::to_string(want.score));
    }
    BonusConfigs().clear();
    GetLocale().Load(""); // empty again for the suites that follow
}

} // namespace
