#pragma once
// Containers: controls that own a flow of layout blocks and lay their child controls and texts
// out inside a rectangle with margins. UIContainer is the plain panel; UIWindow adds a background,
// a centred title and a rule beside it; UIPages is a stack of panels of which one shows;
// UINotebook adds a row of tab links above the pages and a frame.
//
// A container's flow is inserted into the enclosing flow like any block and is owned by that
// flow, not by the container; it measures and places the container control.
#include <string>
#include <vector>

#include "render/render_values.h"
#include "shell/ui/ui_blocks.h"
#include "shell/ui/ui_control.h"

class UIHotLink;
class YShader;

class UIContainer;

class UIContainerMultiBlock : public UIMultiBlock {
public:
    explicit UIContainerMultiBlock(UIContainer* container_) : container(container_) {}
    ~UIContainerMultiBlock() override;

    void Measure(float& minW, float& maxW) override;
    void LayoutContent(float width_) override;
    // Joins the line like a control: the container goes where the line has got to.
    void Layout(UIMultiBlock& line) override;
    void Move(float dx, float dy) override;
    void Place(float ox, float oy) override;
    // Nothing: the container control draws its own texts.
    void Draw() override {}
    // The container's rectangle while it is visible: it draws everything inside it.
    void AddInk(UIInk& ink) const override;

    UIContainer* container; // null once the container is gone
    float fixedWidth = 0.0f, fixedHeight = 0.0f;
};

class UIContainer : public UIControl {
public:
    UIContainer();
    // The flow (when the container made it and nothing else took it) goes with the container.
    ~UIContainer() override;

    // The flow's placed blocks and text runs.
    void DrawSelf() override;
    // The flow; the builder appends it to the enclosing flow, which then owns it.
    UIContainerMultiBlock* Flow() const { return flow; }
    // Called when the enclosing flow takes ownership of the flow.
    void ReleaseFlow() { flowOwned = false; }

    float marginLeft = 0.0f, marginRight = 0.0f, marginTop = 0.0f, marginBottom = 0.0f;

protected:
    friend class UIContainerMultiBlock;
    UIContainerMultiBlock* flow;
    bool flowOwned = true;
};

class UIWindow : public UIContainer {
public:
    UIWindow(float margin, const std::string& title_, const UITextStyle& style_, YShader* background_);

    void DrawSelf() override;
    // The two segments of the rule beside the title: x from, x to, each.
    void RuleSegments(float seg[4]) const;

    float titleWidth = 0.0f;
    std::string title;
    YShader* background = nullptr;
};

class UIPages : public UIContainer {
public:
    explicit UIPages(const UITextStyle& style_);

    // Hides the current page, shows page i (clamped) and gives it focus; nothing without pages.
    virtual void SelectPage(int i);
    // A new panel in the stack (hidden unless it is the first); the caller fills it.
    virtual UIContainer* AddPage();
    // Named as the builder calls it: the caption is used by notebooks only.
    virtual UIContainer* AddPage(const std::string& caption) { return AddPage(); }

    int PageCount() const { return static_cast<int>(pages.size()); }
    int CurrentPage() const { return current; }
    UIContainer* Page(int i) const { return pages[static_cast<std::size_t>(i)]; }

    std::vector<UIContainer*> pages; // children of this control
    int current = 0;
};

class UINotebook : public UIPages, public UIEvent {
public:
    UINotebook(const UITextStyle& style_, const float hoverColour_[4]);

    using UIPages::AddPage;
    // A tab link with the caption, then the page.
    UIContainer* AddPage(const std::string& caption) override;
    // A tab was clicked: its page.
    void OnEvent(int type, UIControl* sender) override;
    void DrawSelf() override;

    std::vector<UIHotLink*> tabs; // children of this control
    float tabHoverColour[4];
};
