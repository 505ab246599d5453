#include "core/window_sizing.h"

void KeepAspectWhileSizing(YRect& r, int edge, float aspect, int fw, int fh) {
    const int cw = r.right - r.left - fw;
    const int ch = r.bottom - r.top - fh;
    const int heightForWidth = static_cast<int>(cw / aspect);
    const int widthForHeight = static_cast<int>(ch * aspect);
    const bool wide = cw >= widthForHeight;
    switch (edge) {
        case EDGE_LEFT:
        case EDGE_RIGHT: r.bottom = r.top + fh + heightForWidth; break;
        case EDGE_TOP:
        case EDGE_BOTTOM: r.right = r.left + fw + widthForHeight; break;
        case EDGE_TOPLEFT:
            if (wide)
                r.top = r.bottom - fh - heightForWidth;
            else
                r.left = r.right - fw - widthForHeight;
            break;
        case EDGE_TOPRIGHT:
            if (wide)
                r.top = r.bottom - fh - heightForWidth;
            else
                r.right = r.left + fw + widthForHeight;
            break;
        case EDGE_BOTTOMLEFT:
            if (wide)
                r.bottom = r.top + fh + heightForWidth;
            else
                r.left = r.right - fw - widthForHeight;
            break;
        case EDGE_BOTTOMRIGHT:
            if (wide)
                r.bottom = r.top + fh + heightForWidth;
            else
                r.right = r.left + fw + widthForHeight;
            break;
        default: break;
    }
}
