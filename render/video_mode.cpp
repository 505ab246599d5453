#include "render/video_mode.h"

#include <algorithm>

YVideoModeList g_VideoModes;

void YVideoModeList::Assign(std::vector<YVideoMode> modes) {
    desktop_ = YVideoMode();
    if (!modes.empty()) {
        desktop_ = modes.back();
        modes.pop_back();
    }
    modes_ = std::move(modes);
}

int YVideoModeList::FindBest(YVideoMode* wanted) const { return FindBest(wanted, IsWindows2000OrLater()); }

int YVideoModeList::FindBest(YVideoMode* wanted, bool newerSystem) const {
    if (wanted->refresh == 0) wanted->refresh = desktop_.refresh;
    const YVideoMode* best = nullptr;
    bool depthSeen = false;
    for (const YVideoMode& m : modes_) {
        if (m.width != wanted->width || m.height != wanted->height) continue;
        if (!best) best = &m;
        if (m.depth != wanted->depth) continue;
        if (!depthSeen) {
            // The first mode of the wanted depth wins over any mode of another depth, whatever
            // its refresh rate.
            best = &m;
            depthSeen = true;
        } else if (newerSystem && (wanted->refresh == 0 || m.refresh <= wanted->refresh)) {
            // The list ascends by refresh rate, so the last acceptable mode is the fastest one
            // that does not exceed the wanted rate.
            best = &m;
        }
    }
    return best ? best->index : 0;
}

YVideoMode YVideoModeList::Resolve(const std::string& text) const {
    YVideoMode wanted = YVideoMode::FromString(text.c_str());
    if (modes_.empty()) return wanted.width == 0 || wanted.height == 0 ? DefaultVideoMode() : wanted;
    int position = FindBest(&wanted);
    // The renderer numbers its modes by position; should a record say otherwise, fall back to
    // the first mode rather than read outside the list.
    if (position < 0 || static_cast<size_t>(position) >= modes_.size()) position = 0;
    return modes_[static_cast<size_t>(position)];
}

std::string YVideoModeList::Normalize(const char* text) const {
    // Nothing to choose from (no renderer yet): keep the text rather than invent a mode.
    if (modes_.empty()) return text ? text : "";
    return Resolve(text ? text : "").ToString();
}

std::vector<YVideoMode> YVideoModeList::Filter(YVideoMode pattern) const {
    std::vector<YVideoMode> out;
    for (const YVideoMode& m : modes_) {
        YVideoMode r;
        if (pattern.width == 0) {
            r.width = m.width;
            r.height = m.height;
        } else if (m.width != pattern.width || m.height != pattern.height) {
            continue;
        } else if (pattern.depth == 0) {
            r.width = m.width;
            r.height = m.height;
            r.depth = m.depth;
        } else if (m.depth == pattern.depth) {
            r = m;
        } else {
            continue;
        }
        out.push_back(r);
    }
    // Stable, so that of equal modes the one listed first is the one kept.
    std::stable_sort(out.begin(), out.end(), YVideoMode::Less);
    out.erase(std::unique(out.begin(), out.end()), out.end());
    return out;
}

bool IsWindows2000OrLater() {
    // The question separates systems that report display refresh rates reliably from the older
    // ones that did not, where only the first mode of a depth was trusted. No system this program
    // runs on is of the older kind, so the answer is fixed; FindBest(wanted, false) still gives
    // the older rule.
    return true;
}
