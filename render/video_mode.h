#pragma once
// Display modes: the modes the renderer found usable plus the desktop mode, the best match for a
// wanted mode, the canonical mode text ("800x600:32", "1024x768:32@85") and the choices offered on
// the options page.
#include <cstdint>
#include <string>
#include <vector>

struct YVideoMode {
    uint32_t width = 0;
    uint32_t height = 0;
    uint32_t depth = 0;   // bits per pixel
    uint32_t refresh = 0; // Hz; 0 = unspecified
    int32_t index = -1;   // position in the renderer's adapter mode list; -1 for the desktop mode
                          // and for records built from text or by filtering

    // Reads width "x" height [":" depth ["@" refresh]]. Missing parts stay 0; text without an 'x'
    // gives all zero. A null text reads as empty.
    static YVideoMode FromString(const char* text);
    // width "x" height ":" depth, and "@" refresh when the refresh is not 0.
    std::string ToString() const;

    // Width, height, depth and refresh; the index is ignored.
    bool operator==(const YVideoMode& o) const;
    // Ascending by width, then height, then depth, then refresh.
    static bool Less(const YVideoMode& a, const YVideoMode& b);
};

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

    // The text of the best listed match for a mode text. With no listed mode at all the text is
    // returned as it came.
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
