#pragma once
// Layout blocks: the flow a page's content is laid out in, apart from the control tree. Items go
// left to right on the current line until the width is used up; lines stack downward, each
// aligned left, right or centred, and every item sits on its line's bottom edge. Blocks place
// controls (they set their rectangles) and draw text runs; the controls draw themselves.
//
// Measure(minWidth, maxWidth) only ever raises the two values: the least width the block can be
// laid out in, and the width it wants without wrapping. Layout(line) adds the block to the line
// being built by the flow `line`.
#include <string>
#include <vector>

#include "shell/ui/ui_control.h"

class UIMultiBlock;

// The rectangle that what a flow shows covers: its texts and the controls it places, in the
// coordinates of the control that owns the flow. Empty until something is added.
struct UIInk {
    float x0 = 0.0f, y0 = 0.0f, x1 = 0.0f, y1 = 0.0f;
    bool empty = true;
    void Add(float ax0, float ay0, float ax1, float ay1);
};

// A piece of text placed by a flow: (x, y) is the bottom-left corner.
struct UITextRun {
    float x = 0.0f;
    float y = 0.0f;
    UITextStyle style;
    std::string text;
};

class UIBlockLayout {
public:
    virtual ~UIBlockLayout() = default;
    virtual void Layout(UIMultiBlock& line) = 0;
    virtual void Measure(float& minWidth, float& maxWidth) = 0;
    // Adds what the block shows, once placed, to `ink` (texts and visible controls).
    virtual void AddInk(UIInk& ink) const {}
};

// Greedy word wrap of a text in one style.
class UIText : public UIBlockLayout {
public:
    // Splits at tab, line feed, carriage return and space.
    UIText(const std::string& text, const UITextStyle& style_);
    void Layout(UIMultiBlock& line) override;
    void Measure(float& minW, float& maxW) override;

    std::vector<std::string> words;
    float minWidth = 0.0f;  // the widest word
    float prefWidth = 0.0f; // the whole text on one line
    UITextStyle style;
};

// An empty box.
class UISpacer : public UIBlockLayout {
public:
    UISpacer(float width_, float height_) : width(width_), height(height_) {}
    void Layout(UIMultiBlock& line) override;
    void Measure(float& minW, float& maxW) override;

    float width, height;
};

// Ends the current line (when it holds anything) and adds extra height below it.
class UIBR : public UIBlockLayout {
public:
    explicit UIBR(float extra) : extraHeight(extra) {}
    void Layout(UIMultiBlock& line) override;
    void Measure(float&, float&) override {}

    float extraHeight;
};

// A block that has a position of its own and is placed after layout.
class UIBlock : public UIBlockLayout {
public:
    virtual void Move(float dx, float dy) = 0;
    // Converts positions relative to the flow into the owning control's coordinates.
    virtual void Place(float ox, float oy) = 0;
    virtual void Draw() {}
};

// A control in the flow. width / height > 0 force the control's size.
class UIControlBlock : public UIBlock {
public:
    UIControlBlock(UIControl* control_, float width_ = 0.0f, float height_ = 0.0f)
        : width(width_), height(height_), control(control_) {}
    void Layout(UIMultiBlock& line) override;
    void Measure(float& minW, float& maxW) override;
    void Move(float dx, float dy) override;
    void Place(float ox, float oy) override;
    // The control's rectangle while it is visible.
    void AddInk(UIInk& ink) const override;

    float width, height;
    UIControl* control; // not owned
};

// A flow of blocks: lays its content out in lines for a width.
class UIMultiBlock : public UIBlock {
public:
    UIMultiBlock() = default;
    explicit UIMultiBlock(int align_) : align(align_) {}
    ~UIMultiBlock() override;
    UIMultiBlock(const UIMultiBlock&) = delete;
    UIMultiBlock& operator=(const UIMultiBlock&) = delete;

    void Layout(UIMultiBlock& line) override;
    void Measure(float& minW, float& maxW) override;
    void Move(float dx, float dy) override;
    void Place(float ox, float oy) override;
    // The placed blocks, then the text runs.
    void Draw() override;
    // The text runs (each its width by its size, above its bottom-left corner) and the placed
    // blocks.
    void AddInk(UIInk& ink) const override;
    // Lays the content out from scratch in `width`.
    virtual void LayoutContent(float width_);

    // Appends a block (taking ownership).
    void Append(UIBlockLayout* block);
    // Deletes the content and empties every list; offset and size back to 0.
    void Clear();

    // ---- Line building, used by the blocks during Layout ----
    // Raises the current line to h, moving what is on it down so it stays bottom-aligned.
    void LineHeight(float lh);
    void OffsetLine(float dx, float dy);
    // Aligns the current line, moves it below the finished lines and starts a new one.
    void NewLine();
    void AddRun(const UITextRun& run) { lineRuns.push_back(run); }
    void AddLineBlock(UIBlock* b) { lineBlocks.push_back(b); }
    void AddPlaced(UIBlock* b) { placed.push_back(b); }
    // Draws the finished runs and placed blocks (what Draw does); for owners that draw a flow
    // whose own Draw is silent.
    void DrawContent();

    int align = 0; // 0 left, 1 right, 2 centre
    float x = 0.0f, y = 0.0f;
    float width = 0.0f, height = 0.0f;
    bool standalone = false;
    std::vector<UITextRun> runs;
    std::vector<UIBlock*> placed;       // not owned
    std::vector<UIBlockLayout*> blocks; // owned
    float lineHeight = 0.0f;
    float lineX = 0.0f;
    float minWidth = 0.0f, maxWidth = 0.0f;
    std::vector<UITextRun> lineRuns;
    std::vector<UIBlock*> lineBlocks;
};

// A flow taken out of the outer flow and placed at (left, top) of the owning control.
class UIAbsBlock : public UIMultiBlock {
public:
    UIAbsBlock(float left_, float top_, float width_, int align_)
        : UIMultiBlock(align_), left(left_), top(top_), absWidth(width_) {}
    void Layout(UIMultiBlock& line) override;
    void Measure(float&, float&) override {}
    void Move(float dx, float dy) override;
    void Place(float ox, float oy) override;

    float left, top, absWidth;
};
