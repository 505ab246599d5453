#include "platform/window/message_box.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

TEST(MessageBox, ShownOnlyWhereSomeoneCanAnswerIt) {
    struct Case {
        const char* what;
        const char* noBox;
        const char* display;
        const char* wayland;
        const char* driver;
        bool allowed;
    };
    const Case cases[] = {
        {"X display", nullptr, ":0", nullptr, nullptr, true},
        {"Wayland display", nullptr, nullptr, "wayland-0", "wayland", true},
        {"no display at all", nullptr, nullptr, nullptr, nullptr, false},
        {"empty display variables", nullptr, "", "", nullptr, false},
        {"switched off for tests", "1", ":0", nullptr, "x11", false},
        {"switch set to 0 leaves boxes on", "0", ":0", nullptr, nullptr, true},
        {"offscreen driver", nullptr, ":0", nullptr, "offscreen", false},
        {"dummy driver", nullptr, ":0", nullptr, "DUMMY", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(plat::MessageBoxesAllowed(c.noBox, c.display, c.wayland, c.driver), c.allowed) << c.what;
    }
}

TEST(MessageBox, ReturnsAtOnceWhenSwitchedOff) {
    const char* old = std::getenv("KORVELIN_NO_MESSAGEBOX");
    const std::string saved = old ? old : "";
    setenv("KORVELIN_NO_MESSAGEBOX", "1", 1);
    EXPECT_EQ(plat::ShowMessageBox("Window Creation Error.", "ERROR", plat::MB_ICONEXCLAMATION),
              plat::MessageBoxResult::NotShown);
    if (old)
        setenv("KORVELIN_NO_MESSAGEBOX", saved.c_str(), 1);
    else
        unsetenv("KORVELIN_NO_MESSAGEBOX");
}

} // namespace
