#pragma once
// Display modes: the modes the renderer found usable plus the desktop mode, the best match for a
// wanted mode, the canonical mode text ("800x600:32", "1024x768:32@85") and the choices offered on
// the options page.
#include <cstdint>
#include <string>
#include <vector>

#include "core/video_mode.h"

class YVideoModeList {
public:
    // The renderer's list, whose last record is the desktop mode: the others become the list (the
    // renderer numbers them by position), the last one the desktop mode.
    void Assign(std::vector<YVideoMode> modes);

    // The index of the listed mode that best matches `wanted` (0, the first listed mode, when no
    // listed mode has its size or the list is empty). A wanted refresh of 0 is replaced by the
    // desktop's refresh.
    int FindBest(YVideoMode* wanted) const;
    // The same with the system generation given: only newer systems refine the refresh rate.
    int FindBest(YVideoMode* wanted, bool newerSystem) const;

    // The configured mode text resolved once: the best listed match, whole (with its index). With
    // no listed mode at all (no renderer), the mode the text names, or the default mode when it
    // names no size.
    YVideoMode Resolve(const std::string& text) const;
    // The text of the best listed match for a mode text (Resolve's text). With no listed mode at
    // all the text is returned as it came.
    std::string Normalize(const char* text) const;

    // The choices for the options page, sorted and without duplicates:
    //   width 0   - one record per listed width and height (depth and refresh 0);
    //   depth 0   - the depths listed at the pattern's size (refresh 0);
    //   otherwise - the listed modes of the pattern's size and depth, whole.
    std::vector<YVideoMode> Filter(YVideoMode pattern) const;

    const std::vector<YVideoMode>& Modes() const { return modes_; }
    const YVideoMode& Desktop() const { return desktop_; }

private:
    std::vector<YVideoMode> modes_;
    YVideoMode desktop_;
};

// The one list, filled by the framework right after the renderer is created.
extern YVideoModeList g_VideoModes;

// Whether the system is of the generation that reports refresh rates reliably enough for
// FindBest to pick the highest rate not above the wanted one.
bool IsWindows2000OrLater();
