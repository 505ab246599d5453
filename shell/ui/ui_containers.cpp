#include "shell/ui/ui_containers.h"

#include <algorithm>

#include "render/font.h"
#include "render/render.h"
#include "render/shader.h"
#include "shell/ui/ui_display_widgets.h"
#include "shell/ui/ui_quad.h"
#include "shell/ui/ui_screen.h"

namespace {

YShader* LineShader() {
    static YShader* s = FindShader("ui_line");
    return s;
}

void LineColour(const UITextStyle& s, float out[4]) {
    out[0] = s.colour[0];
    out[1] = s.colour[1];
    out[2] = s.colour[2];
    out[3] = s.colour[3] * 0.7f;
}

} // namespace

// ---- UIContainerMultiBlock ----

UIContainerMultiBlock::~UIContainerMultiBlock() {
    if (container) container->flow = nullptr;
}

void UIContainerMultiBlock::Measure(float& minW, float& maxW) {
    if (!container) return;
    UIContainer& c = *container;
    c.w = fixedWidth;
    c.h = fixedHeight;
    float m = 0.0f, M = 0.0f;
    UIMultiBlock::Measure(m, M);
    const float margins = c.marginLeft + c.marginRight;
    m += margins;
    M += margins;
    if (c.w != 0.0f) m = M = std::max(c.w, m);
    minWidth = m;
    maxWidth = M;
    minW = std::max(minW, m);
    maxW = std::max(maxW, M);
}

// The content is laid out inside the margins of the fixed width (or of the width offered when
// there is none), so a window keeps the width its file gives it.
void UIContainerMultiBlock::LayoutContent(float width_) {
    if (!container) {
        UIMultiBlock::LayoutContent(width_);
        return;
    }
    UIContainer& c = *container;
    const float margins = c.marginLeft + c.marginRight;
    const float outer = fixedWidth > 0.0f ? fixedWidth : width_;
    c.x = c.y = 0.0f;
    UIMultiBlock::LayoutContent(std::max(0.0f, outer - margins));
    width = std::max(c.w, margins + width);
    height = std::max(c.h, c.marginTop + c.marginBottom + height);
}

void UIContainerMultiBlock::Layout(UIMultiBlock& line) {
    if (standalone || !container) {
        UIMultiBlock::Layout(line);
        return;
    }
    if (line.lineX + maxWidth > line.width) line.NewLine();
    LayoutContent(line.width - line.lineX);
    container->x = line.lineX;
    line.LineHeight(height);
    line.lineX += width;
    line.AddLineBlock(this);
}

void UIContainerMultiBlock::Move(float dx, float dy) {
    if (container) {
        container->x += dx;
        container->y += dy;
    }
    x = y = 0.0f;
}

void UIContainerMultiBlock::Place(float ox, float oy) {
    if (!container) return;
    UIContainer& c = *container;
    x = y = 0.0f;
    UIMultiBlock::Place(c.marginLeft, c.marginTop);
    c.x += ox;
    c.y += oy;
    c.w = std::max(c.w, width);
    c.h = std::max(c.h, height);
}

void UIContainerMultiBlock::AddInk(UIInk& ink) const {
    if (container && container->visible)
        ink.Add(container->x, container->y, container->x + container->w, container->y + container->h);
}

// ---- UIContainer ----

UIContainer::UIContainer() : flow(new UIContainerMultiBlock(this)) {}

UIContainer::~UIContainer() {
    // Children first, while the flow (which only points at them) may still be read.
    DeleteChildren();
    if (flowOwned)
        delete flow;
    else if (flow)
        flow->container = nullptr;
    flow = nullptr;
}

void UIContainer::DrawSelf() {
    if (flow) flow->DrawContent();
}

// ---- UIWindow ----

UIWindow::UIWindow(float margin, const std::string& title_, const UITextStyle& style_, YShader* background_)
    : title(title_), background(background_) {
    style = style_;
    arrowNavigation = true;
    marginLeft = marginRight = marginBottom = margin;
    marginTop = margin * 0.5f + style.size;
    titleWidth = style.font ? style.font->GetTextWidth(title.c_str()) * style.size : 0.0f;
    w = titleWidth;
}

void UIWindow::RuleSegments(float seg[4]) const {
    const float tx = (w - titleWidth) * 0.5f;
    seg[0] = 4.0f;
    seg[1] = tx - 4.0f;
    seg[2] = tx + titleWidth + 4.0f;
    seg[3] = w - 4.0f;
}

void UIWindow::DrawSelf() {
    if (g_Render && background) {
        YTexVertex q[4];
        SetUIQuad(q, 0.0f, 0.0f, w, h);
        g_Render->SetShader(background, true);
        g_Render->DrawTexQuad(q);
    }
    DrawStyledText((w - titleWidth) * 0.5f, style.size, &style, title);
    if (g_Render) {
        float colour[4];
        LineColour(style, colour);
        g_Render->SetShaderColor(LineShader(), colour);
        float seg[4];
        RuleSegments(seg);
        const float ly = style.size * 0.5f;
        const YVector left[2] = {YVector(seg[0], ly, 0.0f), YVector(seg[1], ly, 0.0f)};
        const YVector right[2] = {YVector(seg[2], ly, 0.0f), YVector(seg[3], ly, 0.0f)};
        g_Render->DrawLineStrip(left, 1);
        g_Render->DrawLineStrip(right, 1);
    }
    UIContainer::DrawSelf();
}

// ---- UIPages ----

UIPages::UIPages(const UITextStyle& style_) {
    style = style_;
    tabStop = true;
}

UIContainer* UIPages::AddPage() {
    UIContainer* page = new UIContainer();
    page->tabStop = true;
    page->style = style;
    UIContainerMultiBlock* pf = page->Flow();
    pf->standalone = true;
    if (flow) {
        pf->fixedWidth = std::max(0.0f, flow->fixedWidth - marginLeft - marginRight);
        pf->fixedHeight = std::max(0.0f, flow->fixedHeight - marginTop - marginBottom);
    }
    page->SetPosition(0.0f, 0.0f);
    AddChild(page);
    pages.push_back(page);
    if (pages.size() > 1) page->Hide();
    return page;
}

void UIPages::SelectPage(int i) {
    if (pages.empty()) return;
    UIContainer* old = pages[static_cast<std::size_t>(std::clamp(current, 0, PageCount() - 1))];
    if (old->visible) old->Hide();
    current = std::clamp(i, 0, PageCount() - 1);
    UIContainer* page = pages[static_cast<std::size_t>(current)];
    page->Show();
    page->TakeFocus();
}

// ---- UINotebook ----

UINotebook::UINotebook(const UITextStyle& style_, const float hoverColour_[4]) : UIPages(style_) {
    marginLeft = marginRight = marginBottom = 5.0f;
    marginTop = style.size + 9.0f;
    std::copy(hoverColour_, hoverColour_ + 4, tabHoverColour);
}

UIContainer* UINotebook::AddPage(const std::string& caption) {
    const float tx = tabs.empty() ? 10.0f : tabs.back()->x + tabs.back()->w + 12.0f;
    UIHotLink* tab = new UIHotLink(style, caption, tabHoverColour, tx, 3.0f, this);
    AddChild(tab);
    tabs.push_back(tab);
    return UIPages::AddPage();
}

void UINotebook::OnEvent(int, UIControl* sender) {
    for (std::size_t i = 0; i < tabs.size(); ++i) {
        if (tabs[i] == sender) {
            SelectPage(static_cast<int>(i));
            return;
        }
    }
}

void UINotebook::DrawSelf() {
    if (g_Render && !tabs.empty()) {
        const UIHotLink* t = tabs[static_cast<std::size_t>(std::clamp(current, 0, static_cast<int>(tabs.size()) - 1))];
        float colour[4];
        LineColour(style, colour);
        g_Render->SetShaderColor(LineShader(), colour);
        const YVector pts[9] = {
            YVector(1.0f, t->h + 5.0f, 0.0f),
            YVector(t->x - 3.0f, t->h + 5.0f, 0.0f),
            YVector(t->x - 3.0f, 1.0f, 0.0f),
            YVector(t->x + t->w + 2.0f, 1.0f, 0.0f),
            YVector(t->x + t->w + 10.0f, t->h + 5.0f, 0.0f),
            YVector(w - 1.0f, t->h + 5.0f, 0.0f),
            YVector(w - 1.0f, h - 1.0f, 0.0f),
            YVector(1.0f, h - 1.0f, 0.0f),
            YVector(1.0f, t->h + 5.0f, 0.0f),
        };
        g_Render->DrawLineStrip(pts, 8);
    }
    UIContainer::DrawSelf();
}
