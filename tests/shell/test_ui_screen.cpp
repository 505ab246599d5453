// The UI root: window pixels onto the virtual screen, capture against page routing.
#include <gtest/gtest.h>

#include "shell/ui/ui_screen.h"
#include "ui_test_support.h"

namespace {

struct Catcher : UIControl {
    Catcher(float x_, float y_) : UIControl(nullptr, x_, y_, 800, 600) {}
    float lastX = -1, lastY = -1;
    int keys = 0, chars = 0, downs = 0;
    void MouseDown(int, float px, float py) override {
        ++downs;
        lastX = px;
        lastY = py;
    }
    void KeyDown(int) override { ++keys; }
    void Char(int) override { ++chars; }
};

class ScreenTest : public uitest::UiTest {
protected:
    void SetUp() override {
        uitest::UiTest::SetUp();
        screen.Init(800, 600, nullptr, nullptr);
    }
    void TearDown() override { screen.Shutdown(); }
    UIScreen screen;
};

TEST_F(ScreenTest, ClickMapsWindowPixelsToVirtualUnitsLessThePagePosition) {
    Catcher page(0, 100);
    screen.page = &page;
    screen.Resize(1024, 768);
    screen.MouseDown(1, 512, 384);
    EXPECT_FLOAT_EQ(page.lastX, 400.0f);
    EXPECT_FLOAT_EQ(page.lastY, 200.0f);
}

TEST_F(ScreenTest, BeforeResizeCoordinatesPassUnmapped) {
    Catcher page(0, 0);
    screen.page = &page;
    screen.MouseDown(1, 512, 384);
    EXPECT_FLOAT_EQ(page.lastX, 512.0f);
    EXPECT_FLOAT_EQ(page.lastY, 384.0f);
}

TEST_F(ScreenTest, WithACaptureThePageGetsNoInput) {
    Catcher page(0, 0);
    Catcher popup(0, 0);
    screen.page = &page;
    ASSERT_TRUE(popup.Capture());
    screen.KeyDown(plat::VK_RETURN);
    screen.Char('a');
    screen.MouseDown(1, 5, 5);
    EXPECT_EQ(page.keys + page.chars + page.downs, 0);
    EXPECT_EQ(popup.keys, 1);
    EXPECT_EQ(popup.chars, 1);
    EXPECT_EQ(popup.downs, 1);
    popup.Hide();
    screen.KeyDown(plat::VK_RETURN);
    EXPECT_EQ(page.keys, 1);
}

TEST_F(ScreenTest, WithoutAPageNothingHappens) {
    Catcher popup(0, 0);
    ASSERT_TRUE(popup.Capture());
    screen.KeyDown(plat::VK_RETURN);
    screen.MouseDown(1, 5, 5);
    screen.Render(true); // no page, no renderer: nothing drawn, nothing crashes
    EXPECT_EQ(popup.keys + popup.downs, 0);
    popup.Hide();
}

TEST_F(ScreenTest, ZeroSizedWindowMapsNothing) {
    Catcher page(0, 0);
    screen.page = &page;
    screen.Resize(0, 0);
    screen.MouseDown(1, 30, 40);
    EXPECT_FLOAT_EQ(page.lastX, 30.0f);
    EXPECT_FLOAT_EQ(page.lastY, 40.0f);
}

} // namespace
