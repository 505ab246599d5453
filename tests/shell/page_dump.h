#pragma once
// A page as text, for comparing what a layout file builds. DumpPage: one line per control and per
// text run: each control with its class, name, rectangle, style and what it shows; each text run
// of the block tree with its place, style and words; then the backing panels. Numbers are printed
// with two decimals, so a comparison is exact to what a player could see. OutlinePage: the same
// controls and runs on one line, without styles, for short expectations.
#include <cxxabi.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <typeinfo>

#include "render/font.h"
#include "shell/ui/ui_containers.h"
#include "shell/ui/ui_display_widgets.h"
#include "shell/ui/ui_input_widgets.h"
#include "shell/ui/ui_layout.h"
#include "shell/ui/ui_table.h"

namespace uitest {

inline std::string ClassName(const std::type_info& type) {
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> name(abi::__cxa_demangle(type.name(), nullptr, nullptr, &status), std::free);
    return status == 0 && name ? name.get() : type.name();
}

inline std::string Fixed(float v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.2f", static_cast<double>(v));
    return buf;
}

inline std::string StyleText(const UITextStyle& s) {
    std::string out = "style=";
    out += s.font ? s.font->name : "-";
    out += "/" + Fixed(s.size) + "/";
    for (int i = 0; i < 4; ++i) out += (i ? "," : "") + Fixed(s.colour[i]);
    return out;
}

// What the control shows beyond its rectangle and style.
inline std::string ControlDetail(const UIControl& c) {
    std::string out;
    if (const auto* m = dynamic_cast<const UIMenuItem*>(&c)) out += " text='" + m->GetText() + "'";
    if (const auto* l = dynamic_cast<const UIHotLink*>(&c)) out += " text='" + l->text + "'";
    if (const auto* t = dynamic_cast<const UINamedText*>(&c)) out += " text='" + t->GetText() + "'";
    if (const auto* b = dynamic_cast<const UICheckBox*>(&c))
        out += " label='" + b->label + "' checked=" + std::to_string(b->checked);
    if (const auto* e = dynamic_cast<const UIEdit*>(&c))
        out += std::string(" text='") + e->GetText() + "' max=" + std::to_string(e->maxLength);
    if (const auto* s = dynamic_cast<const UISelect*>(&c)) {
        out += " options=";
        for (const std::string& o : s->options) out += "[" + o + "]";
    }
    if (const auto* w = dynamic_cast<const UIWindow*>(&c)) out += " title='" + w->title + "'";
    if (const auto* p = dynamic_cast<const UIPages*>(&c))
        out += " pages=" + std::to_string(p->PageCount()) + " current=" + std::to_string(p->CurrentPage());
    if (const auto* i = dynamic_cast<const UIImage*>(&c)) out += std::string(" hot=") + (i->hoverShader ? "1" : "0");
    return out;
}

inline void DumpControl(const UIControl& c, int depth, std::string& out) {
    out += std::string(static_cast<std::size_t>(depth) * 2, ' ') + ClassName(typeid(c)) + " '" + c.name + "' (" +
           Fixed(c.x) + "," + Fixed(c.y) + "," + Fixed(c.w) + "," + Fixed(c.h) + ") " + StyleText(c.style) +
           " vis=" + std::to_string(c.visible) + " en=" + std::to_string(c.enabled) + ControlDetail(c) + "\n";
    for (const UIControl* child : c.Children()) DumpControl(*child, depth + 1, out);
}

inline void DumpRuns(const UIBlock* b, int depth, std::string& out) {
    const std::string indent(static_cast<std::size_t>(depth) * 2, ' ');
    if (const auto* table = dynamic_cast<const UITable*>(b)) {
        out +=
            indent + "table " + std::to_string(table->RowCount()) + "x" + std::to_string(table->ColumnCount()) + "\n";
        for (const UITable::Row& r : table->rows)
            for (const UITable::Cell& cell : r.cells)
                if (cell.content) DumpRuns(cell.content, depth + 1, out);
    } else if (const auto* flow = dynamic_cast<const UIMultiBlock*>(b)) {
        out += indent + "flow align=" + std::to_string(flow->align) + " (" + Fixed(flow->x) + "," + Fixed(flow->y) +
               "," + Fixed(flow->width) + "," + Fixed(flow->height) + ")\n";
        for (const UITextRun& r : flow->runs)
            out +=
                indent + "  run (" + Fixed(r.x) + "," + Fixed(r.y) + ") " + StyleText(r.style) + " '" + r.text + "'\n";
        for (const UIBlock* p : flow->placed) DumpRuns(p, depth + 1, out);
    }
}

inline std::string DumpPage(UILayout& page) {
    std::string out = "page (" + Fixed(page.x) + "," + Fixed(page.y) + "," + Fixed(page.w) + "," + Fixed(page.h) +
                      ") align=" + std::to_string(page.Align()) + "/" + std::to_string(page.VAlign()) + "\n";
    for (const UIControl* c : page.Children()) DumpControl(*c, 1, out);
    DumpRuns(&page.RootBlock(), 0, out);
    for (const UILayout::Panel& p : page.Panels()) {
        float r[4];
        const bool shows = UILayout::PanelRect(p, r);
        out +=
            "panel " + (shows ? Fixed(r[0]) + "," + Fixed(r[1]) + "," + Fixed(r[2]) + "," + Fixed(r[3]) : "-") + "\n";
    }
    return out;
}

// "Class:name(x,y,w,h)'text'" per control, children in braces; then "'run'@x,y" per text run.
inline void OutlineControl(const UIControl& c, std::string& out) {
    std::string cls = ClassName(typeid(c));
    out += cls.substr(cls.rfind(':') == std::string::npos ? 0 : cls.rfind(':') + 1) + ":" + c.name + "(" + Fixed(c.x) +
           "," + Fixed(c.y) + "," + Fixed(c.w) + "," + Fixed(c.h) + ")";
    if (const auto* m = dynamic_cast<const UIMenuItem*>(&c)) out += "'" + m->GetText() + "'";
    if (const auto* l = dynamic_cast<const UIHotLink*>(&c)) out += "'" + l->text + "'";
    if (const auto* t = dynamic_cast<const UINamedText*>(&c)) out += "'" + t->GetText() + "'";
    if (const auto* b = dynamic_cast<const UICheckBox*>(&c)) out += "'" + b->label + "'";
    if (const auto* e = dynamic_cast<const UIEdit*>(&c)) out += std::string("'") + e->GetText() + "'";
    if (const auto* s = dynamic_cast<const UISelect*>(&c))
        for (const std::string& o : s->options) out += "[" + o + "]";
    if (!c.visible) out += "~";
    if (c.Children().empty()) return;
    out += "{";
    for (std::size_t i = 0; i < c.Children().size(); ++i) {
        if (i) out += " ";
        OutlineControl(*c.Children()[i], out);
    }
    out += "}";
}

inline void OutlineRuns(const UIBlock* b, std::string& out) {
    if (const auto* table = dynamic_cast<const UITable*>(b)) {
        for (const UITable::Row& r : table->rows)
            for (const UITable::Cell& cell : r.cells)
                if (cell.content) OutlineRuns(cell.content, out);
    } else if (const auto* flow = dynamic_cast<const UIMultiBlock*>(b)) {
        for (const UITextRun& r : flow->runs) out += " '" + r.text + "'@" + Fixed(r.x) + "," + Fixed(r.y);
        for (const UIBlock* p : flow->placed) OutlineRuns(p, out);
    }
}

inline std::string OutlinePage(UILayout& page) {
    std::string out;
    for (const UIControl* c : page.Children()) {
        if (!out.empty()) out += " ";
        OutlineControl(*c, out);
    }
    OutlineRuns(&page.RootBlock(), out);
    return out;
}

} // namespace uitest
