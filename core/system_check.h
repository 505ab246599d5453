#pragma once
// The start-up system check: logs the operating system and the version of the graphics interface,
// and refuses to run below graphics interface 8.1.
//
// The version is asked of the diagnostic provider first; when that gives no answer, the version
// resources of the interface's files in the system folder are read, row by row.
// Everything the check asks of the machine goes through YSystemProbe, so tests can describe any machine.
#include <cstdint>
#include <functional>
#include <string>

// Result codes of the probes.
constexpr int32_t CHECK_OK = 0;
constexpr int32_t CHECK_E_FAIL = static_cast<int32_t>(0x80004005u);
constexpr int32_t CHECK_E_INVALIDARG = static_cast<int32_t>(0x80070057u);
constexpr int32_t CHECK_E_OUTOFMEMORY = static_cast<int32_t>(0x8007000Eu);

// major << 16 | minor << 8 | letter number ('a' = 1, no letter = 0).
uint32_t PackDirectXVersion(int major, int minor, char letter);
// "%d.%d" or "%d.%d%c"; cut to textSize - 1 characters.
std::string DirectXVersionText(int major, int minor, char letter, int textSize = 10);

constexpr uint32_t MIN_DIRECTX_VERSION = 0x80100; // 8.1

// a.b.c.d as a << 48 | b << 32 | c << 16 | d, the order in which file versions compare.
constexpr uint64_t PackFileVersion(uint16_t a, uint16_t b, uint16_t c, uint16_t d) {
    return (static_cast<uint64_t>(a) << 48) | (static_cast<uint64_t>(b) << 32) | (static_cast<uint64_t>(c) << 16) |
           static_cast<uint64_t>(d);
}

// One property of the diagnostic provider's system information, with its value type:
// 19 a 32-bit unsigned number, 8 a string; other types are not accepted.
struct YDiagnosticValue {
    static constexpr uint16_t TYPE_UINT32 = 19;
    static constexpr uint16_t TYPE_STRING = 8;
    uint16_t type = 0;
    uint32_t number = 0;
    std::string text;
};

// What the check asks of the machine. The defaults describe this machine: the kernel's name and
// release, and a diagnostic provider that answers with the interface version the device layer
// implements. This platform has no system folder of interface files; tests supply one.
struct YSystemProbe {
    std::function<std::string()> osLine; // empty: no line
    // The diagnostic provider's system information: fills the named property and returns true when
    // it has it. Unset when there is no provider.
    std::function<bool(const std::string& property, YDiagnosticValue& value)> diagnostic;
    // The system folder; false when it can't be found. Unset: it can't be found.
    std::function<bool(std::string& folder)> systemFolder;
    // Reads the file version from a file's version resource; returns a result code. Unset: no file
    // has one.
    std::function<int32_t(const std::string& path, uint64_t* version)> versionResource;
    std::function<void(const char* text, const char* title)> messageBox;
};
YSystemProbe DefaultSystemProbe();

// The file version of `path`: CHECK_E_INVALIDARG for a null or empty path or a null `version`,
// otherwise what the probe's version resource reader answers (CHECK_E_FAIL when there is none).
int32_t GetFileVersion(const YSystemProbe& probe, const char* path, uint64_t* version);

// Fills `packed` and `text` (either may be null) with the installed version: the diagnostic
// provider's answer, else what the system folder's files show. The file probe never fails: with no
// system folder or no matching file the version is 0.0, which the check refuses.
int32_t getDirectXVersion(const YSystemProbe& probe, uint32_t* packed, char* text, int textSize);

// Logs the lines; returns false when the program must end (exit code 0), after the message box.
bool checkSystem(const YSystemProbe& probe);
