#include "editor/editor_frame_draw.h"

#include <algorithm>

#include "editor/editor_level.h"
#include "editor/editor_scene.h"
#include "render/render.h"
#include "render/shader.h"

float EditorFrameClock::Step(uint32_t nowMs) {
    float dt = FIRST_STEP;
    if (started_) dt = static_cast<float>(nowMs - last_) * 0.001f;
    started_ = true;
    last_ = nowMs;
    return std::min(dt, MAX_STEP);
}

float EditorCursorPulse::Update(float dt) {
    const float step = std::min(dt, PERIOD * 0.5f);
    if (rising_) {
        value_ += step;
        if (value_ >= PERIOD) {
            rising_ = false;
            value_ = PERIOD - (value_ - PERIOD);
        }
    } else {
        value_ -= step;
        if (value_ <= 0.0f) {
            rising_ = true;
            value_ = -value_;
        }
    }
    return value_ / PERIOD * 0.25f + 0.75f;
}

void EditorCursorColor(int editMode, bool blockHit, float out[4]) {
    const bool good = editMode == EDIT_MODE_NEW ? !blockHit : blockHit;
    out[0] = good ? 0.0f : 1.0f;
    out[1] = good ? 1.0f : 0.0f;
    out[2] = 0.0f;
    out[3] = 1.0f;
}

void EditorFrameDraw::Prepare() {
    if (prepared_) return;
    prepared_ = true;
    editLineShader_ = FindShader("edit_line");
    uiShader_ = FindShader("ui");
    cursorShader_ = FindShader("cursor");
    lineMaterial_ = YMaterial{};
}

void EditorFrameDraw::SetLineColor(const float colour[4]) {
    for (int i = 0; i < 4; ++i) lineMaterial_.emissive[i] = colour[i];
    lineMaterial_.diffuse[3] = colour[3];
    g_Render->SetMaterial(&lineMaterial_, true);
}

void EditorFrameDraw::DrawLine(const YVector* a, const YVector* b) {
    const YVector points[2] = {*a, *b};
    g_Render->DrawLineStrip(points, 1);
}

void EditorFrameDraw::DrawCellBox(const EditorLevel& level, const YVector& scale, int x, int y, int z, int sx, int sy,
                                  int sz) {
    const float x0 = static_cast<float>(x) * scale.x, x1 = static_cast<float>(x + sx) * scale.x;
    const float y0 = static_cast<float>(y) * scale.y, y1 = static_cast<float>(y + sy) * scale.y;
    const float z0 = static_cast<float>(z) * scale.z, z1 = static_cast<float>(z + sz) * scale.z;
    YVector c[8];
    for (int i = 0; i < 8; ++i)
        c[i] = groupMatrix_.TransformPoint(YVector((i & 1) ? x1 : x0, (i & 2) ? y1 : y0, (i & 4) ? z1 : z0));
    static const int edges[12][2] = {{0, 1}, {2, 3}, {4, 5}, {6, 7}, {0, 2}, {1, 3},
                                     {4, 6}, {5, 7}, {0, 4}, {1, 5}, {2, 6}, {3, 7}};
    for (const auto& e : edges) DrawLine(&c[e[0]], &c[e[1]]);
}

void EditorFrameDraw::DrawCursorGuides(const EditorLevel& level, const EditorScene& scene, int x, int y, int z) {
    const YVector s = scene.LevelScale();
    const float cx = (static_cast<float>(x) + 0.5f) * s.x;
    const float cy = (static_cast<float>(y) + 0.5f) * s.y;
    const float cz = (static_cast<float>(z) + 0.5f) * s.z;
    const float hw = scene.TableWidth() * 0.5f, hd = scene.TableDepth() * 0.5f;
    const YVector ends[6] = {{-hw, cy, cz}, {hw, cy, cz},      {cx, -hd, cz},
                             {cx, hd, cz},  {cx, cy, -100.0f}, {cx, cy, 100.0f}};
    for (int i = 0; i < 6; i += 2) {
        const YVector a = groupMatrix_.TransformPoint(ends[i]);
        const YVector b = groupMatrix_.TransformPoint(ends[i + 1]);
        DrawLine(&a, &b);
    }
}

void EditorFrameDraw::DrawEditLines(const EditorLevel& level, const EditorScene& scene, const YMatrix& view, float dt) {
    Prepare();
    groupMatrix_ = level.CurrentGroup().matrix;
    g_Render->SetWorldMatrix(&view);
    g_Render->SetShader(editLineShader_, true);

    // The grid of the current group at z = 0.
    const YVector s = scene.LevelScale();
    const float hw = scene.TableWidth() * 0.5f, hd = scene.TableDepth() * 0.5f;
    SetLineColor(EDITOR_GRID_COLOR);
    auto gridLine = [&](const YVector& a, const YVector& b) {
        const YVector ta = groupMatrix_.TransformPoint(a), tb = groupMatrix_.TransformPoint(b);
        DrawLine(&ta, &tb);
    };
    if (s.x > 0.0f)
        for (float x = s.x; x < hw; x += s.x) {
            gridLine(YVector(x, hd, 0), YVector(x, -hd, 0));
            gridLine(YVector(-x, hd, 0), YVector(-x, -hd, 0));
        }
    if (s.y > 0.0f)
        for (float y = s.y; y < hd; y += s.y) {
            gridLine(YVector(hw, y, 0), YVector(-hw, y, 0));
            gridLine(YVector(hw, -y, 0), YVector(-hw, -y, 0));
        }
    gridLine(YVector(hw, 0, 0), YVector(-hw, 0, 0));
    gridLine(YVector(0, hd, 0), YVector(0, -hd, 0));

    // The table's own marks, not moved with the group.
    SetLineColor(EDITOR_MARK_COLOR);
    const YVector marks[6] = {{-hw, 0, 0.01f}, {hw, 0, 0.01f},       {0, -hd, 0.01f},
                              {0, hd, 0.01f},  {-hw, 2 - hd, 0.01f}, {hw, 2 - hd, 0.01f}};
    for (int i = 0; i < 6; i += 2) DrawLine(&marks[i], &marks[i + 1]);

    // The cursor.
    const float brightness = pulse_.Update(dt);
    const int hit = level.FindBlockAtCursor();
    float base[4], pulse[4];
    EditorCursorColor(level.editMode, hit >= 0, base);
    for (int i = 0; i < 4; ++i) pulse[i] = base[i] * brightness;
    if (level.editMode == EDIT_MODE_NEW) {
        SetLineColor(pulse);
        DrawCellBox(level, s, level.cursor.x, level.cursor.y, level.cursor.z, level.cursorSize.x, level.cursorSize.y,
                    level.cursorSize.z);
    } else if (hit >= 0) {
        const EditorBlock& b = level.CurrentGroup().blocks[static_cast<std::size_t>(hit)];
        SetLineColor(pulse);
        DrawCellBox(level, s, b.x, b.y, b.z, b.sx, b.sy, b.sz);
    }
    SetLineColor(base);
    DrawCursorGuides(level, scene, level.cursor.x, level.cursor.y, level.cursor.z);
}

void EditorFrameDraw::DrawPanels() {
    Prepare();
    g_Render->SetShader(uiShader_, true);
    for (const float* r : {EDITOR_PANEL_RIGHT, EDITOR_PANEL_LEFT}) {
        const YTexVertex quad[4] = {{YVector(r[0], r[1], 0), YVector2(0, 0), YVector2(0, 0)},
                                    {YVector(r[0], r[3], 0), YVector2(0, 1), YVector2(0, 1)},
                                    {YVector(r[2], r[3], 0), YVector2(1, 1), YVector2(1, 1)},
                                    {YVector(r[2], r[1], 0), YVector2(1, 0), YVector2(1, 0)}};
        g_Render->DrawTexQuad(quad);
    }
}

void EditorFrameDraw::DrawMouseCursor(int mouseX, int mouseY, int windowWidth, int windowHeight) {
    Prepare();
    if (windowWidth <= 0 || windowHeight <= 0) return;
    const float x = static_cast<float>(mouseX) / static_cast<float>(windowWidth) * 800.0f;
    const float y = static_cast<float>(mouseY) / static_cast<float>(windowHeight) * 600.0f;
    const float s = EDITOR_MOUSE_CURSOR_SIZE;
    g_Render->SetShader(cursorShader_, true);
    const YTexVertex quad[4] = {{YVector(x, y, 0), YVector2(0, 0), YVector2(0, 0)},
                                {YVector(x, y + s, 0), YVector2(0, 1), YVector2(0, 1)},
                                {YVector(x + s, y + s, 0), YVector2(1, 1), YVector2(1, 1)},
                                {YVector(x + s, y, 0), YVector2(1, 0), YVector2(1, 0)}};
    g_Render->DrawTexQuad(quad);
}
