#include "core/system_check.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "core/log.h"
#include "core/message_box.h"
#include "platform/sys/system_info.h"

uint32_t PackDirectXVersion(int major, int minor, char letter) {
    uint32_t packed = (static_cast<uint32_t>(major) << 16) | (static_cast<uint32_t>(minor & 0xFF) << 8);
    unsigned char l = static_cast<unsigned char>(std::tolower(static_cast<unsigned char>(letter)));
    if (l >= 'a' && l <= 'z') packed += l - 96;
    return packed;
}

std::string DirectXVersionText(int major, int minor, char letter, int textSize) {
    char buffer[64];
    unsigned char l = static_cast<unsigned char>(std::tolower(static_cast<unsigned char>(letter)));
    if (l == ' ')
        std::snprintf(buffer, sizeof buffer, "%d.%d", major, minor);
    else
        std::snprintf(buffer, sizeof buffer, "%d.%d%c", major, minor, l);
    std::string text(buffer);
    if (textSize <= 0) return {};
    if (static_cast<int>(text.size()) > textSize - 1) text.resize(static_cast<std::size_t>(textSize - 1));
    return text;
}

namespace {

struct FoundVersion {
    int major = 0;
    int minor = 0;
    char letter = ' ';
};

// Asks the diagnostic provider's system information; true only when all three properties were read
// with the types they must have.
bool VersionFromDiagnostics(const YSystemProbe& probe, FoundVersion& found) {
    if (!probe.diagnostic) return false;
    bool gotMajor = false, gotMinor = false, gotLetter = false;
    YDiagnosticValue value;
    if (probe.diagnostic("dwDirectXVersionMajor", value) && value.type == YDiagnosticValue::TYPE_UINT32) {
        found.major = static_cast<int>(value.number);
        gotMajor = true;
    }
    value = {};
    if (probe.diagnostic("dwDirectXVersionMinor", value) && value.type == YDiagnosticValue::TYPE_UINT32) {
        found.minor = static_cast<int>(value.number);
        gotMinor = true;
    }
    value = {};
    if (probe.diagnostic("szDirectXVersionLetter", value) && value.type == YDiagnosticValue::TYPE_STRING) {
        found.letter = value.text.empty() ? '\0' : value.text[0];
        gotLetter = true;
    }
    return gotMajor && gotMinor && gotLetter;
}

// How a row tests a file's version.
enum class RowTest {
    AtLeast,          // version >= low
    AtLeastByRelease, // first word 4 and >= low, or first word 5 and >= high
    Readable,         // the version resource can be read; the search ends here
};

struct FileVersionRow {
    const char* file;
    RowTest test;
    uint64_t low;
    uint64_t high;
    int major, minor;
    char letter;
};

// In the order they are tested; a later match overrides an earlier one.
constexpr FileVersionRow FILE_VERSION_ROWS[] = {
    {"\\ddraw.dll", RowTest::AtLeast, PackFileVersion(4, 2, 0, 95), 0, 1, 0, ' '},
    {"\\ddraw.dll", RowTest::AtLeast, PackFileVersion(4, 3, 0, 1096), 0, 2, 0, ' '},
    {"\\ddraw.dll", RowTest::AtLeast, PackFileVersion(4, 4, 0, 68), 0, 3, 0, ' '},
    {"\\d3drg8x.dll", RowTest::AtLeast, PackFileVersion(4, 4, 0, 70), 0, 3, 0, 'a'},
    {"\\ddraw.dll", RowTest::AtLeast, PackFileVersion(4, 5, 0, 155), 0, 5, 0, ' '},
    {"\\ddraw.dll", RowTest::AtLeast, PackFileVersion(4, 6, 0, 318), 0, 6, 0, ' '},
    {"\\ddraw.dll", RowTest::AtLeast, PackFileVersion(4, 6, 0, 436), 0, 6, 1, ' '},
    {"\\dplayx.dll", RowTest::AtLeast, PackFileVersion(4, 6, 3, 518), 0, 6, 1, 'a'},
    {"\\ddraw.dll", RowTest::AtLeast, PackFileVersion(4, 7, 0, 700), 0, 7, 0, ' '},
    {"\\dinput.dll", RowTest::AtLeast, PackFileVersion(4, 7, 0, 716), 0, 7, 0, 'a'},
    {"\\ddraw.dll", RowTest::AtLeastByRelease, PackFileVersion(4, 8, 0, 400), PackFileVersion(5, 1, 2258, 400), 8, 0,
     ' '},
    {"\\d3d8.dll", RowTest::AtLeastByRelease, PackFileVersion(4, 8, 1, 881), PackFileVersion(5, 1, 2600, 881), 8, 1,
     ' '},
    {"\\d3d8.dll", RowTest::AtLeastByRelease, PackFileVersion(4, 8, 1, 901), PackFileVersion(5, 1, 2600, 901), 8, 1,
     'a'},
    {"\\mpg2splt.ax", RowTest::AtLeast, PackFileVersion(6, 3, 1, 885), 0, 8, 1, 'b'},
    {"\\dpnet.dll", RowTest::AtLeastByRelease, PackFileVersion(4, 9, 0, 134), PackFileVersion(5, 2, 3677, 134), 8, 2,
     ' '},
    {"\\d3d9.dll", RowTest::Readable, 0, 0, 9, 0, ' '},
};

bool RowMatches(const FileVersionRow& row, uint64_t version) {
    switch (row.test) {
        case RowTest::AtLeast: return version >= row.low;
        case RowTest::AtLeastByRelease: {
            const uint64_t firstWord = version >> 48;
            return (firstWord == 4 && version >= row.low) || (firstWord == 5 && version >= row.high);
        }
        case RowTest::Readable: return true;
    }
    return false;
}

// Reads the versions of the interface's files in the system folder. Never fails: with no folder or
// no matching file the answer is 0.0, which the check then refuses.
void VersionFromFiles(const YSystemProbe& probe, FoundVersion& found) {
    found = {};
    std::string folder;
    if (!probe.systemFolder || !probe.systemFolder(folder)) return;
    for (const FileVersionRow& row : FILE_VERSION_ROWS) {
        uint64_t version = 0;
        const std::string path = folder + row.file;
        if (GetFileVersion(probe, path.c_str(), &version) < 0) continue;
        if (!RowMatches(row, version)) continue;
        found.major = row.major;
        found.minor = row.minor;
        found.letter = row.letter;
        if (row.test == RowTest::Readable) return;
    }
}

} // namespace

int32_t GetFileVersion(const YSystemProbe& probe, const char* path, uint64_t* version) {
    if (!path || !*path || !version) return CHECK_E_INVALIDARG;
    *version = 0;
    if (!probe.versionResource) return CHECK_E_FAIL;
    const int32_t result = probe.versionResource(path, version);
    if (result < 0) *version = 0;
    return result;
}

int32_t getDirectXVersion(const YSystemProbe& probe, uint32_t* packed, char* text, int textSize) {
    if (packed) *packed = 0;
    if (text && textSize > 0) text[0] = '\0';
    FoundVersion found;
    if (!VersionFromDiagnostics(probe, found)) VersionFromFiles(probe, found);
    if (packed) *packed = PackDirectXVersion(found.major, found.minor, found.letter);
    if (text && textSize > 0) {
        const std::string t = DirectXVersionText(found.major, found.minor, found.letter, textSize);
        std::memcpy(text, t.c_str(), t.size() + 1);
    }
    return CHECK_OK;
}

YSystemProbe DefaultSystemProbe() {
    YSystemProbe probe;
    probe.osLine = [] {
        const std::string system = plat::SystemDescription();
        return system.empty() ? system : "System version: " + system;
    };
    // The provider answers with the interface the device layer implements: 8.1.
    probe.diagnostic = [](const std::string& property, YDiagnosticValue& value) {
        if (property == "dwDirectXVersionMajor" || property == "dwDirectXVersionMinor") {
            value.type = YDiagnosticValue::TYPE_UINT32;
            value.number = property == "dwDirectXVersionMajor" ? 8 : 1;
            return true;
        }
        if (property == "szDirectXVersionLetter") {
            value.type = YDiagnosticValue::TYPE_STRING;
            value.text.assign(1, ' '); // no letter
            return true;
        }
        return false;
    };
    probe.messageBox = [](const char* text, const char* title) { ShowMessage(text, title, plat::MB_ICONINFORMATION); };
    return probe;
}

bool checkSystem(const YSystemProbe& probe) {
    if (probe.osLine) {
        std::string line = probe.osLine();
        if (!line.empty()) LogLine(line.c_str());
    }
    uint32_t packed = 0;
    char text[10];
    if (getDirectXVersion(probe, &packed, text, sizeof text) < 0) {
        LogLine("DirectX not installed.");
        if (probe.messageBox) probe.messageBox("DirectX not installed.", "DirectX Version Error");
        return false;
    }
    LogPrintf(g_Log, "DirectX v%s installed", text);
    if (packed < MIN_DIRECTX_VERSION) {
        if (probe.messageBox) probe.messageBox("Requires installed DirectX v8.1 or higher", "DirectX Version Error");
        return false;
    }
    return true;
}
