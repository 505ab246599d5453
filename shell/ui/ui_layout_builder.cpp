// The page builder: what each tag of a page layout file makes. The tags, with their attributes and
// defaults in registration order (a tag's id is its position):
//
//   layout   align "center", valign "top", alignment "left", protect "", panel "0"
//   div      align "left", panel "0"              a flow block
//   font     name "", size "", color ""            a text style for its content
//   br                                             a line break of the current text size
//   spacer   width "0", height "0"
//   table    cellspacing "0", width "0", height "0"
//   tr       height "0"
//   td       colspan "1", rowspan "1", align "left", valign "top", width "0"
//   menuitem name "", visible "1", focus "0", hotfont ""        caption: its text
//   img      shader "", width "16", height "16", name "", hot_shader "", enable "0", texture ""
//   a        name "", hotcolor "ff0000"                          caption: its text
//   select   name "", width "0", fcolor "ffcc00", hotcolor "ff7700", buttons "1", focus "0"
//   option                                                       caption: its text
//   tracker  name "", width "50", height "", color "", fcolor "ffcc00", hotcolor "ff7700"
//   edit     name "", width "50", maxlength "0", value "", bg "1", type "", focus "0"
//   text     name "", width "", align "left"                     caption: its text
//   window   name "", caption "", width "0", height "0", margin "5"
//   notebook name "", width "0", height "0", hotcolor "ffcc00"
//   pages    name "", width "0", height "0"
//   page     name "", caption ""
//   block    left "0", top "0", width "100", align "left", panel "0"
//   checkbox name "", color "", hotcolor "ffcc00", text "", checked "0"
//
// "panel" on the page, a div or a block puts the dark backing panel (skin "ui_panel") behind what
// that flow shows, so its text reads over any scene.
//
// Every handler checks the stacks it uses: a malformed file (content before "layout", surplus
// closing tags) is reported through OnError and the tag is ignored.
#include <algorithm>
#include <cmath>

#include "core/color.h"
#include "render/font.h"
#include "render/shader.h"
#include "render/texture.h"
#include "shell/ui/ui_containers.h"
#include "shell/ui/ui_display_widgets.h"
#include "shell/ui/ui_input_widgets.h"
#include "shell/ui/ui_layout.h"
#include "shell/ui/ui_table.h"

namespace {

// Attribute positions per tag.
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
    c.ParseColor(text); // throws "Error color format."
    out[0] = c.r;
    out[1] = c.g;
    out[2] = c.b;
    out[3] = c.a;
}

} // namespace

void UILayout::RegisterTags() {
    XMLTag t;
    AddTag(MakeTag(t, "layout", "align", "center", "valign", "top", "alignment", "left", "protect", "", "panel", "0",
                   nullptr));
    AddTag(MakeTag(t, "div", "align", "left", "panel", "0", nullptr));
    AddTag(MakeTag(t, "font", "name", "", "size", "", "color", "", nullptr));
    AddTag(XMLTag("br"));
    AddTag(MakeTag(t, "spacer", "width", "0", "height", "0", nullptr));
    AddTag(MakeTag(t, "table", "cellspacing", "0", "width", "0", "height", "0", nullptr));
    AddTag(MakeTag(t, "tr", "height", "0", nullptr));
    AddTag(MakeTag(t, "td", "colspan", "1", "rowspan", "1", "align", "left", "valign", "top", "width", "0", nullptr));
    AddTag(MakeTag(t, "menuitem", "name", "", "visible", "1", "focus", "0", "hotfont", "", nullptr));
    AddTag(MakeTag(t, "img", "shader", "", "width", "16", "height", "16", "name", "", "hot_shader", "", "enable", "0",
                   "texture", "", nullptr));
    AddTag(MakeTag(t, "a", "name", "", "hotcolor", "ff0000", nullptr));
    AddTag(MakeTag(t, "select", "name", "", "width", "0", "fcolor", "ffcc00", "hotcolor", "ff7700", "buttons", "1",
                   "focus", "0", nullptr));
    AddTag(XMLTag("option"));
    AddTag(MakeTag(t, "tracker", "name", "", "width", "50", "height", "", "color", "", "fcolor", "ffcc00", "hotcolor",
                   "ff7700", nullptr));
    AddTag(MakeTag(t, "edit", "name", "", "width", "50", "maxlength", "0", "value", "", "bg", "1", "type", "", "focus",
                   "0", nullptr));
    AddTag(MakeTag(t, "text", "name", "", "width", "", "align", "left", nullptr));
    AddTag(MakeTag(t, "window", "name", "", "caption", "", "width", "0", "height", "0", "margin", "5", nullptr));
    AddTag(MakeTag(t, "notebook", "name", "", "width", "0", "height", "0", "hotcolor", "ffcc00", nullptr));
    AddTag(MakeTag(t, "pages", "name", "", "width", "0", "height", "0", nullptr));
    AddTag(MakeTag(t, "page", "name", "", "caption", "", nullptr));
    AddTag(MakeTag(t, "block", "left", "0", "top", "0", "width", "100", "align", "left", "panel", "0", nullptr));
    AddTag(MakeTag(t, "checkbox", "name", "", "color", "", "hotcolor", "ffcc00", "text", "", "checked", "0", nullptr));
    GetSkins();
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
    if (styleStack.empty()) throw std::string("No text style.");
    return styleStack.back();
}

UIMultiBlock& UILayout::CurrentBlock() const {
    if (blockStack.empty()) throw std::string("Tag outside <layout>.");
    return *blockStack.back();
}

UIControl& UILayout::CurrentParent() const {
    if (parentStack.empty()) throw std::string("No parent control.");
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
        throw std::string("Tag outside <layout>.");
    }
    blockStack.back()->Append(block);
}

void UILayout::AddWidget(UIControl* widget) {
    if (blockStack.empty() || parentStack.empty()) {
        delete widget;
        throw std::string("Tag outside <layout>.");
    }
    parentStack.back()->AddChild(widget);
    blockStack.back()->Append(new UIControlBlock(widget));
}

void UILayout::PushBlock(UIMultiBlock* block) { blockStack.push_back(block); }

void UILayout::AddPanel(const UIMultiBlock* block) { panels.push_back({block, GetSkins().panel}); }

void UILayout::PopBlock(const char* error) {
    if (blockStack.empty()) throw std::string(error);
    blockStack.pop_back();
}

// ---- Tags ----

void UILayout::OnTag(int id) { OpenTag(id); }

void UILayout::OnCloseTag(int id) { CloseTag(id); }

void UILayout::OpenTag(int id) {
    // Block containers beyond the depth limit are refused with their content's own blocks.
    switch (id) {
        case UI_TAG_DIV:
        case UI_TAG_TD:
        case UI_TAG_BLOCK:
        case UI_TAG_WINDOW:
        case UI_TAG_NOTEBOOK:
        case UI_TAG_PAGES:
        case UI_TAG_PAGE:
            if (blockStack.size() >= UI_LAYOUT_MAX_DEPTH || refusedBlocks > 0) {
                ++refusedBlocks;
                throw std::string("Blocks nested too deeply.");
            }
            break;
        default: break;
    }

    switch (id) {
        case UI_TAG_LAYOUT: {
            if (!blockStack.empty()) throw std::string("Tag <layout> must be first in YML.");
            align = ParseAlign(Attr(id, LAYOUT_ALIGN));
            valign = ParseAlign(Attr(id, LAYOUT_VALIGN));
            rootBlock.align = ParseAlign(Attr(id, LAYOUT_ALIGNMENT));
            protectDigest = Attr(id, LAYOUT_PROTECT);
            collectedText.clear();
            collecting = protectEnabled;
            PushBlock(&rootBlock);
            if (Flag(id, LAYOUT_PANEL)) AddPanel(&rootBlock);
            layoutOpen = true;
            break;
        }
        case UI_TAG_DIV: {
            FlushText();
            const int a = ParseAlign(Attr(id, DIV_ALIGN));
            UIMultiBlock* block = new UIMultiBlock(a);
            AppendBlock(block);
            PushBlock(block);
            if (Flag(id, DIV_PANEL)) AddPanel(block);
            break;
        }
        case UI_TAG_FONT: {
            FlushText();
            UITextStyle s = CurrentStyle();
            if (!Attr(id, FONT_NAME).empty()) s.font = FindFont(Attr(id, FONT_NAME));
            if (!Attr(id, FONT_SIZE).empty()) s.size = Number(id, FONT_SIZE);
            if (!Attr(id, FONT_COLOR).empty()) Colour(Attr(id, FONT_COLOR), s.colour);
            styleStack.push_back(s);
            break;
        }
        case UI_TAG_BR:
            FlushText();
            AppendBlock(new UIBR(CurrentStyle().size));
            break;
        case UI_TAG_SPACER:
            FlushText();
            AppendBlock(new UISpacer(Number(id, SPACER_WIDTH), Number(id, SPACER_HEIGHT)));
            break;
        case UI_TAG_TABLE: {
            FlushText();
            UITable* table =
                new UITable(Number(id, TABLE_CELLSPACING), Number(id, TABLE_WIDTH), Number(id, TABLE_HEIGHT));
            AppendBlock(table);
            tableStack.push_back(table);
            break;
        }
        case UI_TAG_TR: {
            if (tableStack.empty()) throw std::string("Expected <table>.");
            UITable& t = *tableStack.back();
            if (!t.EnsureGrid(t.currentRow + 2, 1)) throw std::string("Table too large.");
            ++t.currentRow;
            t.currentColumn = -1;
            t.rows[static_cast<std::size_t>(t.currentRow)].heightAttr = Number(id, TR_HEIGHT);
            break;
        }
        case UI_TAG_TD: {
            if (tableStack.empty()) throw std::string("Expected <table>.");
            UITable& t = *tableStack.back();
            UITable::Cell* cell = t.NextCell();
            if (!cell) throw std::string("Table too large.");
            const int colspan = std::clamp(Integer(id, TD_COLSPAN), 1, MAX_SPAN);
            const int rowspan = std::clamp(Integer(id, TD_ROWSPAN), 1, MAX_SPAN);
            cell->colspan = colspan;
            cell->rowspan = rowspan;
            if (t.columns.size() < static_cast<std::size_t>(t.ColumnCount()))
                t.columns.resize(static_cast<std::size_t>(t.ColumnCount()));
            UITable::Column& col = t.columns[static_cast<std::size_t>(t.currentColumn)];
            col.fixedWidth = std::max(col.fixedWidth, Number(id, TD_WIDTH));
            delete cell->content;
            cell->content = new UIMultiBlock();
            UIMultiBlock* content = cell->content;
            content->align = ParseAlign(Attr(id, TD_ALIGN));
            PushBlock(content);
            // Re-found after every grid change below: growing the grid moves the cells.
            const int row = t.currentRow, column = t.currentColumn;
            const int va = ParseAlign(Attr(id, TD_VALIGN));
            t.CellAt(row, column)->valign = va;
            if (colspan > 1 || rowspan > 1) {
                if (!t.EnsureGrid(row + rowspan, column + colspan)) throw std::string("Table too large.");
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
            break;
        }
        case UI_TAG_MENUITEM:
        case UI_TAG_A:
        case UI_TAG_TEXT: FlushText(); break;
        case UI_TAG_IMG: {
            FlushText();
            CurrentBlock();
            UIImage* img = new UIImage(FindShader(Attr(id, IMG_SHADER)));
            img->w = Number(id, IMG_WIDTH);
            img->h = Number(id, IMG_HEIGHT);
            img->UpdateGeometry();
            img->name = Attr(id, IMG_NAME);
            img->enabled = Flag(id, IMG_ENABLE);
            if (!Attr(id, IMG_HOT_SHADER).empty()) img->hoverShader = FindShader(Attr(id, IMG_HOT_SHADER));
            if (!Attr(id, IMG_TEXTURE).empty()) img->texture = GetTexture(Attr(id, IMG_TEXTURE).c_str());
            AddWidget(img);
            break;
        }
        case UI_TAG_SELECT: {
            FlushText();
            float normal[4], hot[4];
            Colour(Attr(id, SELECT_FCOLOR), normal);
            Colour(Attr(id, SELECT_HOTCOLOR), hot);
            UISelect* sel = new UISelect(CurrentStyle(), Flag(id, SELECT_BUTTONS) ? GetSkins().select : nullptr, normal,
                                         hot, listener);
            sel->name = Attr(id, SELECT_NAME);
            sel->minWidth = Number(id, SELECT_WIDTH);
            AddWidget(sel);
            currentSelect = sel;
            break;
        }
        case UI_TAG_OPTION:
            if (!currentSelect) throw std::string("Expected <select>.");
            break;
        case UI_TAG_TRACKER: {
            FlushText();
            const UITextStyle& s = CurrentStyle();
            const float height = Attr(id, TRACKER_HEIGHT).empty() ? s.size : Number(id, TRACKER_HEIGHT);
            float c1[4], c2[4], c3[4];
            if (Attr(id, TRACKER_COLOR).empty())
                std::copy(s.colour, s.colour + 4, c1);
            else
                Colour(Attr(id, TRACKER_COLOR), c1);
            Colour(Attr(id, TRACKER_FCOLOR), c2);
            Colour(Attr(id, TRACKER_HOTCOLOR), c3);
            UITracker* tr = new UITracker(listener, 0.0f, 0.0f, Number(id, TRACKER_WIDTH), height, GetSkins().tracker1,
                                          GetSkins().tracker2, c1, c2, c3);
            tr->name = Attr(id, TRACKER_NAME);
            AddWidget(tr);
            break;
        }
        case UI_TAG_EDIT: {
            FlushText();
            YShader* skin = Flag(id, EDIT_BG) ? GetSkins().edit : nullptr;
            const int maxLength = std::clamp(Integer(id, EDIT_MAXLENGTH), 0, MAX_EDIT_LENGTH);
            const float width = Number(id, EDIT_WIDTH);
            UIEdit* edit = Attr(id, EDIT_TYPE) == "number"
                               ? new UIDigitEdit(0.0f, 0.0f, width, CurrentStyle(), skin, maxLength, listener)
                               : new UIEdit(0.0f, 0.0f, width, CurrentStyle(), skin, maxLength, listener);
            edit->SetText(Attr(id, EDIT_VALUE));
            edit->name = Attr(id, EDIT_NAME);
            AddWidget(edit);
            break;
        }
        case UI_TAG_WINDOW: {
            FlushText();
            CurrentBlock();
            CurrentParent(); // both checked before anything is made, so a refusal leaks nothing
            UIWindow* win =
                new UIWindow(Number(id, WINDOW_MARGIN), Attr(id, WINDOW_CAPTION), CurrentStyle(), GetSkins().window);
            win->name = Attr(id, WINDOW_NAME);
            win->Flow()->fixedWidth = Number(id, WINDOW_WIDTH);
            win->Flow()->fixedHeight = Number(id, WINDOW_HEIGHT);
            CurrentParent().AddChild(win);
            parentStack.push_back(win);
            win->ReleaseFlow();
            AppendBlock(win->Flow());
            PushBlock(win->Flow());
            break;
        }
        case UI_TAG_NOTEBOOK: {
            FlushText();
            CurrentBlock();
            CurrentParent();
            float hot[4];
            Colour(Attr(id, NOTEBOOK_HOTCOLOR), hot);
            UINotebook* nb = new UINotebook(CurrentStyle(), hot);
            nb->name = Attr(id, NOTEBOOK_NAME);
            OpenPages(nb, Number(id, NOTEBOOK_WIDTH), Number(id, NOTEBOOK_HEIGHT));
            break;
        }
        case UI_TAG_PAGES: {
            FlushText();
            CurrentBlock();
            CurrentParent();
            UIPages* pg = new UIPages(CurrentStyle());
            pg->name = Attr(id, PAGES_NAME);
            OpenPages(pg, Number(id, PAGES_WIDTH), Number(id, PAGES_HEIGHT));
            break;
        }
        case UI_TAG_PAGE: {
            FlushText();
            if (pagesStack.empty()) throw std::string("Expected <notebook>.");
            CurrentBlock();
            UIContainer* page = pagesStack.back()->AddPage(Attr(id, PAGE_CAPTION));
            page->name = Attr(id, PAGE_NAME);
            parentStack.push_back(page);
            page->ReleaseFlow();
            AppendBlock(page->Flow());
            PushBlock(page->Flow());
            break;
        }
        case UI_TAG_BLOCK: {
            CurrentBlock();
            const int a = ParseAlign(Attr(id, BLOCK_ALIGN));
            UIAbsBlock* block =
                new UIAbsBlock(Number(id, BLOCK_LEFT), Number(id, BLOCK_TOP), Number(id, BLOCK_WIDTH), a);
            AppendBlock(block);
            PushBlock(block);
            if (Flag(id, BLOCK_PANEL)) AddPanel(block);
            break;
        }
        case UI_TAG_CHECKBOX: {
            FlushText();
            UITextStyle s = CurrentStyle();
            if (!Attr(id, CHECKBOX_COLOR).empty()) Colour(Attr(id, CHECKBOX_COLOR), s.colour);
            float hot[4];
            Colour(Attr(id, CHECKBOX_HOTCOLOR), hot);
            UICheckBox* cb = new UICheckBox(s, Attr(id, CHECKBOX_TEXT), hot, GetSkins().checkbox, 0.0f, 0.0f);
            cb->SetChecked(Flag(id, CHECKBOX_CHECKED));
            cb->name = Attr(id, CHECKBOX_NAME);
            AddWidget(cb);
            break;
        }
        default: break;
    }
}

void UILayout::OpenPages(UIPages* pages, float width, float height) {
    pages->Flow()->fixedWidth = width;
    pages->Flow()->fixedHeight = height;
    CurrentParent().AddChild(pages);
    pagesStack.push_back(pages);
    pages->ReleaseFlow();
    AppendBlock(pages->Flow());
    PushBlock(pages->Flow());
}

void UILayout::ClosePages() {
    PopBlock("Error tag </notebook> or </pages>.");
    if (pagesStack.empty()) throw std::string("Error tag </notebook> or </pages>.");
    UIPages* pages = pagesStack.back();
    pagesStack.pop_back();
    if (pages->PageCount() == 0) throw std::string("Notebook or Pages is empty.");
    pages->SelectPage(0);
}

void UILayout::CloseTag(int id) {
    switch (id) {
        case UI_TAG_DIV:
        case UI_TAG_TD:
        case UI_TAG_BLOCK:
        case UI_TAG_WINDOW:
        case UI_TAG_NOTEBOOK:
        case UI_TAG_PAGES:
        case UI_TAG_PAGE:
            if (refusedBlocks > 0) {
                --refusedBlocks;
                return;
            }
            break;
        default: break;
    }

    switch (id) {
        case UI_TAG_LAYOUT:
            layoutOpen = false;
            if (blockStack.size() == 1 && blockStack.back() == &rootBlock) {
                blockStack.pop_back();
                collecting = false;
            } else {
                throw std::string("Do not closed blocks tag before </layout>.");
            }
            break;
        case UI_TAG_DIV:
        case UI_TAG_TD:
        case UI_TAG_BLOCK:
            FlushText();
            PopBlock("Error tag </div>, </td> or </block>.");
            break;
        case UI_TAG_FONT:
            FlushText();
            if (styleStack.size() <= 1) throw std::string("Error tag </font>.");
            styleStack.pop_back();
            break;
        case UI_TAG_TABLE:
            if (tableStack.empty()) throw std::string("Error tag </table>.");
            tableStack.pop_back();
            break;
        case UI_TAG_MENUITEM: {
            const UITextStyle& s = CurrentStyle();
            UITextStyle hot = s;
            if (!Attr(id, MENUITEM_HOTFONT).empty()) {
                hot.font = FindFont(Attr(id, MENUITEM_HOTFONT));
                if (hot.font->shader)
                    std::copy(hot.font->shader->material.emissive, hot.font->shader->material.emissive + 4, hot.colour);
            }
            UIMenuItem* item = new UIMenuItem(NormalizeText(text), s, hot, 0.0f, 0.0f, listener);
            item->name = Attr(id, MENUITEM_NAME);
            item->visible = Flag(id, MENUITEM_VISIBLE);
            AddWidget(item);
            break;
        }
        case UI_TAG_A: {
            float hot[4];
            Colour(Attr(id, A_HOTCOLOR), hot);
            UIHotLink* link = new UIHotLink(CurrentStyle(), NormalizeText(text), hot, 0.0f, 0.0f, listener);
            link->name = Attr(id, A_NAME);
            AddWidget(link);
            break;
        }
        case UI_TAG_SELECT:
            if (!currentSelect) throw std::string("Expected <select>.");
            currentSelect = nullptr;
            break;
        case UI_TAG_OPTION: {
            if (!currentSelect) throw std::string("Expected <select>.");
            const std::string caption = NormalizeText(text);
            currentSelect->AddOption(caption.c_str());
            break;
        }
        case UI_TAG_TEXT: {
            const std::string& widthText = Attr(id, TEXT_WIDTH);
            const float width = widthText.empty() ? 0.0f : Number(id, TEXT_WIDTH);
            const int a = ParseAlign(Attr(id, TEXT_ALIGN));
            UINamedText* t = new UINamedText(a, NormalizeText(text), CurrentStyle(), 0.0f, 0.0f, width);
            t->name = Attr(id, TEXT_NAME);
            AddWidget(t);
            break;
        }
        case UI_TAG_WINDOW:
        case UI_TAG_PAGE: {
            const char* error = id == UI_TAG_WINDOW ? "Error tag </window>." : "Error tag </page>.";
            FlushText();
            PopBlock(error);
            if (parentStack.empty()) throw std::string(error);
            parentStack.pop_back();
            break;
        }
        case UI_TAG_NOTEBOOK:
        case UI_TAG_PAGES:
            FlushText();
            ClosePages();
            break;
        default: break;
    }
}
