#include "shell/ui/ui_table.h"

#include <algorithm>

UITable::~UITable() {
    for (Row& r : rows)
        for (Cell& c : r.cells) delete c.content;
}

bool UITable::EnsureGrid(int rowCount, int colCount) {
    if (rowCount < 0 || colCount < 0) return false;
    const int cols = std::max(colCount, ColumnCount());
    const int rws = std::max(rowCount, RowCount());
    if (static_cast<long>(cols) * static_cast<long>(rws) > UI_TABLE_MAX_CELLS) return false;
    while (RowCount() < rowCount) rows.emplace_back();
    for (Row& r : rows)
        if (static_cast<int>(r.cells.size()) < cols) r.cells.resize(static_cast<std::size_t>(cols));
    return true;
}

UITable::Cell* UITable::CellAt(int r, int c) {
    if (r < 0 || r >= RowCount()) return nullptr;
    Row& row = rows[static_cast<std::size_t>(r)];
    if (c < 0 || c >= static_cast<int>(row.cells.size())) return nullptr;
    return &row.cells[static_cast<std::size_t>(c)];
}

UITable::Cell* UITable::NextCell() {
    if (currentRow < 0) return nullptr;
    if (currentColumn < 0) {
        currentColumn = 0;
    } else {
        Cell* cur = CellAt(currentRow, currentColumn);
        currentColumn += cur ? std::max(1, cur->colspan) : 1;
    }
    // Skip cells covered from a row above: over their owner's columns.
    for (;;) {
        Cell* c = CellAt(currentRow, currentColumn);
        if (!c || c->rowspan >= 1) break;
        const Cell* owner = CellAt(currentRow + c->rowspan, currentColumn + c->colspan);
        const int span = owner ? std::max(1, owner->colspan) : 1;
        currentColumn += span + c->colspan; // from the owner's column past its span
    }
    if (!EnsureGrid(currentRow + 1, currentColumn + 1)) return nullptr;
    return CellAt(currentRow, currentColumn);
}

void UITable::Measure(float& minW, float& maxW) {
    width = widthAttr;
    height = heightAttr;
    x = y = 0.0f;
    const std::size_t n = static_cast<std::size_t>(ColumnCount());
    std::vector<float> fixed(n, 0.0f);
    for (std::size_t i = 0; i < n && i < columns.size(); ++i) fixed[i] = columns[i].fixedWidth;
    columns.assign(n, Column{});
    for (std::size_t i = 0; i < n; ++i) columns[i].fixedWidth = fixed[i];

    for (Row& r : rows) {
        for (std::size_t c = 0; c < r.cells.size() && c < n; ++c) {
            Cell& cell = r.cells[c];
            if (!cell.IsOwner() || cell.colspan != 1 || !cell.content) continue;
            Column& col = columns[c];
            cell.content->Measure(col.min, col.max);
            col.min = std::max(col.min, col.fixedWidth);
            col.max = std::max(col.max, col.fixedWidth);
        }
    }
    for (Row& r : rows) {
        for (std::size_t c = 0; c < r.cells.size() && c < n; ++c) {
            Cell& cell = r.cells[c];
            if (!cell.IsOwner() || cell.colspan <= 1 || !cell.content) continue;
            float m = 0.0f, M = 0.0f;
            cell.content->Measure(m, M);
            const std::size_t end = std::min(n, c + static_cast<std::size_t>(cell.colspan));
            const float span = static_cast<float>(end - c);
            float sMin = 0.0f, sMax = 0.0f;
            for (std::size_t k = c; k < end; ++k) {
                sMin += columns[k].min;
                sMax += columns[k].max;
            }
            for (std::size_t k = c; k < end; ++k) {
                if (sMin <= 0.0f)
                    columns[k].min = m / span;
                else if (sMin < m)
                    columns[k].min *= m / sMin;
                if (sMax <= 0.0f)
                    columns[k].max = M / span;
                else if (sMax < M)
                    columns[k].max *= M / sMax;
            }
        }
    }
    const float gaps = n > 0 ? static_cast<float>(n - 1) * cellspacing : 0.0f;
    tableMin = tableMax = gaps;
    for (const Column& col : columns) {
        tableMin += col.min;
        tableMax += col.max;
    }
    if (width > 0.0f) {
        minW = std::max(minW, width);
        maxW = std::max(maxW, width);
    } else {
        minW = std::max(minW, tableMin);
        maxW = std::max(maxW, tableMax);
    }
}

void UITable::Layout(UIMultiBlock& line) {
    if (line.width < tableMax + line.lineX) line.NewLine();
    if (width <= 0.0f) width = std::min(tableMax, line.width);
    const std::size_t n = columns.size();
    const float s = n > 0 ? static_cast<float>(n - 1) * cellspacing : 0.0f;
    const float share = tableMax - s;
    for (Column& col : columns) {
        // A table whose columns want no width at all shares nothing rather than dividing by 0.
        col.final = share > 0.0f ? col.max * (width - s) / share : 0.0f;
        col.final = std::max(col.final, col.min);
    }

    auto spanWidth = [&](std::size_t c, int span) {
        float wsum = 0.0f;
        const std::size_t end = std::min(n, c + static_cast<std::size_t>(std::max(1, span)));
        for (std::size_t k = c; k < end; ++k) wsum += columns[k].final + (k > c ? cellspacing : 0.0f);
        return wsum;
    };

    float ry = 0.0f;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        Row& row = rows[r];
        if (r > 0) ry += cellspacing;
        row.height = row.heightAttr;
        float cx = line.lineX;
        std::size_t c = 0;
        while (c < row.cells.size() && c < n) {
            Cell& cell = row.cells[c];
            if (c > 0) cx += cellspacing;
            if (cell.IsOwner()) {
                const float cw = spanWidth(c, cell.colspan);
                if (cell.content) {
                    cell.content->LayoutContent(cw);
                    cell.content->x = cx;
                    row.height = std::max(row.height, cell.content->height);
                }
                cx += cw;
                c += static_cast<std::size_t>(std::max(1, cell.colspan));
            } else {
                // Covered from another cell: step over the owner's columns.
                const Cell* owner = CellAt(static_cast<int>(r) + cell.rowspan, static_cast<int>(c) + cell.colspan);
                const int span = owner ? std::max(1, owner->colspan) + cell.colspan : 1;
                const int steps = std::max(1, span);
                cx += spanWidth(c, steps);
                c += static_cast<std::size_t>(steps);
            }
        }
        ry += row.height;
    }
    if (heightAttr > 0.0f && ry < heightAttr && !rows.empty()) {
        const float rs = static_cast<float>(rows.size() - 1) * cellspacing;
        if (ry - rs > 0.0f) {
            const float k = (heightAttr - rs) / (ry - rs);
            for (Row& row : rows) row.height *= k;
        }
    }
    ry = 0.0f;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        if (r > 0) ry += cellspacing;
        Row& row = rows[r];
        for (Cell& cell : row.cells) {
            if (!cell.IsOwner() || !cell.content) continue;
            float ch = 0.0f;
            const std::size_t end = std::min(rows.size(), r + static_cast<std::size_t>(cell.rowspan));
            for (std::size_t k = r; k < end; ++k) ch += rows[k].height + (k > r ? cellspacing : 0.0f);
            const float free = ch - cell.content->height;
            cell.content->y = cell.valign == 2 ? ry + free * 0.5f : cell.valign == 4 ? ry + free : ry;
        }
        ry += row.height;
    }
    height = ry;
    line.LineHeight(height);
    line.lineX += width;
    line.AddLineBlock(this);
}

void UITable::Move(float dx, float dy) {
    x += dx;
    y += dy;
}

void UITable::Place(float ox, float oy) {
    for (Row& r : rows)
        for (Cell& c : r.cells)
            if (c.content) c.content->Place(ox + x, oy + y);
}

void UITable::Draw() {
    for (Row& r : rows)
        for (Cell& c : r.cells)
            if (c.content) c.content->Draw();
}

void UITable::AddInk(UIInk& ink) const {
    for (const Row& r : rows)
        for (const Cell& c : r.cells)
            if (c.content) c.content->AddInk(ink);
}
