// The page builder: what each tag of a page layout file makes. One table below lists every tag in
// registration order (a tag's id is its position) with its attributes and their defaults and the
// two handlers the reader's callbacks dispatch to: one for the opening tag, one for the closing
// tag. Tags of one family share a handler (the flow blocks close alike, and so do the page
// stacks).
//
// "panel" on the page, a div or a block puts the dark backing panel (skin "ui_panel") behind what
// that flow shows, so its text reads over any scene.
//
// Every handler checks the stacks it uses: a malformed file (content before "layout", surplus
// closing tags) is reported as a UILayoutError and the rest of the tag is ignored.
#include <algorithm>
#include <cassert>
#include <cmath>
#include <initializer_list>
#include <iterator>

#include "core/color.h"
#include "render/font.h"
#include "render/shader.h"
#include "render/texture.h"
#include "shell/ui/ui_containers.h"
#include "shell/ui/ui_display_widgets.h"
#include "shell/ui/ui_input_widgets.h"
#include "shell/ui/ui_layout.h"
#include "shell/ui/ui_layout_error.h"
#include "shell/ui/ui_table.h"

// The tag handlers. A friend of the page, so that each handler reads and changes the page's
// stacks directly; `id` is the tag's id, through which its attribute values are read.
struct UILayoutBuilder {
    using Handler = void (*)(UILayout& page, int id);

    static void Nothing(UILayout&, int) {}
    static void Flush(UILayout& page, int) { page.FlushText(); }

    static void OpenLayout(UILayout& page, int id);
    static void CloseLayout(UILayout& page, int id);
    static void OpenDiv(UILayout& page, int id);
    static void CloseFlow(UILayout& page, int id);
    static void OpenFont(UILayout& page, int id);
    static void CloseFont(UILayout& page, int id);
    static void OpenBreak(UILayout& page, int id);
    static void OpenSpacer(UILayout& page, int id);
    static void OpenTable(UILayout& page, int id);
    static void CloseTable(UILayout& page, int id);
    static void OpenRow(UILayout& page, int id);
    static void OpenCell(UILayout& page, int id);
    static void CloseMenuItem(UILayout& page, int id);
    static void OpenImage(UILayout& page, int id);
    static void CloseLink(UILayout& page, int id);
    static void OpenSelect(UILayout& page, int id);
    static void CloseSelect(UILayout& page, int id);
    static void OpenOption(UILayout& page, int id);
    static void CloseOption(UILayout& page, int id);
    static void OpenTracker(UILayout& page, int id);
    static void OpenEdit(UILayout& page, int id);
    static void CloseText(UILayout& page, int id);
    static void OpenWindow(UILayout& page, int id);
    static void CloseWindow(UILayout& page, int id);
    static void OpenNotebook(UILayout& page, int id);
    static void OpenPages(UILayout& page, int id);
    static void ClosePages(UILayout& page, int id);
    static void OpenPage(UILayout& page, int id);
    static void ClosePage(UILayout& page, int id);
    static void OpenBlock(UILayout& page, int id);
    static void OpenCheckBox(UILayout& page, int id);

    // Shared steps.
    static void AddPages(UILayout& page, UIPages* pages, float width, float height);
    static void CloseContainer(UILayout& page, UILayoutFault fault);
};

namespace {

// Attribute positions per tag, in the order of the table.
enum { LAYOUT_ALIGN, LAYOUT_VALIGN, LAYOUT_ALIGNMENT, LAYOUT_PROTECT, LAYOUT_PANEL };
enum { DIV_ALIGN, DIV_PANEL };
enum { FONT_NAME, FONT_SIZE, FONT_COLOR };
enum { SPACER_WIDTH, SPACER_HEIGHT };
enum { TABLE_CELLSPACING, TABLE_WIDTH, TABLE_HEIGHT };
enum { TR_HEIGHT };
enum { TD_COLSPAN, TD_ROWSPAN, TD_ALIGN, TD_VALIGN, TD_WIDTH };
enum { MENUITEM_NAME, MENUITEM_VISIBLE, MENUITEM_FOCUS, MENUITEM_HOTFONT };
enum { IMG_SHADER, IMG_WIDTH, IMG_HEIGHT, IMG_NAME, IMG_HOT_SHADER, IMG_ENABLE, IMG_TEXTURE };
enum { A_NAME, A_HOTCOLOR };
enum { SELECT_NAME, SELECT_WIDTH, SELECT_FCOLOR, SELECT_HOTCOLOR, SELECT_BUTTONS, SELECT_FOCUS };
enum { TRACKER_NAME, TRACKER_WIDTH, TRACKER_HEIGHT, TRACKER_COLOR, TRACKER_FCOLOR, TRACKER_HOTCOLOR };
enum { EDIT_NAME, EDIT_WIDTH, EDIT_MAXLENGTH, EDIT_VALUE, EDIT_BG, EDIT_TYPE, EDIT_FOCUS };
enum { TEXT_NAME, TEXT_WIDTH, TEXT_ALIGN };
enum { WINDOW_NAME, WINDOW_CAPTION, WINDOW_WIDTH, WINDOW_HEIGHT, WINDOW_MARGIN };
enum { NOTEBOOK_NAME, NOTEBOOK_WIDTH, NOTEBOOK_HEIGHT, NOTEBOOK_HOTCOLOR };
enum { PAGES_NAME, PAGES_WIDTH, PAGES_HEIGHT };
enum { PAGE_NAME, PAGE_CAPTION };
enum { BLOCK_LEFT, BLOCK_TOP, BLOCK_WIDTH, BLOCK_ALIGN, BLOCK_PANEL };
enum { CHECKBOX_NAME, CHECKBOX_COLOR, CHECKBOX_HOTCOLOR, CHECKBOX_TEXT, CHECKBOX_CHECKED };

struct TagAttribute {
    const char* name;
    const char* value; // the default
};

// A block container: beyond the depth limit it is refused, with the blocks of its content.
constexpr bool CONTAINER = true;

struct TagEntry {
    UILayoutTag id;
    const char* name;
    std::initializer_list<TagAttribute> attributes;
    bool container;
    UILayoutBuilder::Handler open;
    UILayoutBuilder::Handler close;
};

using B = UILayoutBuilder;

// Every tag of a page file, in id order.
const TagEntry TAGS[] = {
    {UI_TAG_LAYOUT,
     "layout",
     {{"align", "center"}, {"valign", "top"}, {"alignment", "left"}, {"protect", ""}, {"panel", "0"}},
     false,
     B::OpenLayout,
     B::CloseLayout},
    {UI_TAG_DIV, "div", {{"align", "left"}, {"panel", "0"}}, CONTAINER, B::OpenDiv, B::CloseFlow},
    {UI_TAG_FONT, "font", {{"name", ""}, {"size", ""}, {"color", ""}}, false, B::OpenFont, B::CloseFont},
    {UI_TAG_BR, "br", {}, false, B::OpenBreak, B::Nothing},
    {UI_TAG_SPACER, "spacer", {{"width", "0"}, {"height", "0"}}, false, B::OpenSpacer, B::Nothing},
    {UI_TAG_TABLE,
     "table",
     {{"cellspacing", "0"}, {"width", "0"}, {"height", "0"}},
     false,
     B::OpenTable,
     B::CloseTable},
    {UI_TAG_TR, "tr", {{"height", "0"}}, false, B::OpenRow, B::Nothing},
    {UI_TAG_TD,
     "td",
     {{"colspan", "1"}, {"rowspan", "1"}, {"align", "left"}, {"valign", "top"}, {"width", "0"}},
     CONTAINER,
     B::OpenCell,
     B::CloseFlow},
    {UI_TAG_MENUITEM,
     "menuitem",
     {{"name", ""}, {"visible", "1"}, {"focus", "0"}, {"hotfont", ""}},
     false,
     B::Flush,
     B::CloseMenuItem},
    {UI_TAG_IMG,
     "img",
     {{"shader", ""},
      {"width", "16"},
      {"height", "16"},
      {"name", ""},
      {"hot_shader", ""},
      {"enable", "0"},
      {"texture", ""}},
     false,
     B::OpenImage,
     B::Nothing},
    {UI_TAG_A, "a", {{"name", ""}, {"hotcolor", "ff0000"}}, false, B::Flush, B::CloseLink},
    {UI_TAG_SELECT,
     "select",
     {{"name", ""}, {"width", "0"}, {"fcolor", "ffcc00"}, {"hotcolor", "ff7700"}, {"buttons", "1"}, {"focus", "0"}},
     false,
     B::OpenSelect,
     B::CloseSelect},
    {UI_TAG_OPTION, "option", {}, false, B::OpenOption, B::CloseOption},
    {UI_TAG_TRACKER,
     "tracker",
     {{"name", ""}, {"width", "50"}, {"height", ""}, {"color", ""}, {"fcolor", "ffcc00"}, {"hotcolor", "ff7700"}},
     false,
     B::OpenTracker,
     B::Nothing},
    {UI_TAG_EDIT,
     "edit",
     {{"name", ""}, {"width", "50"}, {"maxlength", "0"}, {"value", ""}, {"bg", "1"}, {"type", ""}, {"focus", "0"}},
     false,
     B::OpenEdit,
     B::Nothing},
    {UI_TAG_TEXT, "text", {{"name", ""}, {"width", ""}, {"align", "left"}}, false, B::Flush, B::CloseText},
    {UI_TAG_WINDOW,
     "window",
     {{"name", ""}, {"caption", ""}, {"width", "0"}, {"height", "0"}, {"margin", "5"}},
     CONTAINER,
     B::OpenWindow,
     B::CloseWindow},
    {UI_TAG_NOTEBOOK,
     "notebook",
     {{"name", ""}, {"width", "0"}, {"height", "0"}, {"hotcolor", "ffcc00"}},
     CONTAINER,
     B::OpenNotebook,
     B::ClosePages},
    {UI_TAG_PAGES, "pages", {{"name", ""}, {"width", "0"}, {"height", "0"}}, CONTAINER, B::OpenPages, B::ClosePages},
    {UI_TAG_PAGE, "page", {{"name", ""}, {"caption", ""}}, CONTAINER, B::OpenPage, B::ClosePage},
    {UI_TAG_BLOCK,
     "block",
     {{"left", "0"}, {"top", "0"}, {"width", "100"}, {"align", "left"}, {"panel", "0"}},
     CONTAINER,
     B::OpenBlock,
     B::CloseFlow},
    {UI_TAG_CHECKBOX,
     "checkbox",
     {{"name", ""}, {"color", ""}, {"hotcolor", "ffcc00"}, {"text", ""}, {"checked", "0"}},
     false,
     B::OpenCheckBox,
     B::Nothing},
};
static_assert(std::size(TAGS) == UI_TAG_COUNT, "one entry per tag id");

// The entry of a tag id; null for an id the table does not hold.
const TagEntry* EntryOf(int id) {
    if (id < 0 || id >= static_cast<int>(std::size(TAGS))) return nullptr;
    return &TAGS[id];
}

// Sizes in a page are virtual-screen units; anything beyond this is a broken file, and is kept
// within it so that layout arithmetic stays finite.
constexpr float MAX_UNITS = 100000.0f;
// Longest edit field, widest table span.
constexpr int MAX_EDIT_LENGTH = 1024;
constexpr int MAX_SPAN = 64;

// The shaders that give widgets their look, looked up once before any file is read.
struct Skins {
    YShader* select = FindShader("ui_select");
    YShader* tracker1 = FindShader("ui_tracker1");
    YShader* tracker2 = FindShader("ui_tracker2");
    YShader* edit = FindShader("ui_edit");
    YShader* window = FindShader("ui_window");
    YShader* checkbox = FindShader("ui_checkbox");
    YShader* panel = FindShader("ui_panel");
};
const Skins& GetSkins() {
    static const Skins skins;
    return skins;
}

void Colour(const std::string& text, float out[4]) {
    YColor c;
    try {
        c.ParseColor(text);
    } catch (const YColorFormatError& e) {
        throw UILayoutError(UILayoutFault::BadColour, e.what());
    }
    out[0] = c.r;
    out[1] = c.g;
    out[2] = c.b;
    out[3] = c.a;
}

} // namespace

void UILayout::RegisterTags() {
    for (const TagEntry& entry : TAGS) {
        XMLTag tag(entry.name);
        for (const TagAttribute& a : entry.attributes) tag.AddAttribute(a.name, a.value);
        [[maybe_unused]] const int id = AddTag(std::move(tag));
        assert(id == entry.id && "the table lists the tags in id order");
    }
    GetSkins();
}

// ---- Dispatch ----

void UILayout::OnTag(int id) {
    const TagEntry* entry = EntryOf(id);
    if (!entry) return;
    try {
        // Block containers beyond the depth limit are refused with their content's own blocks.
        if (entry->container && (blockStack.size() >= UI_LAYOUT_MAX_DEPTH || refusedBlocks > 0)) {
            ++refusedBlocks;
            throw UILayoutError(UILayoutFault::NestedTooDeeply);
        }
        entry->open(*this, id);
    } catch (UILayoutError& e) {
        Raise(e);
        throw;
    }
}

void UILayout::OnCloseTag(int id) {
    const TagEntry* entry = EntryOf(id);
    if (!entry) return;
    if (entry->container && refusedBlocks > 0) {
        --refusedBlocks;
        return;
    }
    try {
        entry->close(*this, id);
    } catch (UILayoutError& e) {
        Raise(e);
        throw;
    }
}

// ---- Attribute values ----

const std::string& UILayout::Attr(int tag, int index) const {
    return tags[static_cast<std::size_t>(tag)].attributes[static_cast<std::size_t>(index)].value;
}

float UILayout::Number(int tag, int index) const {
    const float v = tags[static_cast<std::size_t>(tag)].attributes[static_cast<std::size_t>(index)].AsFloat();
    if (!std::isfinite(v)) return 0.0f;
    return std::clamp(v, -MAX_UNITS, MAX_UNITS);
}

int UILayout::Integer(int tag, int index) const {
    return tags[static_cast<std::size_t>(tag)].attributes[static_cast<std::size_t>(index)].AsInt();
}

// Any value other than 0 is true.
bool UILayout::Flag(int tag, int index) const { return Integer(tag, index) != 0; }

// ---- Stacks ----

const UITextStyle& UILayout::CurrentStyle() const {
    if (styleStack.empty()) throw UILayoutError(UILayoutFault::NoTextStyle);
    return styleStack.back();
}

UIMultiBlock& UILayout::CurrentBlock() const {
    if (blockStack.empty()) throw UILayoutError(UILayoutFault::OutsideLayout);
    return *blockStack.back();
}

UIControl& UILayout::CurrentParent() const {
    if (parentStack.empty()) throw UILayoutError(UILayoutFault::NoParent);
    return *parentStack.back();
}

void UILayout::FlushText() {
    const std::string t = NormalizeText(text);
    if (t.empty()) return;
    UIMultiBlock& block = CurrentBlock();
    block.Append(new UIText(t, CurrentStyle()));
}

void UILayout::AppendBlock(UIBlockLayout* block) {
    if (blockStack.empty()) {
        delete block;
        throw UILayoutError(UILayoutFault::OutsideLayout);
    }
    blockStack.back()->Append(block);
}

void UILayout::AddWidget(UIControl* widget) {
    if (blockStack.empty() || parentStack.empty()) {
        delete widget;
        throw UILayoutError(UILayoutFault::OutsideLayout);
    }
    parentStack.back()->AddChild(widget);
    blockStack.back()->Append(new UIControlBlock(widget));
}

void UILayout::PushBlock(UIMultiBlock* block) { blockStack.push_back(block); }

void UILayout::AddPanel(const UIMultiBlock* block) { panels.push_back({block, GetSkins().panel}); }

void UILayout::PopBlock(UILayoutFault fault) {
    if (blockStack.empty()) throw UILayoutError(fault);
    blockStack.pop_back();
}

// ---- Page and flows ----

void UILayoutBuilder::OpenLayout(UILayout& page, int id) {
    if (!page.blockStack.empty()) throw UILayoutError(UILayoutFault::LayoutNotFirst);
    page.align = ParseAlign(page.Attr(id, LAYOUT_ALIGN));
    page.valign = ParseAlign(page.Attr(id, LAYOUT_VALIGN));
    page.rootBlock.align = ParseAlign(page.Attr(id, LAYOUT_ALIGNMENT));
    page.protectDigest = page.Attr(id, LAYOUT_PROTECT);
    page.collectedText.clear();
    page.collecting = page.protectEnabled;
    page.PushBlock(&page.rootBlock);
    if (page.Flag(id, LAYOUT_PANEL)) page.AddPanel(&page.rootBlock);
    page.layoutOpen = true;
}

void UILayoutBuilder::CloseLayout(UILayout& page, int) {
    page.layoutOpen = false;
    if (page.blockStack.size() != 1 || page.blockStack.back() != &page.rootBlock)
        throw UILayoutError(UILayoutFault::BlocksLeftOpen);
    page.blockStack.pop_back();
    page.collecting = false;
}

void UILayoutBuilder::OpenDiv(UILayout& page, int id) {
    page.FlushText();
    const int a = ParseAlign(page.Attr(id, DIV_ALIGN));
    UIMultiBlock* block = new UIMultiBlock(a);
    page.AppendBlock(block);
    page.PushBlock(block);
    if (page.Flag(id, DIV_PANEL)) page.AddPanel(block);
}

// The closing tag of a div, a cell or a block.
void UILayoutBuilder::CloseFlow(UILayout& page, int) {
    page.FlushText();
    page.PopBlock(UILayoutFault::StrayFlowClose);
}

void UILayoutBuilder::OpenBlock(UILayout& page, int id) {
    page.CurrentBlock();
    const int a = ParseAlign(page.Attr(id, BLOCK_ALIGN));
    UIAbsBlock* block =
        new UIAbsBlock(page.Number(id, BLOCK_LEFT), page.Number(id, BLOCK_TOP), page.Number(id, BLOCK_WIDTH), a);
    page.AppendBlock(block);
    page.PushBlock(block);
    if (page.Flag(id, BLOCK_PANEL)) page.AddPanel(block);
}

void UILayoutBuilder::OpenFont(UILayout& page, int id) {
    page.FlushText();
    UITextStyle s = page.CurrentStyle();
    if (!page.Attr(id, FONT_NAME).empty()) s.font = FindFont(page.Attr(id, FONT_NAME));
    if (!page.Attr(id, FONT_SIZE).empty()) s.size = page.Number(id, FONT_SIZE);
    if (!page.Attr(id, FONT_COLOR).empty()) Colour(page.Attr(id, FONT_COLOR), s.colour);
    page.styleStack.push_back(s);
}

void UILayoutBuilder::CloseFont(UILayout& page, int) {
    page.FlushText();
    if (page.styleStack.size() <= 1) throw UILayoutError(UILayoutFault::StrayFontClose);
    page.styleStack.pop_back();
}

void UILayoutBuilder::OpenBreak(UILayout& page, int) {
    page.FlushText();
    page.AppendBlock(new UIBR(page.CurrentStyle().size));
}

void UILayoutBuilder::OpenSpacer(UILayout& page, int id) {
    page.FlushText();
    page.AppendBlock(new UISpacer(page.Number(id, SPACER_WIDTH), page.Number(id, SPACER_HEIGHT)));
}

// ---- Tables ----

void UILayoutBuilder::OpenTable(UILayout& page, int id) {
    page.FlushText();
    UITable* table =
        new UITable(page.Number(id, TABLE_CELLSPACING), page.Number(id, TABLE_WIDTH), page.Number(id, TABLE_HEIGHT));
    page.AppendBlock(table);
    page.tableStack.push_back(table);
}

void UILayoutBuilder::CloseTable(UILayout& page, int) {
    if (page.tableStack.empty()) throw UILayoutError(UILayoutFault::StrayTableClose);
    page.tableStack.pop_back();
}

void UILayoutBuilder::OpenRow(UILayout& page, int id) {
    if (page.tableStack.empty()) throw UILayoutError(UILayoutFault::ExpectedTable);
    UITable& t = *page.tableStack.back();
    if (!t.EnsureGrid(t.currentRow + 2, 1)) throw UILayoutError(UILayoutFault::TableTooLarge);
    ++t.currentRow;
    t.currentColumn = -1;
    t.rows[static_cast<std::size_t>(t.currentRow)].heightAttr = page.Number(id, TR_HEIGHT);
}

void UILayoutBuilder::OpenCell(UILayout& page, int id) {
    if (page.tableStack.empty()) throw UILayoutError(UILayoutFault::ExpectedTable);
    UITable& t = *page.tableStack.back();
    UITable::Cell* cell = t.NextCell();
    if (!cell) throw UILayoutError(UILayoutFault::TableTooLarge);
    const int colspan = std::clamp(page.Integer(id, TD_COLSPAN), 1, MAX_SPAN);
    const int rowspan = std::clamp(page.Integer(id, TD_ROWSPAN), 1, MAX_SPAN);
    cell->colspan = colspan;
    cell->rowspan = rowspan;
    if (t.columns.size() < static_cast<std::size_t>(t.ColumnCount()))
        t.columns.resize(static_cast<std::size_t>(t.ColumnCount()));
    UITable::Column& col = t.columns[static_cast<std::size_t>(t.currentColumn)];
    col.fixedWidth = std::max(col.fixedWidth, page.Number(id, TD_WIDTH));
    delete cell->content;
    cell->content = new UIMultiBlock();
    UIMultiBlock* content = cell->content;
    content->align = ParseAlign(page.Attr(id, TD_ALIGN));
    page.PushBlock(content);
    // Re-found after every grid change below: growing the grid moves the cells.
    const int row = t.currentRow, column = t.currentColumn;
    const int va = ParseAlign(page.Attr(id, TD_VALIGN));
    t.CellAt(row, column)->valign = va;
    if (colspan > 1 || rowspan > 1) {
        if (!t.EnsureGrid(row + rowspan, column + colspan)) throw UILayoutError(UILayoutFault::TableTooLarge);
        for (int i = 0; i < rowspan; ++i) {
            for (int j = 0; j < colspan; ++j) {
                if (i == 0 && j == 0) continue;
                UITable::Cell* covered = t.CellAt(row + i, column + j);
                if (!covered) continue;
                covered->rowspan = -i;
                covered->colspan = -j;
            }
        }
    }
}

// ---- Widgets ----

// Captioned widgets (menu item, link, text) are made at their closing tag, from the text before
// it; their opening tag only ends the text before them.

void UILayoutBuilder::CloseMenuItem(UILayout& page, int id) {
    const UITextStyle& s = page.CurrentStyle();
    UITextStyle hot = s;
    if (!page.Attr(id, MENUITEM_HOTFONT).empty()) {
        hot.font = FindFont(page.Attr(id, MENUITEM_HOTFONT));
        if (hot.font->shader)
            std::copy(hot.font->shader->material.emissive, hot.font->shader->material.emissive + 4, hot.colour);
    }
    UIMenuItem* item = new UIMenuItem(NormalizeText(page.text), s, hot, 0.0f, 0.0f, page.listener);
    item->name = page.Attr(id, MENUITEM_NAME);
    item->visible = page.Flag(id, MENUITEM_VISIBLE);
    page.AddWidget(item);
}

void UILayoutBuilder::CloseLink(UILayout& page, int id) {
    float hot[4];
    Colour(page.Attr(id, A_HOTCOLOR), hot);
    UIHotLink* link = new UIHotLink(page.CurrentStyle(), NormalizeText(page.text), hot, 0.0f, 0.0f, page.listener);
    link->name = page.Attr(id, A_NAME);
    page.AddWidget(link);
}

void UILayoutBuilder::CloseText(UILayout& page, int id) {
    const std::string& widthText = page.Attr(id, TEXT_WIDTH);
    const float width = widthText.empty() ? 0.0f : page.Number(id, TEXT_WIDTH);
    const int a = ParseAlign(page.Attr(id, TEXT_ALIGN));
    UINamedText* t = new UINamedText(a, NormalizeText(page.text), page.CurrentStyle(), 0.0f, 0.0f, width);
    t->name = page.Attr(id, TEXT_NAME);
    page.AddWidget(t);
}

void UILayoutBuilder::OpenImage(UILayout& page, int id) {
    page.FlushText();
    page.CurrentBlock();
    UIImage* img = new UIImage(FindShader(page.Attr(id, IMG_SHADER)));
    img->w = page.Number(id, IMG_WIDTH);
    img->h = page.Number(id, IMG_HEIGHT);
    img->UpdateGeometry();
    img->name = page.Attr(id, IMG_NAME);
    img->enabled = page.Flag(id, IMG_ENABLE);
    if (!page.Attr(id, IMG_HOT_SHADER).empty()) img->hoverShader = FindShader(page.Attr(id, IMG_HOT_SHADER));
    if (!page.Attr(id, IMG_TEXTURE).empty()) img->texture = GetTexture(page.Attr(id, IMG_TEXTURE).c_str());
    page.AddWidget(img);
}

void UILayoutBuilder::OpenSelect(UILayout& page, int id) {
    page.FlushText();
    float normal[4], hot[4];
    Colour(page.Attr(id, SELECT_FCOLOR), normal);
    Colour(page.Attr(id, SELECT_HOTCOLOR), hot);
    UISelect* sel = new UISelect(page.CurrentStyle(), page.Flag(id, SELECT_BUTTONS) ? GetSkins().select : nullptr,
                                 normal, hot, page.listener);
    sel->name = page.Attr(id, SELECT_NAME);
    sel->minWidth = page.Number(id, SELECT_WIDTH);
    page.AddWidget(sel);
    page.currentSelect = sel;
}

void UILayoutBuilder::CloseSelect(UILayout& page, int) {
    if (!page.currentSelect) throw UILayoutError(UILayoutFault::ExpectedSelect);
    page.currentSelect = nullptr;
}

void UILayoutBuilder::OpenOption(UILayout& page, int) {
    if (!page.currentSelect) throw UILayoutError(UILayoutFault::ExpectedSelect);
}

void UILayoutBuilder::CloseOption(UILayout& page, int) {
    if (!page.currentSelect) throw UILayoutError(UILayoutFault::ExpectedSelect);
    const std::string caption = NormalizeText(page.text);
    page.currentSelect->AddOption(caption.c_str());
}

void UILayoutBuilder::OpenTracker(UILayout& page, int id) {
    page.FlushText();
    const UITextStyle& s = page.CurrentStyle();
    const float height = page.Attr(id, TRACKER_HEIGHT).empty() ? s.size : page.Number(id, TRACKER_HEIGHT);
    float c1[4], c2[4], c3[4];
    if (page.Attr(id, TRACKER_COLOR).empty())
        std::copy(s.colour, s.colour + 4, c1);
    else
        Colour(page.Attr(id, TRACKER_COLOR), c1);
    Colour(page.Attr(id, TRACKER_FCOLOR), c2);
    Colour(page.Attr(id, TRACKER_HOTCOLOR), c3);
    UITracker* tr = new UITracker(page.listener, 0.0f, 0.0f, page.Number(id, TRACKER_WIDTH), height,
                                  GetSkins().tracker1, GetSkins().tracker2, c1, c2, c3);
    tr->name = page.Attr(id, TRACKER_NAME);
    page.AddWidget(tr);
}

void UILayoutBuilder::OpenEdit(UILayout& page, int id) {
    page.FlushText();
    YShader* skin = page.Flag(id, EDIT_BG) ? GetSkins().edit : nullptr;
    const int maxLength = std::clamp(page.Integer(id, EDIT_MAXLENGTH), 0, MAX_EDIT_LENGTH);
    const float width = page.Number(id, EDIT_WIDTH);
    const UITextStyle& s = page.CurrentStyle();
    UIEdit* edit = page.Attr(id, EDIT_TYPE) == "number"
                       ? new UIDigitEdit(0.0f, 0.0f, width, s, skin, maxLength, page.listener)
                       : new UIEdit(0.0f, 0.0f, width, s, skin, maxLength, page.listener);
    edit->SetText(page.Attr(id, EDIT_VALUE));
    edit->name = page.Attr(id, EDIT_NAME);
    page.AddWidget(edit);
}

void UILayoutBuilder::OpenCheckBox(UILayout& page, int id) {
    page.FlushText();
    UITextStyle s = page.CurrentStyle();
    if (!page.Attr(id, CHECKBOX_COLOR).empty()) Colour(page.Attr(id, CHECKBOX_COLOR), s.colour);
    float hot[4];
    Colour(page.Attr(id, CHECKBOX_HOTCOLOR), hot);
    UICheckBox* cb = new UICheckBox(s, page.Attr(id, CHECKBOX_TEXT), hot, GetSkins().checkbox, 0.0f, 0.0f);
    cb->SetChecked(page.Flag(id, CHECKBOX_CHECKED));
    cb->name = page.Attr(id, CHECKBOX_NAME);
    page.AddWidget(cb);
}

// ---- Containers: window, page stacks and their pages ----

void UILayoutBuilder::OpenWindow(UILayout& page, int id) {
    page.FlushText();
    page.CurrentBlock();
    page.CurrentParent(); // both checked before anything is made, so a refusal leaks nothing
    UIWindow* win = new UIWindow(page.Number(id, WINDOW_MARGIN), page.Attr(id, WINDOW_CAPTION), page.CurrentStyle(),
                                 GetSkins().window);
    win->name = page.Attr(id, WINDOW_NAME);
    win->Flow()->fixedWidth = page.Number(id, WINDOW_WIDTH);
    win->Flow()->fixedHeight = page.Number(id, WINDOW_HEIGHT);
    page.CurrentParent().AddChild(win);
    page.parentStack.push_back(win);
    win->ReleaseFlow();
    page.AppendBlock(win->Flow());
    page.PushBlock(win->Flow());
}

void UILayoutBuilder::CloseWindow(UILayout& page, int) { CloseContainer(page, UILayoutFault::StrayWindowClose); }

void UILayoutBuilder::OpenNotebook(UILayout& page, int id) {
    page.FlushText();
    page.CurrentBlock();
    page.CurrentParent();
    float hot[4];
    Colour(page.Attr(id, NOTEBOOK_HOTCOLOR), hot);
    UINotebook* nb = new UINotebook(page.CurrentStyle(), hot);
    nb->name = page.Attr(id, NOTEBOOK_NAME);
    AddPages(page, nb, page.Number(id, NOTEBOOK_WIDTH), page.Number(id, NOTEBOOK_HEIGHT));
}

void UILayoutBuilder::OpenPages(UILayout& page, int id) {
    page.FlushText();
    page.CurrentBlock();
    page.CurrentParent();
    UIPages* pg = new UIPages(page.CurrentStyle());
    pg->name = page.Attr(id, PAGES_NAME);
    AddPages(page, pg, page.Number(id, PAGES_WIDTH), page.Number(id, PAGES_HEIGHT));
}

void UILayoutBuilder::AddPages(UILayout& page, UIPages* pages, float width, float height) {
    pages->Flow()->fixedWidth = width;
    pages->Flow()->fixedHeight = height;
    page.CurrentParent().AddChild(pages);
    page.pagesStack.push_back(pages);
    pages->ReleaseFlow();
    page.AppendBlock(pages->Flow());
    page.PushBlock(pages->Flow());
}

// The closing tag of a notebook or a page stack: shows its first page.
void UILayoutBuilder::ClosePages(UILayout& page, int) {
    page.FlushText();
    page.PopBlock(UILayoutFault::StrayPagesClose);
    if (page.pagesStack.empty()) throw UILayoutError(UILayoutFault::StrayPagesClose);
    UIPages* pages = page.pagesStack.back();
    page.pagesStack.pop_back();
    if (pages->PageCount() == 0) throw UILayoutError(UILayoutFault::EmptyPages);
    pages->SelectPage(0);
}

void UILayoutBuilder::OpenPage(UILayout& page, int id) {
    page.FlushText();
    if (page.pagesStack.empty()) throw UILayoutError(UILayoutFault::ExpectedNotebook);
    page.CurrentBlock();
    UIContainer* sheet = page.pagesStack.back()->AddPage(page.Attr(id, PAGE_CAPTION));
    sheet->name = page.Attr(id, PAGE_NAME);
    page.parentStack.push_back(sheet);
    sheet->ReleaseFlow();
    page.AppendBlock(sheet->Flow());
    page.PushBlock(sheet->Flow());
}

void UILayoutBuilder::ClosePage(UILayout& page, int) { CloseContainer(page, UILayoutFault::StrayPageClose); }

// A window's or a page's closing tag: its flow leaves the block stack and the container the
// parent stack.
void UILayoutBuilder::CloseContainer(UILayout& page, UILayoutFault fault) {
    page.FlushText();
    page.PopBlock(fault);
    if (page.parentStack.empty()) throw UILayoutError(fault);
    page.parentStack.pop_back();
}
