// The kind table and the data files read against it: a record is checked against the kind at its
// place, and the place, not the name, still decides which kind a record configures.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "bonus/log_lines.h"
#include "core/game_mode.h"
#include "support/temp_dir.h"
#include "world/bonus/bonus_config.h"
#include "world/bonus/bonus_kinds.h"
#include "world/bonus/bonus_registry.h"
#include "world/bonus/bonus_type.h"
#include "world/play/world_setup.h"

namespace {

using bonustest::LogLines;

struct Record {
    std::string name;
    int score;
};

// One record per kind, named as the table says, scored 100 + its place.
std::vector<Record> MatchingRecords() {
    std::vector<Record> records;
    for (const YBonusKindRow& row : BonusKindTable())
        records.push_back({row.icon, 100 + static_cast<int>(records.size())});
    return records;
}

// One record a line, so that record k is on line k + 1.
std::string BonusFile(const std::vector<Record>& records) {
    std::string text;
    for (const Record& r : records)
        text += "<bonus name=\"" + r.name + "\" score=\"" + std::to_string(r.score) + "\"/>\n";
    return text;
}

class BonusKindCheck : public ::testing::Test {
protected:
    void TearDown() override { BonusConfigs().clear(); }
    testsupport::TempDir dir;
};

TEST_F(BonusKindCheck, RecordsAreCheckedAgainstTheKindAtTheirPlace) {
    const int last = BONUS_KIND_COUNT - 1;
    const std::string lastIcon = BonusKindInfo(BonusKindAt(last)).icon;
    struct Case {
        const char* what;
        void (*edit)(std::vector<Record>&);
        std::vector<std::string> logged; // each a part of its own line, in this order
    };
    const Case cases[] = {
        {"matching", [](std::vector<Record>&) {}, {}},
        {"one too few",
         [](std::vector<Record>& r) { r.pop_back(); },
         {std::to_string(last) + " of " + std::to_string(BONUS_KIND_COUNT) + " bonus kinds configured"}},
        {"one too many",
         [](std::vector<Record>& r) {
             r.push_back({"bonus_extra", 999});
         },
         {"record " + std::to_string(BONUS_KIND_COUNT) +
          " is beyond the last bonus kind and configures nothing, line: " + std::to_string(BONUS_KIND_COUNT + 1)}},
        {"two swapped",
         [](std::vector<Record>& r) { std::swap(r[12], r[13]); },
         {"record 12 is named \"bonus_max_speedup\" but configures kind 12 \"bonus_min_speedup\", line: 13",
          "record 13 is named \"bonus_min_speedup\" but configures kind 13 \"bonus_max_speedup\", line: 14"}},
        {"misnamed",
         [](std::vector<Record>& r) { r[5].name = "bonus_ball_electric"; },
         {"record 5 is named \"bonus_ball_electric\" but configures kind 5 \"bonus_ball_electro\", line: 6"}},
        {"unnamed",
         [](std::vector<Record>& r) { r[0].name.clear(); },
         {"record 0 is named \"\" but configures kind 0 \"bonus_ball_normal\", line: 1"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<Record> records = MatchingRecords();
        c.edit(records);
        dir.Write("bonuses.yml", BonusFile(records));
        LogLines log;
        LoadBonusConfigs(dir.File("bonuses.yml").c_str());
        ASSERT_EQ(log.lines.size(), c.logged.size()) << ::testing::PrintToString(log.lines);
        for (std::size_t i = 0; i < c.logged.size(); ++i) {
            EXPECT_EQ(log.lines[i].rfind("Bonus Config Loader error, ", 0), 0u) << log.lines[i];
            EXPECT_NE(log.lines[i].find(c.logged[i]), std::string::npos) << log.lines[i];
        }
        // Whatever the names say, record k configures kind k; a missing one is a default record that
        // keeps its kind's picture.
        ASSERT_EQ(BonusConfigs().size(), std::max(records.size(), static_cast<std::size_t>(BONUS_KIND_COUNT)));
        for (std::size_t k = 0; k < records.size(); ++k) {
            EXPECT_EQ(BonusConfigs()[k].name, records[k].name) << k;
            EXPECT_EQ(BonusConfigs()[k].score, records[k].score) << k;
        }
        for (std::size_t k = records.size(); k < BonusConfigs().size(); ++k) {
            EXPECT_EQ(BonusConfigs()[k].name, lastIcon);
            EXPECT_EQ(BonusConfigs()[k].score, 0);
        }
    }
}

// A lost record shifts every later one onto the kind before it: each of them is reported.
TEST_F(BonusKindCheck, ALostRecordIsReportedForEveryKindAfterIt) {
    std::vector<Record> records = MatchingRecords();
    records.erase(records.begin() + 30);
    dir.Write("bonuses.yml", BonusFile(records));
    LogLines log;
    LoadBonusConfigs(dir.File("bonuses.yml").c_str());
    int misnamed = 0;
    for (const std::string& line : log.lines)
        if (line.find(" is named ") != std::string::npos) ++misnamed;
    EXPECT_EQ(misnamed, BONUS_KIND_COUNT - 1 - 30) << ::testing::PrintToString(log.lines);
    EXPECT_TRUE(log.Has(std::to_string(BONUS_KIND_COUNT - 1) + " of ")) << ::testing::PrintToString(log.lines);
}

TEST(BonusKindTable, EveryRowNamesItsKindOnceAndBuildsIt) {
    ASSERT_EQ(BonusKindTable().size(), static_cast<std::size_t>(BONUS_KIND_COUNT));
    EXPECT_EQ(BonusRegistrySize(), BONUS_KIND_COUNT);
    std::set<std::string> names, icons;
    for (const YBonusKindRow& row : BonusKindTable()) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(&BonusKindInfo(row.kind), &row);
        EXPECT_TRUE(names.insert(row.name).second);
        EXPECT_TRUE(icons.insert(row.icon).second);
        ASSERT_NE(row.builder, nullptr);
        // A falling kind's builder makes a falling bonus of that very kind; the others make none.
        std::unique_ptr<YBonusType> type(row.builder->CreateType());
        EXPECT_EQ(type != nullptr, IsFallingBonus(row.kind));
        if (type) {
            EXPECT_EQ(type->kind, row.kind);
        }
    }
}

// The game modes' "bonus" tags are checked against the table's names once the bonuses are set up.
TEST(BonusKindTable, ShippedGameModesNameTheirKindsInOrder) {
    ASSERT_TRUE(SetUpWorld(HeadlessWorldOutside()));
    ASSERT_TRUE(GameModeHooks().bonusKindName);
    EXPECT_STREQ(GameModeHooks().bonusKindName(BonusKind::BackWall), "back_wall");
    LogLines log;
    std::vector<YGameMode> modes;
    YGameModeLoader loader(modes);
    loader.Load((std::string(KORVELIN_SOURCE_DIR) + "/assets/data/modes.yml").c_str());
    EXPECT_FALSE(modes.empty());
    EXPECT_TRUE(log.lines.empty()) << ::testing::PrintToString(log.lines);
    TearDownWorld();
}

} // namespace
