#pragma once
// The editor's frame: the clock, the pulsing cursor, and the drawing of the grid, the table marks,
// the cursor box with its guide lines, the two status panels and the mouse cursor.
#include <cstdint>

#include "math/matrix.h"
#include "math/vector.h"
#include "render/render_values.h"

class EditorLevel;
class EditorScene;
class YShader;

// Seconds since the last frame: 0.01 for the first one, never more than 0.05.
class EditorFrameClock {
public:
    static constexpr float FIRST_STEP = 0.01f;
    static constexpr float MAX_STEP = 0.05f;
    float Step(uint32_t nowMs);

private:
    uint32_t last_ = 0;
    bool started_ = false;
};

// The cursor's brightness: rises over one period and falls over the next, between 0.75 and 1.
class EditorCursorPulse {
public:
    static constexpr float PERIOD = 0.5f;
    // Advances by dt (at most half a period per call) and returns the brightness.
    float Update(float dt);
    float Value() const { return value_; }

private:
    bool rising_ = true;
    float value_ = 0.0f;
};

// The cursor's colour: green where the action has something to act on (in mode "new": where
// nothing is in the way), red elsewhere.
void EditorCursorColor(int editMode, bool blockHit, float out[4]);

constexpr float EDITOR_GRID_COLOR[4] = {0.3f, 0.3f, 0.3f, 0.5f};
constexpr float EDITOR_MARK_COLOR[4] = {0.7f, 0.3f, 0.3f, 1.0f};
constexpr float EDITOR_PANEL_RIGHT[4] = {660.0f, 45.0f, 800.0f, 600.0f};
constexpr float EDITOR_PANEL_LEFT[4] = {0.0f, 45.0f, 100.0f, 600.0f};
constexpr float EDITOR_MOUSE_CURSOR_SIZE = 20.0f;

// Drawing of the editor's lines and overlay quads through the renderer. Shaders are looked up on
// first use; nothing here allocates per frame.
class EditorFrameDraw {
public:
    // Grid of the current group, table marks and the cursor, in the 3D pass (world = camera view).
    void DrawEditLines(const EditorLevel& level, const EditorScene& scene, const YMatrix& view, float dt);
    // The two status panels on the 800 x 600 overlay.
    void DrawPanels();
    // A 20 x 20 cursor whose top-left corner is the mouse position scaled to 800 x 600.
    void DrawMouseCursor(int mouseX, int mouseY, int windowWidth, int windowHeight);

private:
    void Prepare();
    void SetLineColor(const float colour[4]);
    void DrawLine(const YVector* a, const YVector* b);
    void DrawCellBox(const EditorLevel& level, const YVector& scale, int x, int y, int z, int sx, int sy, int sz);
    void DrawCursorGuides(const EditorLevel& level, const EditorScene& scene, int x, int y, int z);

    YShader* editLineShader_ = nullptr;
    YShader* uiShader_ = nullptr;
    YShader* cursorShader_ = nullptr;
    YMaterial lineMaterial_;
    YMatrix groupMatrix_;
    bool prepared_ = false;
    EditorCursorPulse pulse_;
};
