#include "shell/ui/ui_layout.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "core/log.h"
#include "core/md5.h"
#include "render/render.h"
#include "render/shader.h"
#include "shell/ui/ui_quad.h"
#include "shell/ui/ui_screen.h"

int ParseAlign(const std::string& value) {
    static const char* const NAMES[] = {"left", "right", "center", "top", "bottom"};
    for (int i = 0; i < 5; ++i)
        if (value == NAMES[i]) return i;
    throw UILayoutError(UILayoutFault::UnknownAlign, "Unknown align: " + value);
}

std::string NormalizeText(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    bool pendingSpace = false;
    for (char c : text) {
        if (c == 9 || c == 10 || c == 13 || c == 32) {
            pendingSpace = true;
            continue;
        }
        if (pendingSpace && !out.empty()) out += ' ';
        pendingSpace = false;
        out += c;
    }
    return out;
}

UILayout::UILayout(UIEvent* listener_) : UIControl(listener_, 0.0f, 0.0f, 0.0f, 0.0f) {
    arrowNavigation = true;
    RegisterTags();
}

UILayout::~UILayout() {
    // The widgets go first; the block tree (a member) follows when this body ends.
    DeleteChildren();
}

char UILayout::ReadChar() {
    const char c = XMLParser::ReadChar();
    if (collecting && (static_cast<signed char>(c) < 0 || c > 32)) collectedText += c;
    return c;
}

bool UILayout::OnError(const char* message) {
    const char* text = message ? message : "";
    LogPrintf(g_Log, "Layout parser error, file: %s, line %d, %s", fileName.c_str(), GetLine(), text);
    // The reader hands over only the message; a fault raised by this page keeps its kind.
    const bool ours = faultRaised && raised.message == text;
    faultRaised = false;
    if (faults.size() < UI_LAYOUT_MAX_FAULTS) {
        faults.push_back(ours ? raised : UILayoutError(UILayoutFault::Markup, text));
        faults.back().line = GetLine();
    }
    return true;
}

void UILayout::Raise(UILayoutError& fault) {
    fault.line = GetLine();
    raised = fault;
    faultRaised = true;
}

void UILayout::Report(UILayoutFault fault) {
    UILayoutError e(fault);
    Raise(e);
    OnError(e.what());
}

void UILayout::BeginLoad(const std::string& path) {
    LogPrintf(g_Log, "Parse layout %s", path.c_str());
    fileName = path;
    if (g_UIScreen) {
        screenWidth = g_UIScreen->virtualWidth;
        screenHeight = g_UIScreen->virtualHeight;
    } else {
        screenWidth = 800.0f;
        screenHeight = 600.0f;
    }
    styleStack.clear();
    blockStack.clear();
    tableStack.clear();
    parentStack.clear();
    pagesStack.clear();
    currentSelect = nullptr;
    panels.clear();
    faults.clear();
    faultRaised = false;
    refusedBlocks = 0;
    layoutOpen = false;
    parentStack.push_back(this);
    styleStack.push_back(UITextStyle::Default());
    DeleteChildren();
    rootBlock.Clear();
    collecting = false;
}

void UILayout::EndLoad(bool doLayout) {
    // A page ends with </layout>; a file that stops before it was cut short, and what it held of
    // the page is shown as far as it goes.
    if (layoutOpen) Report(UILayoutFault::EndsBeforeLayoutClose);
    layoutOpen = false;
    // What a malformed file left open points into this page's trees; nothing may reach it later.
    currentSelect = nullptr;
    pagesStack.clear();
    tableStack.clear();
    collecting = false;
    if (protectEnabled && !ChecksumMatches()) {
        Report(UILayoutFault::ProtectError);
        OnProtectFailure();
    }
    if (doLayout) Layout(screenWidth, screenHeight);
}

void UILayout::LoadLayout(const std::string& path, bool doLayout) {
    BeginLoad(path);
    XMLParser::Load(fileName.c_str());
    EndLoad(doLayout);
}

void UILayout::LoadLayoutText(const std::string& path, const std::string& markup, bool doLayout) {
    BeginLoad(path);
    XMLParser::Parse(markup);
    EndLoad(doLayout);
}

bool UILayout::ChecksumMatches() const {
    char digestText[33] = {};
    std::memcpy(digestText, protectDigest.data(), protectDigest.size() < 32 ? protectDigest.size() : 32);
    uint8_t digest[16];
    GetMD5(collectedText.data(), collectedText.size(), digest);
    for (int i = 0; i < 16; ++i) {
        const char pair[3] = {digestText[2 * i], digestText[2 * i + 1], 0};
        const unsigned long v = std::strtoul(pair, nullptr, 16);
        if (v != digest[i]) return false;
    }
    return true;
}

void UILayout::OnProtectFailure() {
    // An altered page is refused; the process ends with a failure code so that whoever started
    // it can tell.
    std::exit(EXIT_FAILURE);
}

void UILayout::Layout(float width, float height) {
    float mn = 0.0f, mx = 0.0f;
    rootBlock.Measure(mn, mx);
    rootBlock.LayoutContent(width);
    w = rootBlock.width;
    h = rootBlock.height;
    rootBlock.x = rootBlock.y = 0.0f;
    if (align == UI_ALIGN_LEFT)
        x = 0.0f;
    else if (align == UI_ALIGN_RIGHT)
        x = width - w;
    else if (align == UI_ALIGN_CENTER)
        x = (width - w) * 0.5f;
    if (valign == UI_ALIGN_CENTER)
        y = (height - h) * 0.5f;
    else if (valign == UI_ALIGN_TOP)
        y = 0.0f;
    else if (valign == UI_ALIGN_BOTTOM)
        y = height - h;
    rootBlock.Place(0.0f, 0.0f);
}

bool UILayout::PanelRect(const Panel& panel, float rect[4]) {
    UIInk ink;
    if (panel.block) panel.block->AddInk(ink);
    if (ink.empty) return false;
    rect[0] = ink.x0 - UI_PANEL_PAD_X;
    rect[1] = ink.y0 - UI_PANEL_PAD_Y;
    rect[2] = ink.x1 + UI_PANEL_PAD_X;
    rect[3] = ink.y1 + UI_PANEL_PAD_Y;
    return true;
}

// The rectangles are worked out as drawn, so controls shown, hidden or resized after the layout
// move the panel with them.
void UILayout::DrawSelf() {
    if (!g_Render) return;
    for (const Panel& p : panels) {
        float r[4];
        if (!p.shader || !PanelRect(p, r)) continue;
        YTexVertex q[4];
        SetUIQuad(q, r[0], r[1], r[2], r[3]);
        g_Render->SetShader(p.shader, true);
        g_Render->DrawTexQuad(q);
    }
}

void UILayout::DrawOverlay() { rootBlock.Draw(); }
