// pagestamp: writes the "protect" digest of page layout files into their "layout" tag.
//
//   pagestamp [--check] page.yml...
//
// The digest is what the game's page reader computes (shell/ui/ui_layout.h): the MD5 of the text
// it reads after the opening "layout" tag, so the value written into that tag never changes it.
// With --check nothing is written and the exit code says whether every page already matches.
// Files are rewritten through a temporary file and a rename.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/log.h"
#include "core/md5.h"
#include "platform/sys/files.h"
#include "shell/ui/ui_layout.h"

namespace {

// A page that only reports whether its digest matched.
class StampPage : public UILayout {
public:
    bool failed = false;

protected:
    void OnProtectFailure() override { failed = true; }
};

std::string HexDigest(const std::string& text) {
    uint8_t d[16];
    GetMD5(text.data(), text.size(), d);
    char out[33];
    for (int i = 0; i < 16; ++i) std::snprintf(out + 2 * i, 3, "%02x", d[i]);
    return std::string(out, 32);
}

// Replaces (or adds) the protect attribute of the first "layout" tag of `file`. False when the
// text has no such tag.
bool SetProtect(std::string& file, const std::string& digest) {
    const std::size_t open = file.find("<layout");
    if (open == std::string::npos) return false;
    const std::size_t close = file.find('>', open);
    if (close == std::string::npos) return false;
    const std::size_t attr = file.find("protect", open);
    if (attr != std::string::npos && attr < close) {
        std::size_t q = file.find_first_of("\"'", attr);
        if (q == std::string::npos || q > close) return false;
        const char quote = file[q];
        const std::size_t end = file.find(quote, q + 1);
        if (end == std::string::npos || end > close) return false;
        file.replace(q + 1, end - q - 1, digest);
        return true;
    }
    const std::size_t at = (close > open && file[close - 1] == '/') ? close - 1 : close;
    file.insert(at, " protect=\"" + digest + "\"");
    return true;
}

// Errors in a page go to stderr; the build shows them.
struct ErrorEcho : YLogEcho {
    void Print(const std::string& text) override {
        // A page without its digest is what this tool mends; other errors are the page's own.
        if (text.rfind("Layout parser error", 0) == 0 && text.find("Protect error.") == std::string::npos)
            std::fprintf(stderr, "pagestamp: %s\n", text.c_str());
    }
};

} // namespace

int main(int argc, char** argv) {
    LogReopen(""); // no log file; errors are echoed to stderr
    ErrorEcho echo;
    SetLogConsole(&echo);
    bool check = false;
    int first = 1;
    if (argc > 1 && std::strcmp(argv[1], "--check") == 0) {
        check = true;
        first = 2;
    }
    if (first >= argc) {
        std::fprintf(stderr, "usage: pagestamp [--check] page.yml...\n");
        return 2;
    }
    int failures = 0;
    for (int i = first; i < argc; ++i) {
        const char* path = argv[i];
        std::string content;
        if (plat::ReadFile(path, content, XML_MAX_FILE_BYTES, false) != plat::ReadStatus::Ok) {
            std::fprintf(stderr, "pagestamp: cannot read %s\n", path);
            ++failures;
            continue;
        }
        StampPage page;
        page.EnableProtect(true);
        page.LoadLayout(path, false);
        const std::string digest = HexDigest(page.CollectedText());
        if (check) {
            if (page.failed) {
                std::fprintf(stderr, "pagestamp: %s does not carry its digest %s\n", path, digest.c_str());
                ++failures;
            }
            continue;
        }
        if (!page.failed) continue; // already stamped
        if (!SetProtect(content, digest) || !plat::WriteFileAtomic(path, content)) {
            std::fprintf(stderr, "pagestamp: cannot stamp %s\n", path);
            ++failures;
            continue;
        }
        std::printf("%s: %s\n", path, digest.c_str());
    }
    SetLogConsole(nullptr);
    return failures == 0 ? 0 : 1;
}
