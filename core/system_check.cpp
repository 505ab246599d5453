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

bool getDirectXVersion(const YGraphicsVersion& probe, uint32_t* packed, char* text, int textSize) {
    if (packed) *packed = 0;
    if (text && textSize > 0) text[0] = '\0';
    if (!probe.found) return false;
    if (packed) *packed = PackDirectXVersion(probe.major, probe.minor, probe.letter);
    if (text && textSize > 0) {
        std::string t = DirectXVersionText(probe.major, probe.minor, probe.letter, textSize);
        std::memcpy(text, t.c_str(), t.size() + 1);
    }
    return true;
}

YSystemProbe DefaultSystemProbe() {
    YSystemProbe probe;
    probe.osLine = [] {
        const std::string system = plat::SystemDescription();
        return system.empty() ? system : "System version: " + system;
    };
    // The device layer implements the 8.1 interface.
    probe.graphicsVersion = [] {
        YGraphicsVersion v;
        v.found = true;
        v.major = 8;
        v.minor = 1;
        return v;
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
    YGraphicsVersion version = probe.graphicsVersion ? probe.graphicsVersion() : YGraphicsVersion{};
    if (!getDirectXVersion(version, &packed, text, sizeof text)) {
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
