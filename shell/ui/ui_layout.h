#pragma once
// A menu page: a control built from a page layout file (a small HTML-like ".yml" markup; the tags
// are listed in ui_layout_builder.cpp). While the file is read the page builds two trees at once:
// the block tree under rootBlock (texts, breaks, spacers, blocks, tables), which lays the page
// out, and the control tree under the page itself (the widgets), which takes input and draws.
// Every widget is a child of the current parent control and is referred to by a UIControlBlock in
// the current block, so the layout decides where it goes.
//
// Errors in a file are logged ("Layout parser error, file: %s, line %d, %s") and reading goes on;
// the page keeps them as values too (Faults). A missing file leaves an empty page. A page may be
// loaded any number of times; each load starts from an empty page, so pointers to the page stay
// valid and pointers to its widgets do not.
//
// The "protect" attribute of "layout" may hold the MD5 digest of the page's text (what the reader
// reads after the opening "layout" tag up to the end of the name of "</layout>", bytes 0..32
// left out). When the owner enables the test, a page whose digest does not match ends the
// program.
#include <string>
#include <vector>

#include "core/xml_parser.h"
#include "shell/ui/ui_blocks.h"
#include "shell/ui/ui_control.h"
#include "shell/ui/ui_layout_error.h"

class UIPages;
class UISelect;
class UITable;
class YShader;

// Alignment codes of the page files.
enum UIAlign : int {
    UI_ALIGN_LEFT = 0,
    UI_ALIGN_RIGHT = 1,
    UI_ALIGN_CENTER = 2,
    UI_ALIGN_TOP = 3,
    UI_ALIGN_BOTTOM = 4
};

// Tag ids, in registration order (the order of the builder's tag table).
enum UILayoutTag : int {
    UI_TAG_LAYOUT,
    UI_TAG_DIV,
    UI_TAG_FONT,
    UI_TAG_BR,
    UI_TAG_SPACER,
    UI_TAG_TABLE,
    UI_TAG_TR,
    UI_TAG_TD,
    UI_TAG_MENUITEM,
    UI_TAG_IMG,
    UI_TAG_A,
    UI_TAG_SELECT,
    UI_TAG_OPTION,
    UI_TAG_TRACKER,
    UI_TAG_EDIT,
    UI_TAG_TEXT,
    UI_TAG_WINDOW,
    UI_TAG_NOTEBOOK,
    UI_TAG_PAGES,
    UI_TAG_PAGE,
    UI_TAG_BLOCK,
    UI_TAG_CHECKBOX,
    UI_TAG_COUNT
};

// How far a backing panel reaches beyond what its flow shows, across and down.
constexpr float UI_PANEL_PAD_X = 18.0f;
constexpr float UI_PANEL_PAD_Y = 12.0f;

// Deepest nesting of blocks a page may have; deeper blocks are refused (and logged), so that
// layout, drawing and destruction never recurse without bound.
constexpr std::size_t UI_LAYOUT_MAX_DEPTH = 48;

// Most faults a page keeps from one load; any more are only logged.
constexpr std::size_t UI_LAYOUT_MAX_FAULTS = 32;

// "left" 0, "right" 1, "center" 2, "top" 3, "bottom" 4; anything else throws a UILayoutError
// (UnknownAlign) with the message "Unknown align: " + value.
int ParseAlign(const std::string& value);
// Tab, line feed and carriage return become spaces, runs of spaces one space, and spaces at both
// ends go.
std::string NormalizeText(const std::string& text);

class UILayout : public UIControl, public XMLParser {
public:
    explicit UILayout(UIEvent* listener_ = nullptr);
    ~UILayout() override;

    // Reads the page from a file (path with '\' as the data writes it); with doLayout also places
    // it. Runs the checksum test afterwards when it is enabled.
    void LoadLayout(const std::string& path, bool doLayout);
    // The same from markup in memory, named `path` in the log (tests and tools).
    void LoadLayoutText(const std::string& path, const std::string& markup, bool doLayout);
    // Lays the block tree out for the width and places the page on a screen of that size.
    void Layout(float width, float height);
    void Relayout() { Layout(screenWidth, screenHeight); }

    // Draws the backing panels, under the widgets and texts.
    void DrawSelf() override;
    // Draws the page's texts (the widgets draw themselves as its children).
    void DrawOverlay() override;

    // A dark panel behind what one flow of the page shows ("panel" on the page, a div or a
    // block); its rectangle follows the flow's texts and visible controls.
    struct Panel {
        const UIMultiBlock* block;
        YShader* shader;
    };
    const std::vector<Panel>& Panels() const { return panels; }
    // The panel's rectangle in page coordinates (padding included); false when its flow shows
    // nothing.
    static bool PanelRect(const Panel& panel, float rect[4]);

    void EnableProtect(bool on) { protectEnabled = on; }
    // The checksum text of the last load, and whether its digest matches "protect".
    const std::string& CollectedText() const { return collectedText; }
    const std::string& ProtectDigest() const { return protectDigest; }
    bool ChecksumMatches() const;
    // The faults of the last load in the order they were logged, each with the line the log
    // names (at most UI_LAYOUT_MAX_FAULTS).
    const std::vector<UILayoutError>& Faults() const { return faults; }
    const std::string& FileName() const { return fileName; }
    UIMultiBlock& RootBlock() { return rootBlock; }
    int Align() const { return align; }
    int VAlign() const { return valign; }

    float screenWidth = 0.0f, screenHeight = 0.0f;

protected:
    char ReadChar() override;
    void OnTag(int id) override;
    void OnCloseTag(int id) override;
    bool OnError(const char* message) override;
    // A failed checksum test: ends the process with a failure code. Tools override it.
    virtual void OnProtectFailure();

private:
    friend struct UILayoutBuilder; // the tag handlers (ui_layout_builder.cpp)

    void BeginLoad(const std::string& path);
    void EndLoad(bool doLayout);
    void RegisterTags();
    // Stamps a fault a handler raised with the current line and keeps it for OnError, which the
    // reader calls with its message.
    void Raise(UILayoutError& fault);
    // A fault of the page found outside any tag handler: raised and reported at once.
    void Report(UILayoutFault fault);

    // ---- Builder (ui_layout_builder.cpp) ----
    const std::string& Attr(int tag, int index) const;
    float Number(int tag, int index) const;
    int Integer(int tag, int index) const;
    bool Flag(int tag, int index) const;
    const UITextStyle& CurrentStyle() const;
    UIMultiBlock& CurrentBlock() const;
    UIControl& CurrentParent() const;
    void FlushText();
    void AppendBlock(UIBlockLayout* block);
    void AddWidget(UIControl* widget);
    void PushBlock(UIMultiBlock* block);
    // Pops the current block; with none, throws `fault`.
    void PopBlock(UILayoutFault fault);
    void AddPanel(const UIMultiBlock* block);

    int align = UI_ALIGN_CENTER;
    int valign = UI_ALIGN_TOP;
    UIMultiBlock rootBlock;
    std::vector<UITextStyle> styleStack;
    std::vector<UIMultiBlock*> blockStack;
    std::vector<UITable*> tableStack;
    std::vector<UIControl*> parentStack;
    std::vector<UIPages*> pagesStack;
    UISelect* currentSelect = nullptr;
    std::vector<Panel> panels;
    int refusedBlocks = 0;   // block containers refused for depth whose closing tags are still due
    bool layoutOpen = false; // <layout> was read and its </layout> not yet
    std::vector<UILayoutError> faults;
    UILayoutError raised{UILayoutFault::Markup}; // the last fault a handler raised, until reported
    bool faultRaised = false;

    bool collecting = false;
    std::string fileName;
    std::string protectDigest;
    std::string collectedText;
    bool protectEnabled = false;
};
