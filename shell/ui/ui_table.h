#pragma once
// A table block: rows of cells, each cell a flow of its own. Columns are measured in two passes
// (single cells first, then cells that span several columns widen their columns in proportion),
// shared out in proportion to their preferred widths, and raised to their minimum; rows are as
// high as their tallest cell, or stretched to the table's height; cells align their content
// top, centre or bottom within the rows they span.
//
// Cells that a span covers point back to their owner: rowspan holds minus the row distance and
// colspan minus the column distance (both 0 or less), so a covered cell has rowspan < 1 or
// colspan < 1.
#include <vector>

#include "shell/ui/ui_blocks.h"

class UITable : public UIBlock {
public:
    struct Cell {
        int rowspan = 1;
        int colspan = 1;
        int valign = 3;                  // 2 centre, 3 top, 4 bottom
        UIMultiBlock* content = nullptr; // owned; null for an empty or covered cell
        bool IsOwner() const { return rowspan >= 1 && colspan >= 1; }
    };
    struct Row {
        float height = 0.0f;
        float heightAttr = 0.0f; // 0 = automatic
        std::vector<Cell> cells;
    };
    struct Column {
        float min = 0.0f, max = 0.0f;
        float final = 0.0f;
        float fixedWidth = 0.0f; // 0 = none
    };

    UITable(float cellspacing_, float widthAttr_, float heightAttr_)
        : widthAttr(widthAttr_), heightAttr(heightAttr_), cellspacing(cellspacing_) {}
    ~UITable() override;
    UITable(const UITable&) = delete;
    UITable& operator=(const UITable&) = delete;

    void Measure(float& minW, float& maxW) override;
    void Layout(UIMultiBlock& line) override;
    void Move(float dx, float dy) override;
    void Place(float ox, float oy) override;
    void Draw() override;
    // What the cells show.
    void AddInk(UIInk& ink) const override;

    // ---- The reader's grid operations ----
    // At least `rowCount` rows, each row at least max(colCount, the first row's length) cells.
    // Refuses (false) to grow past UI_TABLE_MAX_CELLS cells.
    bool EnsureGrid(int rowCount, int colCount);
    // Advances the cursor to the next free cell of the current row and returns it; null when the
    // grid may not grow that far.
    Cell* NextCell();
    Cell* CellAt(int r, int c);
    int RowCount() const { return static_cast<int>(rows.size()); }
    int ColumnCount() const { return rows.empty() ? 0 : static_cast<int>(rows.front().cells.size()); }

    float x = 0.0f, y = 0.0f;
    float width = 0.0f, height = 0.0f;
    float widthAttr, heightAttr;
    int currentRow = -1, currentColumn = -1;
    std::vector<Row> rows;
    std::vector<Column> columns;
    float cellspacing;
    float tableMin = 0.0f, tableMax = 0.0f;
};

// The largest grid a table may have (rows x columns); a file asking for more is refused.
constexpr long UI_TABLE_MAX_CELLS = 4096;
