#pragma once
// Keeps a windowed client area at the screen's aspect while an edge or corner is dragged.

struct YRect {
    int left, top, right, bottom;
};

// Dragged edges, numbered as the sizing message numbers them.
enum YSizingEdge {
    EDGE_LEFT = 1,
    EDGE_RIGHT,
    EDGE_TOP,
    EDGE_TOPLEFT,
    EDGE_TOPRIGHT,
    EDGE_BOTTOM,
    EDGE_BOTTOMLEFT,
    EDGE_BOTTOMRIGHT
};

// `aspect`: screen width / height; fw, fh: window size minus client size. Products and quotients
// are truncated to whole pixels. Other edge values leave the rectangle as it is.
void KeepAspectWhileSizing(YRect& r, int edge, float aspect, int fw, int fh);
