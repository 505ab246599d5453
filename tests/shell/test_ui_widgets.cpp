// Display, click and input widgets: their answers to keys, characters and the mouse.
#include <gtest/gtest.h>

#include <string>

#include "render/shader.h"
#include "shell/ui/ui_display_widgets.h"
#include "shell/ui/ui_input_widgets.h"
#include "shell/ui/ui_screen.h"
#include "ui_test_support.h"

namespace {

using uitest::Recorder;

const float RED[4] = {1, 0, 0, 1};
const float GREEN[4] = {0, 1, 0, 1};

class WidgetTest : public uitest::UiTest {
protected:
    Recorder rec;
    UIControl page;
    UITextStyle style = UITextStyle::Default();

    UIMenuItem* Item(const char* text, float y) {
        auto* m = new UIMenuItem(text, style, style, 0, y, &rec);
        page.AddChild(m);
        return m;
    }
};

TEST_F(WidgetTest, HoveringAMenuItemTakesFocusAndEnterFiresIt) {
    UIMenuItem* a = Item("first", 0);
    UIMenuItem* b = Item("second", 40);
    page.MouseMove(5, 5);
    ASSERT_TRUE(a->focused);
    rec.events.clear();
    page.MouseMove(5, 45);
    ASSERT_EQ(rec.events.size(), 2u);
    EXPECT_EQ(rec.events[0], std::make_pair(int(UI_EVENT_LOST_FOCUS), static_cast<UIControl*>(a)));
    EXPECT_EQ(rec.events[1], std::make_pair(int(UI_EVENT_GOT_FOCUS), static_cast<UIControl*>(b)));
    rec.events.clear();
    page.KeyDown(plat::VK_RETURN);
    ASSERT_EQ(rec.events.size(), 1u);
    EXPECT_EQ(rec.events[0], std::make_pair(int(UI_EVENT_COMMAND), static_cast<UIControl*>(b)));
    // Any mouse button clicks it, and the cursor shows the press.
    page.MouseDown(2, 5, 45);
    EXPECT_EQ(rec.Count(UI_EVENT_COMMAND), 2);
    EXPECT_EQ(UICursorShape(), UI_CURSOR_PRESSED);
}

TEST_F(WidgetTest, MenuItemSizesToItsTextAndGlowsUpAndDown) {
    UIMenuItem* a = Item("abcd", 0);
    EXPECT_FLOAT_EQ(a->w, 4 * 8.0f);
    EXPECT_FLOAT_EQ(a->h, 16.0f);
    EXPECT_FLOAT_EQ(a->shadowColour[3], 0.23333333f);
    a->Update(0.5f); // not focused: no glow
    EXPECT_FLOAT_EQ(a->glowPhase, 0.0f);
    a->TakeFocus();
    for (int i = 0; i < 4; ++i) a->Update(0.25f);
    EXPECT_FLOAT_EQ(a->glowPhase, 1.0f);
    for (int i = 0; i < 4; ++i) a->Update(0.25f);
    EXPECT_FLOAT_EQ(a->glowPhase, 0.0f);
}

TEST_F(WidgetTest, DisabledLinkIsGreyAndIgnoresPresses) {
    auto* link = new UIHotLink(style, "go", RED, 0, 0, &rec);
    page.AddChild(link);
    link->enabled = false;
    link->OnMouseDown(1, 1, 1);
    EXPECT_TRUE(rec.events.empty());
    EXPECT_EQ(link->TextColour()[0], UI_DISABLED_COLOUR[0]);
    link->enabled = true;
    link->OnMouseEnter();
    EXPECT_EQ(link->TextColour(), link->hoverColour);
    link->OnMouseDown(1, 1, 1);
    EXPECT_EQ(rec.Count(UI_EVENT_COMMAND), 1);
}

TEST_F(WidgetTest, CheckBoxTogglesAndFiresNothing) {
    UIScreen screen;
    screen.Init(800, 600, &rec, nullptr); // even the root's listener hears nothing
    auto* box = new UICheckBox(style, "sound", RED, FindShader("ui_checkbox"), 0, 0);
    page.AddChild(box);
    EXPECT_FLOAT_EQ(box->w, 5 * 8.0f + 16.0f);
    page.MouseDown(1, 2, 2);
    EXPECT_TRUE(box->checked);
    EXPECT_FLOAT_EQ(box->boxQuad[0].uv.u, 0.5f); // the checked half of the texture
    page.MouseDown(1, 2, 2);
    EXPECT_FALSE(box->checked);
    EXPECT_FLOAT_EQ(box->boxQuad[0].uv.u, 0.0f);
    EXPECT_TRUE(rec.events.empty());
    screen.Shutdown();
}

TEST_F(WidgetTest, NamedTextAlignsWithinAKeptRectangle) {
    struct Case {
        int align;
        float textX;
    } cases[] = {{0, 0.0f}, {1, 100.0f - 24.0f}, {2, (100.0f - 24.0f) * 0.5f}, {7, 0.0f}};
    for (const Case& c : cases) {
        UINamedText t(c.align, "abc", style, 0, 0, 100);
        EXPECT_FLOAT_EQ(t.w, 100.0f);
        EXPECT_FLOAT_EQ(t.TextX(), c.textX) << "align " << c.align;
    }
    UINamedText centred(2, "abc", style, 0, 0, 40);
    centred.SetText("a much longer text");
    EXPECT_FLOAT_EQ(centred.w, 40.0f);
    EXPECT_LT(centred.TextX(), 0.0f);
}

TEST_F(WidgetTest, ImageInsetsItsTextureAndClicksOnlyWhenEnabled) {
    auto* img = new UIImage(FindShader("x"));
    img->w = img->h = 16;
    img->UpdateGeometry();
    img->name = "pic";
    page.AddChild(img);
    img->enabled = false;
    EXPECT_TRUE(img->OnMouseDown(1, 1, 1));
    EXPECT_TRUE(rec.events.empty());
    EXPECT_FLOAT_EQ(img->quad[0].uv.u, 0.01f);
    EXPECT_FLOAT_EQ(img->quad[2].uv.v, 0.99f);
}

// ---- Edits ----

struct CharCase {
    const char* start;
    int maxLength;
    float width;
    bool digits;
    int ch;
    bool accepted;
};

TEST_F(WidgetTest, EditAcceptsCharactersByLengthWidthAndKind) {
    const CharCase cases[] = {
        {"abc", 3, 500, false, 'd', false}, // maximum length reached
        {"abc", 0, 500, false, 'd', true},  // unlimited
        {"ab", 3, 500, false, 'c', true},
        {"abc", 0, 40, false, 'd', false}, // "abcd|" is 40 wide: must stay below the width
        {"ab", 0, 40, false, 'c', true},   // "abc|" is 32
        {"", 0, 500, false, 31, false},    // control character
        {"", 0, 500, false, 0xE4, true},   // a code page letter (byte above 127)
        {"", 0, 500, true, 'a', false},    // digit edit refuses letters
        {"", 0, 500, true, '7', true},
    };
    for (const CharCase& c : cases) {
        UIEdit* e = c.digits ? new UIDigitEdit(0, 0, c.width, style, nullptr, c.maxLength)
                             : new UIEdit(0, 0, c.width, style, nullptr, c.maxLength);
        e->SetText(c.start);
        const std::string before = e->GetText();
        EXPECT_EQ(e->OnChar(c.ch), c.accepted) << c.start << " + " << c.ch;
        EXPECT_EQ(std::string(e->GetText()).size(), before.size() + (c.accepted ? 1 : 0));
        delete e;
    }
}

TEST_F(WidgetTest, EditKeysTable) {
    struct KeyCase {
        const char* start;
        int key;
        const char* after;
        int event; // -1 none
        bool consumed;
    } cases[] = {
        {"abc", plat::VK_BACK, "ab", -1, true},
        {"abc", plat::VK_LEFT, "ab", -1, true},
        {"", plat::VK_BACK, "", -1, false},
        {"ab", plat::VK_RETURN, "ab", UI_EVENT_COMMAND, true},
        {"ab", plat::VK_ESCAPE, "ab", UI_EVENT_ESCAPE, true},
        {"ab", plat::VK_RIGHT, "ab", -1, false},
        {"ab", plat::VK_INSERT, "ab", -1, true}, // no Shift: swallowed, nothing pasted
    };
    for (const KeyCase& c : cases) {
        rec.events.clear();
        UIEdit e(0, 0, 500, style, nullptr, 0, &rec);
        e.SetText(c.start);
        EXPECT_EQ(e.OnKeyDown(c.key), c.consumed) << c.key;
        EXPECT_STREQ(e.GetText(), c.after);
        if (c.event < 0) {
            EXPECT_TRUE(rec.events.empty());
        } else {
            ASSERT_EQ(rec.events.size(), 1u);
            EXPECT_EQ(rec.events[0].first, c.event);
        }
    }
}

TEST_F(WidgetTest, EscapeInAnEditDoesNotReachThePage) {
    struct Page : UIControl {
        int keys = 0;
        bool OnKeyDown(int) override {
            ++keys;
            return true;
        }
    } p;
    auto* e = new UIEdit(0, 0, 500, style, nullptr, 0, &rec);
    p.AddChild(e);
    e->TakeFocus();
    p.KeyDown(plat::VK_ESCAPE);
    EXPECT_EQ(p.keys, 0);
    EXPECT_EQ(rec.Count(UI_EVENT_ESCAPE), 1);
    p.KeyDown(plat::VK_RIGHT); // not the edit's: bubbles up
    EXPECT_EQ(p.keys, 1);
}

TEST_F(WidgetTest, PasteGoesThroughOnCharOneByOne) {
    SetUIClipboardSource([](std::string& out) {
        out = "12a3";
        return true;
    });
    UIDigitEdit digits(0, 0, 500, style, nullptr, 0);
    keys.held.insert(plat::VK_SHIFT);
    EXPECT_TRUE(digits.OnKeyDown(plat::VK_INSERT));
    EXPECT_STREQ(digits.GetText(), "123");
    keys.held.clear();
    keys.held.insert(plat::VK_CONTROL);
    UIEdit shortEdit(0, 0, 500, style, nullptr, 2);
    EXPECT_TRUE(shortEdit.OnKeyDown('V'));
    EXPECT_STREQ(shortEdit.GetText(), "12"); // the rest does not fit the maximum length
    SetUIClipboardSource([](std::string& out) { return false; });
    EXPECT_TRUE(shortEdit.OnKeyDown('V'));
    EXPECT_STREQ(shortEdit.GetText(), "12");
    SetUIClipboardSource(nullptr);
}

TEST_F(WidgetTest, EditClickFiresOnlyWhenFocusedAndSetTextIsCutToTheMaximum) {
    auto* e = new UIEdit(0, 0, 100, style, nullptr, 4, &rec);
    page.AddChild(e);
    EXPECT_FALSE(e->OnMouseDown(1, 1, 1));
    page.MouseMove(2, 2); // hover takes focus
    ASSERT_TRUE(e->focused);
    EXPECT_FALSE(e->OnMouseDown(2, 1, 1));
    EXPECT_TRUE(e->OnMouseDown(1, 1, 1));
    EXPECT_EQ(rec.Count(UI_EVENT_COMMAND), 1);
    e->SetText("much too long");
    EXPECT_STREQ(e->GetText(), "much");
    e->UpdateGeometry(); // room for four 'W' and a caret
    EXPECT_FLOAT_EQ(e->w, 100.0f);
}

TEST_F(WidgetTest, CaretBlinksEveryFifthOfASecond) {
    UIEdit e(0, 0, 100, style, nullptr, 0);
    const bool start = e.caretVisible;
    e.Update(0.15f);
    EXPECT_EQ(e.caretVisible, start);
    e.Update(0.1f);
    EXPECT_NE(e.caretVisible, start);
}

// ---- Selector ----

TEST_F(WidgetTest, SelectorCyclesAndFiresSelectionEvents) {
    struct Case {
        int key;
        int expect[4];
    } cases[] = {{plat::VK_SPACE, {1, 2, 0, 1}}, {plat::VK_RIGHT, {1, 2, 0, 1}}, {plat::VK_LEFT, {2, 1, 0, 2}}};
    for (const Case& c : cases) {
        rec.events.clear();
        UISelect s(style, nullptr, RED, GREEN, &rec);
        for (const char* o : {"one", "two", "three"}) s.AddOption(o);
        for (int i = 0; i < 4; ++i) {
            EXPECT_TRUE(s.OnKeyDown(c.key));
            EXPECT_EQ(s.GetIndex(), c.expect[i]) << "key " << c.key << " step " << i;
        }
        EXPECT_EQ(rec.Count(UI_EVENT_SELECTION), 4);
    }
}

TEST_F(WidgetTest, SelectorValueLookupAndClamping) {
    UISelect s(style, nullptr, RED, GREEN, &rec);
    for (const char* o : {"English", "Deutsch"}) s.AddOption(o);
    s.SelectValue("DEUTSCH");
    EXPECT_EQ(s.GetIndex(), 1);
    s.SelectValue("francais");
    EXPECT_EQ(s.GetIndex(), 0);
    s.SetIndex(9);
    EXPECT_EQ(s.GetIndex(), 1);
    s.SetIndex(-4);
    EXPECT_EQ(s.GetIndex(), 0);
    EXPECT_TRUE(rec.events.empty()); // none of these fire
}

TEST_F(WidgetTest, SelectorWithoutOptionsSurvives) {
    UISelect s(style, FindShader("ui_select"), RED, GREEN, &rec);
    s.Next();
    s.Prev();
    s.OnKeyDown(plat::VK_SPACE);
    EXPECT_STREQ(s.GetText(), "");
    s.AddOption("a");
    s.ClearOptions();
    EXPECT_EQ(s.GetIndex(), 0);
    EXPECT_STREQ(s.GetText(), "");
    EXPECT_TRUE(rec.events.empty());
}

TEST_F(WidgetTest, SelectorArrowsStepByMouse) {
    UISelect* s = new UISelect(style, FindShader("ui_select"), RED, GREEN, &rec);
    for (const char* o : {"aa", "bbbb", "c"}) s->AddOption(o);
    s->UpdateGeometry();
    EXPECT_FLOAT_EQ(s->arrowWidth, 16 * 0.7f);
    EXPECT_FLOAT_EQ(s->w, 32.0f + 2 * 16 * 0.7f);
    page.AddChild(s);
    page.MouseDown(1, 2, 2); // left arrow
    EXPECT_EQ(s->GetIndex(), 2);
    page.MouseDown(1, s->w - 1, 2); // right arrow
    EXPECT_EQ(s->GetIndex(), 0);
    page.MouseDown(1, s->w * 0.5f, 2); // the text: nothing
    EXPECT_EQ(s->GetIndex(), 0);
}

// ---- Tracker ----

TEST_F(WidgetTest, TrackerStepsClampAndFireOnlyOnChange) {
    UITracker t(&rec, 0, 0, 100, 20, nullptr, nullptr, RED, GREEN, RED);
    t.SetValue(0.95f);
    rec.events.clear();
    EXPECT_TRUE(t.OnKeyDown(plat::VK_RIGHT));
    EXPECT_FLOAT_EQ(t.GetValue(), 1.0f);
    EXPECT_TRUE(t.OnKeyDown(plat::VK_EXECUTE));
    EXPECT_FLOAT_EQ(t.GetValue(), 1.0f);
    EXPECT_EQ(rec.Count(UI_EVENT_COMMAND), 1);
    t.OnKeyDown(plat::VK_LEFT);
    t.OnKeyDown(plat::VK_INSERT);
    EXPECT_NEAR(t.GetValue(), 0.8f, 1e-6f);
    t.SetValue(-3.0f);
    EXPECT_FLOAT_EQ(t.GetValue(), 0.0f);
    EXPECT_FALSE(t.OnKeyDown(plat::VK_UP));
}

TEST_F(WidgetTest, TrackerFollowsADrag) {
    auto* t = new UITracker(&rec, 100, 0, 200, 20, nullptr, nullptr, RED, GREEN, RED);
    page.AddChild(t);
    page.MouseDown(1, 150, 10);
    EXPECT_FLOAT_EQ(t->GetValue(), 0.25f);
    EXPECT_FLOAT_EQ(t->knobQuad[0].pos.x, 50.0f - 10.0f); // an h-wide knob centred on the value
    page.MouseMove(250, 10);
    EXPECT_FLOAT_EQ(t->GetValue(), 0.75f);
    page.MouseUp(1, 299, 10);
    EXPECT_FLOAT_EQ(t->GetValue(), 0.995f);
    page.MouseMove(120, 10); // released: no change
    EXPECT_FLOAT_EQ(t->GetValue(), 0.995f);
    EXPECT_EQ(rec.Count(UI_EVENT_COMMAND), 3);
}

// A listener that deletes the sender's page from inside the event, as a language change does.
TEST_F(WidgetTest, ListenerMayDeleteTheSenderDuringItsEvent) {
    struct Deleter : UIEvent {
        UIControl* page = nullptr;
        void OnEvent(int type, UIControl*) override {
            if (type == UI_EVENT_COMMAND) page->DeleteChildren();
        }
    } del;
    del.page = &page;
    auto* t = new UITracker(&del, 0, 0, 100, 20, nullptr, nullptr, RED, GREEN, RED);
    page.AddChild(t);
    page.MouseDown(1, 50, 10); // ASan: nothing may touch the tracker after it fired
    EXPECT_TRUE(page.Children().empty());
    auto* m = new UIMenuItem("x", style, style, 0, 0, &del);
    page.AddChild(m);
    m->TakeFocus();
    page.KeyDown(plat::VK_RETURN);
    EXPECT_TRUE(page.Children().empty());
}

} // namespace
