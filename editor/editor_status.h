#pragma once
// The editor's status lines: on the right, the level (name, table, cell size, groups, blocks and
// one bonus count per kind, then the build counters); on the left, the edit mode with its tool values
// and the block under the cursor.

class EditorLevel;
class EditorScene;

// Where the lines go: one call per line, (x, y) the bottom-left corner of its first character on
// the 800 x 600 overlay. The editor's frame draws them with its font at size 12.
class EditorTextOut {
public:
    virtual void Text(float x, float y, const char* text) = 0;

protected:
    ~EditorTextOut() = default;
};

constexpr float EDITOR_STATUS_TEXT_SIZE = 12.0f;
// The right column (the level and its bonus counts) starts here and runs to the overlay's edge.
constexpr float EDITOR_STATUS_RIGHT_X = 680.0f;

// Formats every line into a fixed buffer: nothing is allocated.
void DrawStatusLines(const EditorLevel& level, const EditorScene& scene, EditorTextOut& out);
