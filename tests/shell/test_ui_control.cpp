// The widget base: hover and focus chains, routing, focus moves, removal and hiding.
#include <gtest/gtest.h>

#include "shell/ui/ui_control.h"
#include "shell/ui/ui_screen.h"
#include "ui_test_support.h"

namespace {

using uitest::Recorder;

// A control that records its hooks.
struct Probe : UIControl {
    Probe(UIEvent* l, float x_, float y_, float w_, float h_, bool tab = true) : UIControl(l, x_, y_, w_, h_) {
        tabStop = tab;
    }
    int enters = 0, leaves = 0, downs = 0;
    bool consume = true;
    void OnMouseEnter() override { ++enters; }
    void OnMouseLeave() override { ++leaves; }
    bool OnMouseDown(int, float, float) override {
        ++downs;
        return consume;
    }
};

class ControlTest : public uitest::UiTest {
protected:
    Recorder rec;
    UIControl root;
    Probe* Add(float x, float y, float w, float h, bool tab = true) {
        Probe* p = new Probe(&rec, x, y, w, h, tab);
        root.AddChild(p);
        return p;
    }
};

TEST_F(ControlTest, OverlappingChildrenGiveThePressToTheEarlierOne) {
    Probe* a = Add(0, 0, 100, 100);
    Probe* b = Add(50, 50, 100, 100);
    root.MouseDown(1, 60, 60);
    EXPECT_EQ(a->downs, 1);
    EXPECT_EQ(b->downs, 0);
    EXPECT_EQ(root.HoverChild(), a);
}

TEST_F(ControlTest, UnconsumedPressBubblesToTheParent) {
    struct Parent : UIControl {
        float gotX = -1, gotY = -1;
        bool OnMouseDown(int, float px, float py) override {
            gotX = px;
            gotY = py;
            return true;
        }
    } parent;
    Probe* child = new Probe(&rec, 10, 20, 50, 50);
    child->consume = false;
    parent.AddChild(child);
    parent.MouseDown(1, 15, 30);
    EXPECT_EQ(child->downs, 1);
    EXPECT_FLOAT_EQ(parent.gotX, 15.0f); // back in the parent's coordinates
    EXPECT_FLOAT_EQ(parent.gotY, 30.0f);
}

TEST_F(ControlTest, TabMovesWithFallbacks) {
    root.TakeFocus(); // no eligible child yet: the root itself
    Probe* a = Add(0, 0, 10, 10);
    Probe* skip = Add(0, 20, 10, 10, /*tab*/ false);
    Probe* c = Add(0, 40, 10, 10);
    (void)skip;
    root.KillFocus();
    root.focused = true; // a focused root with no focused child, as a page after loading

    // Tab with no focused child: the first eligible child.
    root.KeyDown(plat::VK_TAB);
    EXPECT_TRUE(a->focused);
    // Tab: the next eligible one, skipping the control that is no tab stop.
    root.KeyDown(plat::VK_TAB);
    EXPECT_TRUE(c->focused);
    EXPECT_FALSE(a->focused);
    // Tab past the last: back to the first.
    root.KeyDown(plat::VK_TAB);
    EXPECT_TRUE(a->focused);
    // Shift+Tab on the first: nothing before it, so the first again.
    keys.held.insert(plat::VK_SHIFT);
    root.KeyDown(plat::VK_TAB);
    EXPECT_TRUE(a->focused);
    EXPECT_EQ(root.GetFocusLeaf(), a);
}

TEST_F(ControlTest, ArrowMoveSkipsCandidatesWithinHalfExtent) {
    root.arrowNavigation = true;
    Probe* f = Add(0, 0, 100, 20);
    Probe* near = Add(40, 5, 20, 20);  // centre only 0 further right... within half width
    Probe* far = Add(200, 0, 100, 20); // centre 200 to the right
    Probe* closer = Add(120, 0, 20, 20);
    f->TakeFocus();
    root.KeyDown(plat::VK_RIGHT);
    EXPECT_TRUE(closer->focused);
    EXPECT_FALSE(near->focused);
    EXPECT_FALSE(far->focused);
    // Without arrow navigation the arrows do nothing.
    root.arrowNavigation = false;
    root.KeyDown(plat::VK_RIGHT);
    EXPECT_TRUE(closer->focused);
}

TEST_F(ControlTest, TakeFocusOnAContainerDescendsToFirstEnabledVisibleChild) {
    UIControl* box = new UIControl(&rec, 0, 0, 100, 100);
    root.AddChild(box);
    Probe* hidden = new Probe(&rec, 0, 0, 10, 10, false);
    hidden->visible = false;
    Probe* disabled = new Probe(&rec, 0, 0, 10, 10, false);
    disabled->enabled = false;
    Probe* target = new Probe(&rec, 0, 0, 10, 10, /*tab*/ false);
    box->AddChild(hidden);
    box->AddChild(disabled);
    box->AddChild(target);
    box->TakeFocus();
    EXPECT_TRUE(target->focused);
    EXPECT_TRUE(box->focused);
    EXPECT_TRUE(root.focused);
    EXPECT_EQ(root.GetFocusLeaf(), target);
}

TEST_F(ControlTest, FocusEventsComeFromTheDeepestOldAndTheNewControl) {
    UIControl* box = new UIControl(&rec, 0, 0, 100, 100);
    root.AddChild(box);
    Probe* a = new Probe(&rec, 0, 0, 10, 10);
    box->AddChild(a);
    Probe* b = Add(0, 200, 10, 10);
    a->TakeFocus();
    rec.events.clear();
    b->TakeFocus();
    ASSERT_EQ(rec.events.size(), 2u);
    EXPECT_EQ(rec.events[0], std::make_pair(int(UI_EVENT_LOST_FOCUS), static_cast<UIControl*>(a)));
    EXPECT_EQ(rec.events[1], std::make_pair(int(UI_EVENT_GOT_FOCUS), static_cast<UIControl*>(b)));
    EXPECT_FALSE(box->focused);
}

TEST_F(ControlTest, RemoveChildMovesTheLastIntoItsPlace) {
    Probe* c1 = Add(0, 0, 1, 1);
    Probe* c2 = Add(0, 0, 1, 1);
    Probe* c3 = Add(0, 0, 1, 1);
    Probe* c4 = Add(0, 0, 1, 1);
    root.RemoveChild(c2);
    ASSERT_EQ(root.Children().size(), 3u);
    EXPECT_EQ(root.Children()[0], c1);
    EXPECT_EQ(root.Children()[1], c4);
    EXPECT_EQ(root.Children()[2], c3);
    EXPECT_EQ(c2->Parent(), nullptr);
    delete c2;
}

TEST_F(ControlTest, DeletingTheHoveredChildLeavesNoDanglingChain) {
    Probe* a = Add(0, 0, 50, 50);
    a->TakeFocus();
    root.MouseMove(10, 10);
    ASSERT_EQ(root.HoverChild(), a);
    delete a;
    EXPECT_EQ(root.HoverChild(), nullptr);
    EXPECT_EQ(root.FocusChild(), nullptr);
    root.MouseMove(11, 11); // must not touch the deleted control (ASan)
    root.KeyDown(plat::VK_TAB);
}

TEST_F(ControlTest, HidingTheHoveredControlLeavesAndReevaluates) {
    Probe* top = Add(0, 0, 50, 50);
    Probe* under = Add(0, 0, 50, 50);
    root.MouseMove(10, 10);
    ASSERT_EQ(root.HoverChild(), top);
    top->Hide();
    EXPECT_GE(top->leaves, 1);
    EXPECT_EQ(root.HoverChild(), under); // hover re-run from the last mouse position
    EXPECT_EQ(under->enters, 1);
    top->Show();
    EXPECT_EQ(root.HoverChild(), under); // the earlier child only wins when hover is free
}

TEST_F(ControlTest, CaptureIsFreedByHideAndByDeletion) {
    Probe* a = Add(0, 0, 10, 10);
    Probe* b = Add(0, 0, 10, 10);
    ASSERT_TRUE(a->Capture());
    EXPECT_FALSE(b->Capture());
    a->Hide();
    EXPECT_EQ(UICaptureControl(), nullptr);
    ASSERT_TRUE(b->Capture());
    delete b;
    EXPECT_EQ(UICaptureControl(), nullptr);
}

TEST_F(ControlTest, FindChildIsDirectAndFindDescendantIsPreOrder) {
    UIControl* box = new UIControl();
    box->name = "box";
    root.AddChild(box);
    UIControl* inner = new UIControl();
    inner->name = "x";
    box->AddChild(inner);
    UIControl* later = new UIControl();
    later->name = "x";
    root.AddChild(later);
    EXPECT_EQ(root.FindChild("x"), later);
    EXPECT_EQ(root.FindDescendant("x"), inner);
    EXPECT_EQ(root.FindChild("X"), nullptr);
}

TEST_F(ControlTest, EventsWithoutListenerReachTheUiRoot) {
    UIScreen screen;
    screen.Init(800, 600, &rec, nullptr);
    UIControl* c = new UIControl();
    root.AddChild(c);
    c->FireEvent(UI_EVENT_COMMAND);
    screen.Shutdown();
    c->FireEvent(UI_EVENT_COMMAND); // no root: nobody hears it
    ASSERT_EQ(rec.events.size(), 1u);
    EXPECT_EQ(rec.events[0].second, c);
}

} // namespace
