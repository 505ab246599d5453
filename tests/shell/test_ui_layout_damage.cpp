// Shipped pages cut short: whatever point a file stops at, the log names the file with what is
// wrong, and the page loads as far as it goes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "core/log.h"
#include "shell/ui/ui_layout.h"
#include "support/temp_dir.h"
#include "ui_test_support.h"

namespace {

struct LineCatcher : YLogEcho {
    std::vector<std::string> lines;
    void Print(const std::string& text) override { lines.push_back(text); }
};

struct CutPage : UILayout {
    void OnProtectFailure() override {}
};

std::string ReadSource(const std::string& relative) {
    std::ifstream in(std::string(KORVELIN_SOURCE_DIR) + "/" + relative, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class DamagedPage : public uitest::UiTest {
protected:
    void SetUp() override {
        uitest::UiTest::SetUp();
        SetLogConsole(&log);
    }
    void TearDown() override { SetLogConsole(nullptr); }

    // Loads `bytes` as the page the game knows as `gamePath` and returns the lines that name it,
    // without the line that announces the load.
    std::vector<std::string> LinesNaming(const std::string& gamePath, const std::string& bytes) {
        std::string native = gamePath;
        for (char& c : native)
            if (c == '\\') c = '/';
        std::filesystem::create_directories((dir.path() / native).parent_path());
        std::ofstream(dir.path() / native, std::ios::binary | std::ios::trunc) << bytes;
        log.lines.clear();
        CutPage page;
        page.LoadLayout(gamePath, true);
        std::vector<std::string> out;
        for (const std::string& l : log.lines)
            if (l.find(gamePath) != std::string::npos && l.rfind("Parse layout ", 0) != 0) out.push_back(l);
        return out;
    }

    LineCatcher log;
    TempDir dir{true};
};

TEST_F(DamagedPage, ACutPageNamesItselfInTheLog) {
    const char* languages[] = {"english", "german"};
    const char* pages[] = {"complete.yml", "bricks.yml", "tip_aim.yml", "tip_bonuses.yml", "tip_controls.yml"};
    std::mt19937 rng(20261211);
    for (const char* lang : languages) {
        for (const char* file : pages) {
            const std::string gamePath = std::string("ui\\") + lang + "\\" + file;
            const std::string whole = ReadSource(std::string("assets/ui/") + lang + "/" + file);
            ASSERT_GT(whole.size(), 100u) << gamePath;
            EXPECT_TRUE(LinesNaming(gamePath, whole).empty())
                << gamePath << ": " << testing::PrintToString(LinesNaming(gamePath, whole));

            const size_t layoutEnd = whole.rfind("</layout>");
            ASSERT_NE(layoutEnd, std::string::npos) << gamePath;
            std::vector<size_t> cuts = {
                0, 1, whole.size() / 4, whole.size() / 2, whole.size() * 3 / 4, layoutEnd, layoutEnd + 2};
            std::uniform_int_distribution<size_t> anywhere(1, layoutEnd);
            for (int i = 0; i < 6; ++i) cuts.push_back(anywhere(rng));
            for (size_t cut : cuts)
                EXPECT_FALSE(LinesNaming(gamePath, whole.substr(0, cut)).empty())
                    << gamePath << " cut to " << cut << " bytes";
        }
    }
}

} // namespace
