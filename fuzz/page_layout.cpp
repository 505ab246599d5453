// Feeds arbitrary bytes to the page reader as a page layout file, with the checksum test on (its
// failure is counted, not fatal), then lays the page out, drives it with keys, characters and the
// mouse, draws it (no renderer: every draw call is skipped) and loads it a second time over the
// first. Deep nesting, huge spans and sizes, and stray closing tags must all come back as logged
// errors.
//
// The work grows with the input, so scripts/fuzz keeps generated inputs to 4 KB, enough for every
// construct the reader knows and far past its depth and span limits: at the size of the largest
// seed (200 KB) a run managed a few inputs a second. The long seeds still run whole in the replay
// test.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/log.h"
#include "shell/ui/ui_layout.h"

namespace {

class FuzzPage : public UILayout {
public:
    int protectFailures = 0;

protected:
    void OnProtectFailure() override { ++protectFailures; }
};

void Drive(UILayout& page) {
    const int keys[] = {9, 13, 27, 32, 37, 38, 39, 40, 8, 45, 86};
    for (int k : keys) page.KeyDown(k);
    for (int c : {int('a'), int('7'), 200, 31}) page.Char(c);
    for (float p : {0.0f, 5.0f, 100.0f, 300.0f, 599.0f}) {
        page.MouseMove(p, p * 0.75f);
        page.MouseDown(1, p, p * 0.75f);
        page.MouseUp(1, p + 3.0f, p * 0.75f);
    }
    page.Update(0.05f);
    page.Draw();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    static bool quiet = [] {
        LogReopen(""); // the errors of broken pages would only slow the run down
        return true;
    }();
    (void)quiet;
    const std::string markup(reinterpret_cast<const char*>(data), size);
    FuzzPage page;
    page.EnableProtect(true);
    page.LoadLayoutText("fuzz.yml", markup, true);
    Drive(page);
    page.LoadLayoutText("fuzz.yml", markup, false);
    page.Relayout();
    Drive(page);
    return 0;
}
