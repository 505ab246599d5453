// The high-score table: where a score goes, and the bytes of "scores.dat".
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "menu_test_support.h"
#include "shell/score_table.h"

namespace {

using menutest::ScratchDir;

std::vector<int32_t> Scores(const YScoreTable& t) {
    std::vector<int32_t> out;
    for (const auto& e : t.entries) out.push_back(e.score);
    return out;
}

YScoreTable TableOf(const std::vector<int32_t>& scores) {
    YScoreTable t;
    for (int32_t s : scores) t.entries.push_back({"p" + std::to_string(s), s});
    return t;
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

// Plain bytes (header, then the part the file obscures) as a file holds them.
std::string Obscured(std::string bytes) {
    const char key[] = "PLOVERKIT";
    for (std::size_t i = 8; i < bytes.size(); ++i) bytes[i] = static_cast<char>(bytes[i] ^ key[(i - 8) % 9]);
    return bytes;
}

std::string U32(uint32_t v) { return {char(v & 255), char((v >> 8) & 255), char((v >> 16) & 255), char(v >> 24)}; }
std::string U16(uint16_t v) { return {char(v & 255), char(v >> 8)}; }
std::string Entry(const std::string& name, uint32_t score) {
    return U16(static_cast<uint16_t>(name.size())) + name + U32(score);
}
const std::string HEADER = std::string("HSRK") + U32(1);

struct InsertCase {
    std::vector<int32_t> before;
    uint32_t score;
    bool entered;
    int newIndex;
    std::vector<int32_t> after;
};

class ScoreInsert : public ::testing::TestWithParam<InsertCase> {};

TEST_P(ScoreInsert, PlacesTheScore) {
    const InsertCase& c = GetParam();
    YScoreTable t = TableOf(c.before);
    EXPECT_EQ(t.Insert(c.score), c.entered);
    EXPECT_EQ(t.newIndex, c.newIndex);
    EXPECT_EQ(Scores(t), c.after);
}

const int32_t TOP = static_cast<int32_t>(0x80000000u);

INSTANTIATE_TEST_SUITE_P(
    Cases, ScoreInsert,
    ::testing::Values(
        // Equal scores go below the older ones.
        InsertCase{{500, 300, 300, 100}, 300, true, 3, {500, 300, 300, 300, 100}},
        // A full table drops its last entry.
        InsertCase{{700, 600, 500, 300, 300, 200, 100}, 300, true, 5, {700, 600, 500, 300, 300, 300, 200}},
        // A full table whose lowest equals the new score keeps it out.
        InsertCase{{700, 600, 500, 400, 300, 200, 100}, 100, false, -1, {700, 600, 500, 400, 300, 200, 100}},
        // A table not yet full takes anything, 0 too, at its end.
        InsertCase{{500}, 0, true, 1, {500, 0}}, InsertCase{{}, 42, true, 0, {42}},
        // Unsigned comparison: the top bit ranks first.
        InsertCase{{700, 600, 500, 400, 300, 200, 100}, 0x80000000u, true, 0, {TOP, 700, 600, 500, 400, 300, 200}},
        InsertCase{{TOP}, 5, true, 1, {TOP, 5}}));

TEST(ScoreFile, OneEntryHasTheKnownBytes) {
    YScoreTable t;
    t.entries.push_back({"AB", 1000});
    const unsigned char expected[] = {0x48, 0x53, 0x52, 0x4b, 0x01, 0x00, 0x00, 0x00, 0x51, 0x4c,
                                      0x4f, 0x56, 0x47, 0x52, 0x0a, 0x0b, 0xbc, 0x53, 0x4c, 0x4f};
    EXPECT_EQ(t.Serialize(), std::string(reinterpret_cast<const char*>(expected), sizeof(expected)));
}

TEST(ScoreFile, ReadsBackWhatItWrites) {
    YScoreTable t;
    // Names are raw 8-bit bytes, any of them above 31.
    t.entries = {{"J\xE9r\xF4me", -5}, {"", 7}, {std::string(255, '\xFF'), 0x7FFFFFFF}};
    YScoreTable u;
    ASSERT_TRUE(u.Deserialize(t.Serialize()));
    ASSERT_EQ(u.entries.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(u.entries[i].name, t.entries[i].name);
        EXPECT_EQ(u.entries[i].score, t.entries[i].score);
    }
}

struct ReadCase {
    const char* what;
    std::string bytes;
    bool accepted;
    std::size_t entries;
};

class ScoreRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ScoreRead, AcceptsOrRefuses) {
    const ReadCase& c = GetParam();
    YScoreTable t = TableOf({1, 2, 3});
    t.newIndex = 1;
    EXPECT_EQ(t.Deserialize(c.bytes), c.accepted) << c.what;
    EXPECT_EQ(t.entries.size(), c.entries) << c.what;
    EXPECT_EQ(t.newIndex, -1) << c.what;
}

std::string Nine() {
    std::string s = HEADER + U32(9);
    for (int i = 0; i < 9; ++i) s += Entry("n" + std::to_string(i), 900 - i);
    return s;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ScoreRead,
    ::testing::Values(
        ReadCase{"count 0", Obscured(HEADER + U32(0)), true, 0},
        ReadCase{"count 9 reads seven", Obscured(Nine()), true, 7},
        ReadCase{"other version", Obscured(std::string("HSRK") + U32(7) + U32(1) + Entry("a", 1)), true, 1},
        ReadCase{"name of 256 bytes", Obscured(HEADER + U32(1) + Entry(std::string(256, 'x'), 1)), false, 0},
        ReadCase{"name length 65535", Obscured(HEADER + U32(1) + U16(65535) + "abc"), false, 0},
        ReadCase{"cut inside the second entry",
                 Obscured(HEADER + U32(2) + Entry("first", 10) + Entry("second", 5)).substr(0, 30), false, 0},
        ReadCase{"cut inside the count", Obscured(HEADER + U32(1)).substr(0, 10), false, 0},
        ReadCase{"empty file", "", false, 0},
        ReadCase{"another program's file", std::string("PK\x03\x04") + U32(1) + U32(0), false, 0}));

TEST(ScoreFile, KeepsTheHeaderItRead) {
    YScoreTable t;
    ASSERT_TRUE(t.Deserialize(Obscured(std::string("HSRK") + U32(3) + U32(0))));
    EXPECT_EQ(t.Serialize().substr(0, 8), std::string("HSRK") + U32(3));
}

TEST(ScoreFile, MissingFileKeepsTheTableAndTheFirstSaveCreatesIt) {
    ScratchDir dir;
    YScoreTable t = TableOf({50});
    t.LoadScores((dir / "scores.dat").c_str());
    EXPECT_EQ(Scores(t), std::vector<int32_t>{50});
    ASSERT_TRUE(t.Insert(70));
    EXPECT_TRUE(t.SetName("Ann"));
    YScoreTable u;
    u.LoadScores((dir / "scores.dat").c_str());
    ASSERT_EQ(Scores(u), (std::vector<int32_t>{70, 50}));
    EXPECT_EQ(u.entries[0].name, "Ann");
}

TEST(ScoreFile, DamagedFileGivesAFreshTableAndALogLine) {
    ScratchDir dir;
    WriteAll(dir / "scores.dat", Obscured(HEADER + U32(2) + Entry("first", 10)));
    YScoreTable t = TableOf({1});
    t.LoadScores((dir / "scores.dat").c_str());
    EXPECT_TRUE(t.entries.empty());
    // The next named result replaces the damaged file with a sound one.
    ASSERT_TRUE(t.Insert(5));
    EXPECT_TRUE(t.SetName("Bo"));
    YScoreTable u;
    ASSERT_TRUE(u.Deserialize(ReadAll(dir / "scores.dat")));
    EXPECT_EQ(Scores(u), std::vector<int32_t>{5});
}

TEST(ScoreFile, OversizedFileIsRefused) {
    ScratchDir dir;
    WriteAll(dir / "scores.dat", Obscured(HEADER + U32(1) + Entry("a", 1)) + std::string(1 << 20, '\0'));
    YScoreTable t = TableOf({1});
    t.LoadScores((dir / "scores.dat").c_str());
    EXPECT_TRUE(t.entries.empty());
}

TEST(ScoreFile, FailedWriteIsReportedAndTheNameStaysInMemory) {
    ScratchDir dir;
    YScoreTable t;
    t.LoadScores((dir / "no_such_folder/scores.dat").c_str());
    ASSERT_TRUE(t.Insert(10));
    EXPECT_FALSE(t.SetName("Cy"));
    EXPECT_EQ(t.entries[0].name, "Cy");
    EXPECT_EQ(t.newIndex, -1);
}

TEST(ScoreFile, NamingWithNothingNewWritesNothing) {
    ScratchDir dir;
    YScoreTable t;
    t.LoadScores((dir / "scores.dat").c_str());
    EXPECT_TRUE(t.SetName("Dee"));
    EXPECT_FALSE(std::filesystem::exists(dir.path / "scores.dat"));
}

TEST(ScoreFile, OverlongNameIsCutToWhatTheFileHolds) {
    ScratchDir dir;
    YScoreTable t;
    t.LoadScores((dir / "scores.dat").c_str());
    ASSERT_TRUE(t.Insert(10));
    std::string longName(400, 'q');
    longName[0] = '\xC4';
    ASSERT_TRUE(t.SetName(longName));
    EXPECT_EQ(t.entries[0].name, longName.substr(0, YScoreTable::SCORE_NAME_MAX));
    YScoreTable u;
    u.LoadScores((dir / "scores.dat").c_str());
    ASSERT_EQ(u.entries.size(), 1u);
    EXPECT_EQ(u.entries[0].name, t.entries[0].name);
}

} // namespace
