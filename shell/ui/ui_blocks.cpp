#include "shell/ui/ui_blocks.h"

#include <algorithm>

#include "render/font.h"
#include "shell/ui/ui_screen.h"

namespace {

float WordWidth(const UITextStyle& s, const std::string& word) {
    return s.font ? s.font->GetTextWidth(word.c_str()) * s.size : 0.0f;
}

float SpaceWidth(const UITextStyle& s) { return s.font ? s.font->GetCharWidth(' ') * s.size : 0.0f; }

bool IsBreak(char c) { return c == 9 || c == 10 || c == 13 || c == 32; }

} // namespace

void UIInk::Add(float ax0, float ay0, float ax1, float ay1) {
    if (empty) {
        x0 = ax0;
        y0 = ay0;
        x1 = ax1;
        y1 = ay1;
        empty = false;
        return;
    }
    x0 = std::min(x0, ax0);
    y0 = std::min(y0, ay0);
    x1 = std::max(x1, ax1);
    y1 = std::max(y1, ay1);
}

// ---- UIText ----

UIText::UIText(const std::string& text, const UITextStyle& style_) : style(style_) {
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && IsBreak(text[i])) ++i;
        std::size_t j = i;
        while (j < text.size() && !IsBreak(text[j])) ++j;
        if (j > i) words.push_back(text.substr(i, j - i));
        i = j;
    }
    for (const std::string& word : words) {
        const float ww = WordWidth(style, word);
        minWidth = std::max(minWidth, ww);
        prefWidth += ww;
    }
    if (!words.empty()) prefWidth += SpaceWidth(style) * static_cast<float>(words.size() - 1);
    prefWidth += 1.0f;
}

void UIText::Measure(float& minW, float& maxW) {
    minW = std::max(minW, minWidth);
    maxW = std::max(maxW, prefWidth);
}

void UIText::Layout(UIMultiBlock& line) {
    const float size = style.size;
    line.LineHeight(size);
    const float space = SpaceWidth(style);
    std::string run;
    float runWidth = 0.0f;
    for (const std::string& word : words) {
        float ww = WordWidth(style, word);
        if (runWidth != 0.0f || line.lineX != 0.0f) ww += space;
        if (line.lineX + runWidth + ww > line.width) {
            line.AddRun({line.lineX, line.lineHeight, style, run});
            line.lineX += runWidth;
            line.NewLine();
            line.lineHeight = size;
            run.clear();
            runWidth = 0.0f;
        }
        if (!run.empty() || line.lineX != 0.0f) run += ' ';
        run += word;
        runWidth += ww;
    }
    line.AddRun({line.lineX, line.lineHeight, style, run});
    line.lineX += runWidth;
}

// ---- UISpacer, UIBR ----

void UISpacer::Measure(float& minW, float& maxW) {
    minW = std::max(minW, width);
    maxW = std::max(maxW, width);
}

void UISpacer::Layout(UIMultiBlock& line) {
    if (line.width < line.lineX + width) line.NewLine();
    line.LineHeight(height);
    line.lineX += width;
}

void UIBR::Layout(UIMultiBlock& line) {
    if (line.lineX > 0.0f) line.NewLine();
    line.height += extraHeight;
}

// ---- UIControlBlock ----

void UIControlBlock::Measure(float& minW, float& maxW) {
    if (!control) return;
    if (width > 0.0f) control->w = width;
    if (height > 0.0f) control->h = height;
    control->UpdateGeometry();
    minW = std::max(minW, control->w);
    maxW = std::max(maxW, control->w);
}

void UIControlBlock::Layout(UIMultiBlock& line) {
    if (!control || !control->visible) return;
    if (line.width < line.lineX + control->w) line.NewLine();
    line.LineHeight(control->h);
    control->x = line.lineX;
    control->y = line.lineHeight - control->h;
    line.lineX += control->w;
    line.AddLineBlock(this);
}

void UIControlBlock::Move(float dx, float dy) {
    if (!control) return;
    control->x += dx;
    control->y += dy;
}

void UIControlBlock::Place(float ox, float oy) { Move(ox, oy); }

void UIControlBlock::AddInk(UIInk& ink) const {
    if (control && control->visible) ink.Add(control->x, control->y, control->x + control->w, control->y + control->h);
}

// ---- UIMultiBlock ----

UIMultiBlock::~UIMultiBlock() { Clear(); }

void UIMultiBlock::Append(UIBlockLayout* block) {
    if (block) blocks.push_back(block);
}

void UIMultiBlock::Clear() {
    for (UIBlockLayout* b : blocks) delete b;
    blocks.clear();
    runs.clear();
    placed.clear();
    lineRuns.clear();
    lineBlocks.clear();
    x = y = width = height = 0.0f;
    lineHeight = lineX = 0.0f;
}

void UIMultiBlock::LineHeight(float lh) {
    if (lh > lineHeight) {
        OffsetLine(0.0f, lh - lineHeight);
        lineHeight = lh;
    }
}

void UIMultiBlock::OffsetLine(float dx, float dy) {
    for (UITextRun& r : lineRuns) {
        r.x += dx;
        r.y += dy;
    }
    for (UIBlock* b : lineBlocks) b->Move(dx, dy);
}

void UIMultiBlock::NewLine() {
    float shift = 0.0f;
    if (align == 1)
        shift = width - lineX;
    else if (align == 2)
        shift = (width - lineX) * 0.5f;
    OffsetLine(shift, height);
    runs.insert(runs.end(), lineRuns.begin(), lineRuns.end());
    placed.insert(placed.end(), lineBlocks.begin(), lineBlocks.end());
    height += lineHeight;
    lineX = 0.0f;
    lineHeight = 0.0f;
    lineRuns.clear();
    lineBlocks.clear();
}

void UIMultiBlock::Measure(float& minW, float& maxW) {
    minWidth = maxWidth = width = height = 0.0f;
    for (UIBlockLayout* b : blocks) b->Measure(minWidth, maxWidth);
    minW = std::max(minW, minWidth);
    maxW = std::max(maxW, maxWidth);
}

void UIMultiBlock::LayoutContent(float width_) {
    runs.clear();
    placed.clear();
    width = width_;
    height = x = y = minWidth = maxWidth = lineHeight = lineX = 0.0f;
    lineRuns.clear();
    lineBlocks.clear();
    for (UIBlockLayout* b : blocks) b->Layout(*this);
    NewLine();
}

void UIMultiBlock::Layout(UIMultiBlock& line) {
    if (standalone) {
        LayoutContent(line.width);
        line.AddLineBlock(this);
        return;
    }
    if (line.lineX + maxWidth > line.width) line.NewLine();
    LayoutContent(line.width);
    line.LineHeight(height);
    line.lineX += width;
    line.AddLineBlock(this);
}

void UIMultiBlock::Move(float dx, float dy) {
    x += dx;
    y += dy;
}

void UIMultiBlock::Place(float ox, float oy) {
    const float px = ox + x, py = oy + y;
    for (UITextRun& r : runs) {
        r.x += px;
        r.y += py;
    }
    for (UIBlock* b : placed) b->Place(px, py);
}

void UIMultiBlock::DrawContent() {
    for (UIBlock* b : placed) b->Draw();
    for (const UITextRun& r : runs)
        if (!r.text.empty()) DrawStyledText(r.x, r.y, &r.style, r.text);
}

void UIMultiBlock::Draw() { DrawContent(); }

void UIMultiBlock::AddInk(UIInk& ink) const {
    for (const UITextRun& r : runs) {
        if (r.text.empty()) continue;
        ink.Add(r.x, r.y - r.style.size, r.x + WordWidth(r.style, r.text), r.y);
    }
    for (const UIBlock* b : placed) b->AddInk(ink);
}

// ---- UIAbsBlock ----

void UIAbsBlock::Layout(UIMultiBlock& line) {
    float mn = 0.0f, mx = 0.0f;
    UIMultiBlock::Measure(mn, mx);
    LayoutContent(std::max(mn, absWidth));
    x = left;
    y = top;
    line.AddPlaced(this);
}

void UIAbsBlock::Move(float, float) {
    x = left;
    y = top;
}

void UIAbsBlock::Place(float, float) {
    x = left;
    y = top;
    UIMultiBlock::Place(0.0f, 0.0f);
}
