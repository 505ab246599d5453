#pragma once
// Helpers of the UI suites: a fixed-width font (every character half the text size wide, so size
// 16 gives 8 units per character), a listener that records events, and a key query the tests set.
#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

#include "render/font.h"
#include "shell/ui/ui_control.h"
#include "shell/ui/ui_input_widgets.h"

namespace uitest {

constexpr float FIXED_CHAR_WIDTH = 0.5f;

inline void UseFixedFont(const char* name = "default") {
    YFont* f = FindFont(name);
    for (float& w : f->widths) w = FIXED_CHAR_WIDTH;
}

struct Recorder : UIEvent {
    std::vector<std::pair<int, UIControl*>> events;
    void OnEvent(int type, UIControl* sender) override { events.emplace_back(type, sender); }
    int Count(int type) const {
        int n = 0;
        for (const auto& e : events) n += e.first == type;
        return n;
    }
};

// Keys held, for the widgets' Shift / Ctrl checks.
struct HeldKeys {
    std::set<int> held;
    HeldKeys() {
        SetUIKeyQuery([this](int key) { return held.count(key) > 0; });
    }
    ~HeldKeys() { SetUIKeyQuery(nullptr); }
};

// A fixed-width font and no held keys for every test of a fixture.
class UiTest : public ::testing::Test {
protected:
    void SetUp() override { UseFixedFont(); }
    HeldKeys keys;
};

} // namespace uitest
