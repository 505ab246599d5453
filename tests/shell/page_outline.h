#pragma once
// A page as one line of text, for comparing what a layout file builds: each control with its
// class, name, rectangle and what it shows, then each text run of the block tree with its place.
// Numbers are printed with two decimals, so a comparison is exact to what a player could see.
#include <cxxabi.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <typeinfo>

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

// "Class:name(x,y,w,h)'text'" per control ("~" after a hidden one), children in braces; then
// "'run'@x,y" per text run.
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
