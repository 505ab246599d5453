#pragma once
// The start-up system check: logs the operating system and the version of the graphics interface,
// and refuses to run below graphics interface 8.1.
#include <cstdint>
#include <functional>
#include <string>

// major << 16 | minor << 8 | letter number ('a' = 1, no letter = 0).
uint32_t PackDirectXVersion(int major, int minor, char letter);
// "%d.%d" or "%d.%d%c"; cut to textSize - 1 characters.
std::string DirectXVersionText(int major, int minor, char letter, int textSize = 10);

constexpr uint32_t MIN_DIRECTX_VERSION = 0x80100; // 8.1

struct YGraphicsVersion {
    bool found = false;
    int major = 0;
    int minor = 0;
    char letter = ' '; // ' ' when there is none
};

// Fills `packed` and `text` like the probe of the installed version; false when none was found.
bool getDirectXVersion(const YGraphicsVersion& probe, uint32_t* packed, char* text, int textSize);

// What the check asks of the machine. The defaults describe this machine: the kernel's name and
// release, and the interface version the device layer implements.
struct YSystemProbe {
    std::function<std::string()> osLine; // empty: no line
    std::function<YGraphicsVersion()> graphicsVersion;
    std::function<void(const char* text, const char* title)> messageBox;
};
YSystemProbe DefaultSystemProbe();

// Logs the lines; returns false when the program must end (exit code 0), after the message box.
bool checkSystem(const YSystemProbe& probe);
