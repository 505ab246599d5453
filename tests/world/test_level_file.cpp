// The level file codec: layouts, byte order of the fields, round trips and hostile input.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/streams.h"
#include "support/temp_dir.h"
#include "world/level/level_file.h"

namespace {

// Collects what a writer writes.
class StringOut : public OutStream {
public:
    void Write(const void* buffer, int32_t count) override {
        if (count > 0) bytes.append(static_cast<const char*>(buffer), static_cast<std::size_t>(count));
    }
    std::string bytes;
};

std::string Encode(const YLevelData& level) {
    StringOut out;
    std::string error;
    EXPECT_TRUE(WriteLevelData(out, level, error)) << error;
    return out.bytes;
}

bool Decode(const std::string& bytes, YLevelData& level, std::string& error, const LevelMaterialCheck& known = {}) {
    return ReadLevelBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), level, error, known);
}

uint32_t U32At(const std::string& b, std::size_t at) {
    uint32_t v;
    std::memcpy(&v, b.data() + at, 4);
    return v;
}
void PutU32At(std::string& b, std::size_t at, uint32_t v) { std::memcpy(b.data() + at, &v, 4); }

// The editor's level at start-up: default table, sky "sky", one empty group.
YLevelData StartUpLevel() {
    YLevelData level;
    level.environment = "sky";
    level.bonusCounts.assign(34, 0);
    level.sets.resize(1);
    return level;
}

YLevelData SampleLevel(bool oldLayout) {
    YLevelData level;
    level.oldLayout = oldLayout;
    level.scale = {1.0f, 1.5f, 0.75f};
    level.width = 24;
    level.depth = 30;
    level.tableMaterial = "marble";
    level.environment = "dusk";
    level.centreFlag = oldLayout ? 1 : 0;
    level.bonusCounts.assign(34, 0);
    level.bonusCounts[3] = 2;
    level.bonusCounts[33] = 1;
    YLevelSet set;
    set.blocks.push_back({0, 0, 0, 1, 1, 1, "wood", 35.0f, -1});
    set.blocks.push_back({1, 0, 0, 2, 1, 3, "glass", 60.5f, 3});
    set.blocks.push_back({-4, 7, 2, 1, 9, 1, "stone", 1.0f, 33});
    level.sets.push_back(set);
    if (!oldLayout) {
        YLevelSet second;
        second.matrix.SetRotationZ(30.0f);
        second.matrix.m[12] = 4.0f;
        second.matrix.m[14] = 0.02f;
        second.blocks.push_back({0, 0, 0, 1, 1, 1, "ice", 35.0f, 0});
        level.sets.push_back(second);
        level.sets.push_back(YLevelSet{}); // an empty set is a valid file
    }
    return level;
}

TEST(LevelFile, TheEditorsStartUpSaveIs254BytesBeginningWithTheMagic) {
    const std::string bytes = Encode(StartUpLevel());
    ASSERT_EQ(bytes.size(), 254u);
    EXPECT_EQ(bytes.substr(0, 4), "DQRK");
    EXPECT_EQ(U32At(bytes, 4), 2u);                       // version
    EXPECT_EQ(U32At(bytes, 4 + 4 + 12 + 8 + 9 + 5), 34u); // N
    EXPECT_EQ(U32At(bytes, 182), 1u);                     // S
    EXPECT_EQ(U32At(bytes, 250), 0u);                     // B
}

TEST(LevelFile, WriteReadWriteGivesTheSameBytesInBothLayouts) {
    for (bool oldLayout : {false, true}) {
        const YLevelData level = SampleLevel(oldLayout);
        const std::string first = Encode(level);
        YLevelData read;
        std::string error;
        ASSERT_TRUE(Decode(first, read, error)) << error;
        EXPECT_EQ(read.oldLayout, oldLayout);
        EXPECT_EQ(read.centreFlag, level.centreFlag);
        ASSERT_EQ(read.sets.size(), level.sets.size());
        EXPECT_EQ(read.sets[0].blocks[1].material, "glass");
        EXPECT_FLOAT_EQ(read.sets[0].blocks[1].glue, 60.5f);
        EXPECT_EQ(read.sets[0].blocks[2].bonus, 33);
        EXPECT_EQ(Encode(read), first) << (oldLayout ? "old layout" : "current layout");
    }
}

TEST(LevelFile, BlockFieldsStandInTheOrderCellsSizesMaterialGlueBonus) {
    YLevelData level = StartUpLevel();
    level.sets[0].blocks.push_back({1, 2, 3, 4, 5, 6, "ab", 7.5f, 8});
    const std::string b = Encode(level);
    const std::size_t at = 254; // the block follows B
    for (int i = 0; i < 6; ++i) EXPECT_EQ(U32At(b, at + 4 * i), static_cast<uint32_t>(i + 1));
    EXPECT_EQ(b.substr(at + 24, 4), std::string("\x02\x00"
                                                "ab",
                                                4));
    float glue;
    std::memcpy(&glue, b.data() + at + 28, 4);
    EXPECT_FLOAT_EQ(glue, 7.5f);
    EXPECT_EQ(U32At(b, at + 32), 8u);
}

TEST(LevelFile, AFirstWordThatIsNotTheMagicIsTheOldLayoutsScaleX) {
    YLevelData old = SampleLevel(true);
    old.scale.x = 2.0f;
    YLevelData read;
    std::string error;
    ASSERT_TRUE(Decode(Encode(old), read, error)) << error;
    EXPECT_TRUE(read.oldLayout);
    EXPECT_FLOAT_EQ(read.scale.x, 2.0f);
    ASSERT_EQ(read.sets.size(), 1u);
    EXPECT_EQ(read.sets[0].blocks.size(), 3u);
}

// Byte positions in the encoding of SampleLevel(false).
constexpr std::size_t kN = 4 + 4 + 12 + 8 + 2 + 6 + 2 + 4;
constexpr std::size_t kS = kN + 4 + 34 * 4;
constexpr std::size_t kB = kS + 4 + 64;
constexpr std::size_t kBlock0 = kB + 4;

TEST(LevelFile, HostileFilesAreRefusedWithAReason) {
    const std::string good = Encode(SampleLevel(false));
    ASSERT_EQ(U32At(good, kN), 34u);
    ASSERT_EQ(U32At(good, kB), 3u);
    struct Case {
        const char* name;
        std::size_t at;
        uint32_t value;
        const char* reason;
    };
    const Case cases[] = {
        {"N 35", kN, 35, "bonus count N"},
        {"N 2^31", kN, 0x80000000u, "bonus count N"},
        {"negative bonus count", kN + 4, 0xFFFFFFFFu, "bonus count"},
        {"set count 2^31", kS, 0x80000000u, "set count"},
        {"block count 2^31", kB, 0x80000000u, "block count"},
        {"size 0", kBlock0 + 12, 0, "size 0"},
        {"size -1", kBlock0 + 16, 0xFFFFFFFFu, "size -1"},
        {"size 100000", kBlock0 + 20, 100000, "size 100000"},
        {"cell far away", kBlock0, 0x7FFFFFFFu, "cell"},
        {"material length 100", kBlock0 + 24, 100, "at most 99"},
        {"material length -1", kBlock0 + 24, 0xFFFF, "at most 99"},
        {"bonus 34", kBlock0 + 24 + 2 + 4 + 4, 34, "bonus kind 34"},
        {"bonus -2", kBlock0 + 24 + 2 + 4 + 4, 0xFFFFFFFEu, "bonus kind -2"},
        {"glue NaN", kBlock0 + 24 + 2 + 4, 0x7FC00000u, "glue"},
        {"scale 0", 8, 0, "scale"},
        {"width infinite", 20, 0x7F800000u, "table width"},
        {"set matrix entry 4e31", kS + 4 + 4 * 9, 0x74000000u, "set matrix"},
    };
    for (const Case& c : cases) {
        std::string bytes = good;
        if (c.value <= 0xFFFF && std::strcmp(c.reason, "at most 99") == 0) {
            bytes[c.at] = static_cast<char>(c.value & 0xFF);
            bytes[c.at + 1] = static_cast<char>(c.value >> 8);
        } else {
            PutU32At(bytes, c.at, c.value);
        }
        YLevelData read;
        std::string error;
        EXPECT_FALSE(Decode(bytes, read, error)) << c.name;
        EXPECT_NE(error.find(c.reason), std::string::npos) << c.name << ": " << error;
    }
}

TEST(LevelFile, EveryTruncationIsRefused) {
    for (bool oldLayout : {false, true}) {
        const std::string good = Encode(SampleLevel(oldLayout));
        for (std::size_t n = 0; n < good.size(); ++n) {
            YLevelData read;
            std::string error;
            EXPECT_FALSE(Decode(good.substr(0, n), read, error)) << n;
            EXPECT_FALSE(error.empty()) << n;
        }
    }
}

TEST(LevelFile, UnknownMaterialsAreRefusedWhenTheReaderKnowsTheMaterials) {
    const std::string bytes = Encode(SampleLevel(false));
    YLevelData read;
    std::string error;
    auto known = [](const std::string& m) { return m != "ice"; };
    EXPECT_FALSE(Decode(bytes, read, error, known));
    EXPECT_NE(error.find("material \"ice\" is unknown"), std::string::npos) << error;
    EXPECT_TRUE(Decode(bytes, read, error));
}

TEST(LevelFile, TheWriterRefusesWhatTheReadersWouldRefuseAndKeepsTheOldFile) {
    testsupport::TempDir dir;
    const std::string path = dir.File("a.lev");
    std::string error;
    ASSERT_TRUE(WriteLevelFile(path.c_str(), SampleLevel(false), error)) << error;
    const std::string before = dir.Read("a.lev");

    YLevelData longName = SampleLevel(false);
    longName.environment.assign(100, 'x');
    YLevelData badKind = SampleLevel(false);
    badKind.sets[0].blocks[0].bonus = 34;
    YLevelData manyCounts = SampleLevel(false);
    manyCounts.bonusCounts.resize(35);
    for (const YLevelData* bad : {&longName, &badKind, &manyCounts}) {
        EXPECT_FALSE(WriteLevelFile(path.c_str(), *bad, error));
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(dir.Read("a.lev"), before);
    }
    EXPECT_FALSE(WriteLevelFile(dir.File("missing/folder/a.lev").c_str(), SampleLevel(false), error));

    YLevelData read;
    ASSERT_TRUE(ReadLevelFile(path.c_str(), read, error)) << error;
    EXPECT_EQ(read.sets.size(), 3u);
    EXPECT_FALSE(ReadLevelFile(dir.File("none.lev").c_str(), read, error));
    EXPECT_EQ(error, "the file can't be opened");
}

} // namespace
