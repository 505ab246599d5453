#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "core/log.h"
#include "core/start_choice.h"
#include "core/system_check.h"
#include "platform/sys/files.h"
#include "support/temp_dir.h"

TEST(StartChoice, OnlyTheFirstTwoCharactersCount) {
    struct Case {
        const char* text;
        bool other;
        StartChoice want;
    };
    const Case cases[] = {
        {"-2", true, StartChoice::Game},  {"-E", true, StartChoice::Editor}, {"-e", false, StartChoice::Editor},
        {"", true, StartChoice::Exit},    {"", false, StartChoice::Game},    {"-", false, StartChoice::Game},
        {"-", true, StartChoice::Exit},   {"-2x", true, StartChoice::Game},  {"-editor", true, StartChoice::Editor},
        {"x-e", true, StartChoice::Exit}, {"-3", false, StartChoice::Game},
    };
    for (const Case& c : cases) EXPECT_EQ(ChooseStart(c.text, c.other), c.want) << '"' << c.text << '"';
}

TEST(StartChoice, CommandTextJoinsArguments) {
    char a0[] = "korvelin", a1[] = "-e", a2[] = "x";
    char* argv[] = {a0, a1, a2};
    EXPECT_EQ(CommandText(1, argv), "");
    EXPECT_EQ(CommandText(3, argv), "-e x");
}

TEST(SystemCheck, VersionPackingAndText) {
    struct Case {
        int major, minor;
        char letter;
        uint32_t packed;
        const char* text;
    };
    const Case cases[] = {
        {8, 1, ' ', 0x80100, "8.1"},  {8, 1, 'a', 0x80101, "8.1a"}, {9, 0, 'C', 0x90003, "9.0c"},
        {8, 0, 'z', 0x8001A, "8.0z"}, {6, 1, ' ', 0x60100, "6.1"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PackDirectXVersion(c.major, c.minor, c.letter), c.packed);
        EXPECT_EQ(DirectXVersionText(c.major, c.minor, c.letter), c.text);
    }
    EXPECT_EQ(DirectXVersionText(12345, 67890, 'a'), "12345.678"); // cut to the 10-byte buffer
}

namespace {

// A machine as the check sees it: what the diagnostic provider answers, the system folder and the
// version resources of the files in it.
struct Machine {
    bool provider = false;
    std::map<std::string, YDiagnosticValue> properties;
    const char* folder = nullptr; // null: the system folder can't be found
    struct File {
        int32_t result;
        uint64_t version;
    };
    std::map<std::string, File> files; // full paths
};

YDiagnosticValue Number(uint32_t n) { return {YDiagnosticValue::TYPE_UINT32, n, {}}; }
YDiagnosticValue Text(const char* t) { return {YDiagnosticValue::TYPE_STRING, 0, t}; }

Machine Provider(uint32_t major, uint32_t minor, const char* letter) {
    Machine m;
    m.provider = true;
    m.properties = {{"dwDirectXVersionMajor", Number(major)},
                    {"dwDirectXVersionMinor", Number(minor)},
                    {"szDirectXVersionLetter", Text(letter)}};
    return m;
}

constexpr const char* SYSTEM = "C:\\WINDOWS\\SYSTEM32";

Machine Files(std::map<std::string, uint64_t> versions) {
    Machine m;
    m.folder = SYSTEM;
    for (const auto& [name, version] : versions) m.files[std::string(SYSTEM) + "\\" + name] = {CHECK_OK, version};
    return m;
}

YSystemProbe ProbeOf(const Machine& m, std::vector<std::string>* asked = nullptr) {
    YSystemProbe probe;
    probe.osLine = [] { return std::string("System version: TestOS 1.0"); };
    if (m.provider)
        probe.diagnostic = [m](const std::string& property, YDiagnosticValue& value) {
            auto it = m.properties.find(property);
            if (it == m.properties.end()) return false;
            value = it->second;
            return true;
        };
    probe.systemFolder = [m](std::string& folder) {
        if (!m.folder) return false;
        folder = m.folder;
        return true;
    };
    probe.versionResource = [m, asked](const std::string& path, uint64_t* version) {
        if (asked) asked->push_back(path);
        auto it = m.files.find(path);
        if (it == m.files.end()) return CHECK_E_FAIL;
        *version = it->second.version;
        return it->second.result;
    };
    return probe;
}

struct CheckRun {
    bool result;
    std::string log;
    std::vector<std::string> boxes;
};

CheckRun RunCheck(const Machine& machine) {
    TempDir tmp;
    const std::string logPath = (tmp.path() / "log.txt").string();
    LogReopen(logPath);
    CheckRun run;
    YSystemProbe probe = ProbeOf(machine);
    probe.messageBox = [&run](const char* text, const char* title) {
        run.boxes.push_back(std::string(title) + ": " + text);
    };
    run.result = checkSystem(probe);
    LogReopen("");
    plat::ReadFile(logPath, run.log, 1 << 20, false);
    return run;
}

std::string VersionOf(const Machine& machine, uint32_t* packed = nullptr) {
    char text[10] = "garbage";
    uint32_t p = 0xDEAD;
    EXPECT_EQ(getDirectXVersion(ProbeOf(machine), &p, text, sizeof text), CHECK_OK);
    if (packed) *packed = p;
    return text;
}

constexpr uint64_t V(uint16_t a, uint16_t b, uint16_t c, uint16_t d) { return PackFileVersion(a, b, c, d); }

} // namespace

TEST(SystemCheck, RefusesOlderThanEightOne) {
    struct Case {
        Machine m;
        bool ok;
        const char* log;
        const char* box;
    };
    const char* refused = "DirectX Version Error: Requires installed DirectX v8.1 or higher";
    const Case cases[] = {
        {Provider(8, 1, " "), true, "System version: TestOS 1.0\nDirectX v8.1 installed\n", nullptr},
        {Provider(9, 0, "c"), true, "System version: TestOS 1.0\nDirectX v9.0c installed\n", nullptr},
        {Provider(8, 0, "b"), false, "System version: TestOS 1.0\nDirectX v8.0b installed\n", refused},
        {Provider(6, 1, " "), false, "System version: TestOS 1.0\nDirectX v6.1 installed\n", refused},
        // No provider and no system folder: nothing found is version 0.0, refused at the threshold.
        {Machine{}, false, "System version: TestOS 1.0\nDirectX v0.0 installed\n", refused},
        {Files({{"d3d9.dll", V(1, 0, 0, 0)}}), true, "System version: TestOS 1.0\nDirectX v9.0 installed\n", nullptr},
        {Files({{"notes.txt", V(9, 9, 9, 9)}}), false, "System version: TestOS 1.0\nDirectX v0.0 installed\n", refused},
    };
    for (const Case& c : cases) {
        CheckRun run = RunCheck(c.m);
        EXPECT_EQ(run.result, c.ok);
        EXPECT_EQ(run.log, c.log);
        if (c.box) {
            ASSERT_EQ(run.boxes.size(), 1u);
            EXPECT_EQ(run.boxes[0], c.box);
        } else {
            EXPECT_TRUE(run.boxes.empty());
        }
    }
}

TEST(SystemCheck, EightZeroWithAnyLetterIsRefused) {
    for (char letter = 'a'; letter <= 'z'; ++letter) {
        const char text[2] = {letter, '\0'};
        CheckRun run = RunCheck(Provider(8, 0, text));
        EXPECT_FALSE(run.result) << letter;
        ASSERT_EQ(run.boxes.size(), 1u) << letter;
        EXPECT_EQ(run.boxes[0], "DirectX Version Error: Requires installed DirectX v8.1 or higher");
    }
}

TEST(SystemCheck, ProviderAnswersOnlyWithAllThreePropertiesOfTheirTypes) {
    // When the provider answers, the files are not asked.
    Machine both = Provider(8, 1, "A");
    both.folder = SYSTEM;
    both.files[std::string(SYSTEM) + "\\d3d9.dll"] = {CHECK_OK, V(4, 9, 0, 904)};
    uint32_t packed = 0;
    EXPECT_EQ(VersionOf(both, &packed), "8.1a");
    EXPECT_EQ(packed, 0x80101u);

    // A property missing or of the wrong type: the provider's answer is dropped and the files decide.
    const char* properties[] = {"dwDirectXVersionMajor", "dwDirectXVersionMinor", "szDirectXVersionLetter"};
    for (const char* property : properties) {
        Machine missing = both;
        missing.properties.erase(property);
        EXPECT_EQ(VersionOf(missing), "9.0") << property;
        Machine wrongType = both;
        wrongType.properties[property] =
            wrongType.properties[property].type == YDiagnosticValue::TYPE_STRING ? Number(8) : Text("8");
        EXPECT_EQ(VersionOf(wrongType), "9.0") << property;
    }
}

TEST(SystemCheck, FileVersionRows) {
    struct Case {
        std::map<std::string, uint64_t> files;
        const char* text;
        uint32_t packed;
    };
    const Case cases[] = {
        {{}, "0.0", 0},
        {{{"ddraw.dll", V(4, 2, 0, 94)}}, "0.0", 0},
        {{{"ddraw.dll", V(4, 2, 0, 95)}}, "1.0", 0x10000},
        {{{"ddraw.dll", V(4, 3, 0, 1096)}}, "2.0", 0x20000},
        {{{"d3drg8x.dll", V(4, 4, 0, 70)}}, "3.0a", 0x30001},
        // Compared high words first: huge low words don't lift 4.5 to 4.6.
        {{{"ddraw.dll", V(4, 5, 0xFFFF, 0xFFFF)}}, "5.0", 0x50000},
        {{{"ddraw.dll", V(4, 6, 0, 435)}}, "6.0", 0x60000},
        {{{"ddraw.dll", V(4, 6, 0, 436)}}, "6.1", 0x60100},
        // A later matching row overrides an earlier one, even with a lower version.
        {{{"dplayx.dll", V(4, 6, 3, 518)}, {"ddraw.dll", V(4, 6, 0, 436)}}, "6.1a", 0x60101},
        {{{"dplayx.dll", V(4, 6, 3, 518)}, {"ddraw.dll", V(4, 7, 0, 700)}}, "7.0", 0x70000},
        {{{"ddraw.dll", V(4, 7, 0, 700)}, {"dinput.dll", V(4, 7, 0, 716)}}, "7.0a", 0x70001},
        {{{"ddraw.dll", V(4, 8, 0, 400)}}, "8.0", 0x80000},
        {{{"ddraw.dll", V(5, 1, 2258, 399)}}, "7.0", 0x70000},
        {{{"ddraw.dll", V(5, 1, 2258, 400)}}, "8.0", 0x80000},
        // First words other than 4 and 5 never pass the release-dependent rows.
        {{{"ddraw.dll", V(6, 0, 0, 0)}}, "7.0", 0x70000},
        {{{"d3d8.dll", V(6, 0, 0, 0)}}, "0.0", 0},
        {{{"d3d8.dll", V(4, 8, 1, 881)}}, "8.1", 0x80100},
        {{{"d3d8.dll", V(5, 1, 2600, 880)}}, "0.0", 0},
        {{{"d3d8.dll", V(5, 1, 2600, 881)}}, "8.1", 0x80100},
        {{{"d3d8.dll", V(4, 8, 1, 901)}}, "8.1a", 0x80101},
        {{{"d3d8.dll", V(5, 1, 2600, 901)}}, "8.1a", 0x80101},
        {{{"d3d8.dll", V(4, 8, 1, 901)}, {"mpg2splt.ax", V(6, 3, 1, 885)}}, "8.1b", 0x80102},
        {{{"mpg2splt.ax", V(6, 3, 1, 884)}}, "0.0", 0},
        {{{"dpnet.dll", V(4, 9, 0, 134)}}, "8.2", 0x80200},
        {{{"dpnet.dll", V(5, 2, 3677, 133)}}, "0.0", 0},
        {{{"dpnet.dll", V(5, 2, 3677, 134)}}, "8.2", 0x80200},
        {{{"ddraw.dll", V(4, 8, 0, 400)}, {"d3d9.dll", V(0, 0, 0, 0)}}, "9.0", 0x90000},
    };
    for (const Case& c : cases) {
        uint32_t packed = 0xDEAD;
        const std::string text = VersionOf(Files(c.files), &packed);
        EXPECT_EQ(text, c.text) << (c.files.empty() ? "" : c.files.begin()->first);
        EXPECT_EQ(packed, c.packed) << text;
    }
}

TEST(SystemCheck, RowsAreAskedInOrderUpToTheLastOne) {
    Machine m = Files({{"d3d9.dll", V(4, 9, 0, 904)}});
    std::vector<std::string> asked;
    uint32_t packed = 0;
    EXPECT_EQ(getDirectXVersion(ProbeOf(m, &asked), &packed, nullptr, 0), CHECK_OK);
    EXPECT_EQ(packed, 0x90000u);
    const std::string s = std::string(SYSTEM) + "\\";
    const std::vector<std::string> want = {
        s + "ddraw.dll", s + "ddraw.dll",   s + "ddraw.dll", s + "d3drg8x.dll", s + "ddraw.dll", s + "ddraw.dll",
        s + "ddraw.dll", s + "dplayx.dll",  s + "ddraw.dll", s + "dinput.dll",  s + "ddraw.dll", s + "d3d8.dll",
        s + "d3d8.dll",  s + "mpg2splt.ax", s + "dpnet.dll", s + "d3d9.dll",
    };
    EXPECT_EQ(asked, want);
}

TEST(SystemCheck, UnreadableVersionResourcesDoNotMatch) {
    const int32_t failures[] = {CHECK_E_FAIL, CHECK_E_OUTOFMEMORY, CHECK_E_INVALIDARG};
    for (int32_t failure : failures) {
        Machine m = Files({{"ddraw.dll", V(4, 7, 0, 700)}});
        m.files[std::string(SYSTEM) + "\\d3d9.dll"] = {failure, V(4, 9, 0, 904)};
        m.files[std::string(SYSTEM) + "\\d3d8.dll"] = {failure, V(4, 8, 1, 901)};
        EXPECT_EQ(VersionOf(m), "7.0") << std::hex << failure;
    }
}

TEST(SystemCheck, GetFileVersionResults) {
    Machine m = Files({{"ddraw.dll", V(4, 7, 0, 700)}});
    m.files[std::string(SYSTEM) + "\\big.dll"] = {CHECK_E_OUTOFMEMORY, V(1, 2, 3, 4)};
    const YSystemProbe probe = ProbeOf(m);
    uint64_t version = 99;
    EXPECT_EQ(GetFileVersion(probe, nullptr, &version), CHECK_E_INVALIDARG);
    EXPECT_EQ(GetFileVersion(probe, "", &version), CHECK_E_INVALIDARG);
    EXPECT_EQ(GetFileVersion(probe, "C:\\WINDOWS\\SYSTEM32\\ddraw.dll", nullptr), CHECK_E_INVALIDARG);
    EXPECT_EQ(GetFileVersion(probe, "C:\\WINDOWS\\SYSTEM32\\ddraw.dll", &version), CHECK_OK);
    EXPECT_EQ(version, V(4, 7, 0, 700));
    EXPECT_EQ(GetFileVersion(probe, "C:\\WINDOWS\\SYSTEM32\\big.dll", &version), CHECK_E_OUTOFMEMORY);
    EXPECT_EQ(version, 0u);
    EXPECT_EQ(GetFileVersion(probe, "C:\\WINDOWS\\SYSTEM32\\none.dll", &version), CHECK_E_FAIL);
    EXPECT_EQ(GetFileVersion(YSystemProbe{}, "C:\\WINDOWS\\SYSTEM32\\ddraw.dll", &version), CHECK_E_FAIL);
}

TEST(SystemCheck, ThisMachinePasses) {
    uint32_t packed = 0;
    char text[10];
    EXPECT_EQ(getDirectXVersion(DefaultSystemProbe(), &packed, text, sizeof text), CHECK_OK);
    EXPECT_EQ(packed, MIN_DIRECTX_VERSION);
    EXPECT_STREQ(text, "8.1");
}
