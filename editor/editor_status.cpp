#include "editor/editor_status.h"

#include <cstdarg>
#include <cstdio>

#include "editor/editor_bonus_names.h"
#include "editor/editor_level.h"
#include "editor/editor_scene.h"

namespace {

constexpr float RIGHT_X = EDITOR_STATUS_RIGHT_X;
constexpr float LEFT_X = 5.0f;
constexpr float TOP_Y = 70.0f;
constexpr float LINE_STEP = 12.0f;
constexpr float BONUS_TOP_Y = 154.0f;
constexpr float BUILD_LINE_Y = 562.0f;

class Lines {
public:
    explicit Lines(EditorTextOut& out) : out_(out) {}

    void operator()(float x, float y, const char* format, ...) __attribute__((format(printf, 4, 5))) {
        va_list args;
        va_start(args, format);
        std::vsnprintf(buffer_, sizeof buffer_, format, args);
        va_end(args);
        out_.Text(x, y, buffer_);
    }

private:
    EditorTextOut& out_;
    char buffer_[512];
};

} // namespace

void DrawStatusLines(const EditorLevel& level, const EditorScene& scene, EditorTextOut& out) {
    Lines line(out);

    // Right column: the level.
    const YVector scale = scene.LevelScale();
    float y = TOP_Y;
    line(RIGHT_X, y, "%s", level.levelName.c_str());
    line(RIGHT_X, y += LINE_STEP, "t=%0.2fx%0.2f", scene.TableWidth(), scene.TableDepth());
    line(RIGHT_X, y += LINE_STEP, "tm=%s", level.tableMaterial.c_str());
    line(RIGHT_X, y += LINE_STEP, "env=%s", scene.EnvironmentName().c_str());
    line(RIGHT_X, y += LINE_STEP, "c=%0.2fx%0.2fx%0.2f", scale.x, scale.y, scale.z);
    line(RIGHT_X, y += LINE_STEP, "group=%2d/%2d", level.currentGroup + 1, static_cast<int>(level.groups.size()));
    line(RIGHT_X, y += LINE_STEP, "blocks=%d/%d", static_cast<int>(level.CurrentGroup().blocks.size()),
         level.BlockCount());
    int countSum = 0;
    for (int k = 0; k < BONUS_KIND_COUNT; ++k) {
        const EditorBonusCount& c = level.bonusCounts[static_cast<std::size_t>(k)];
        line(RIGHT_X, BONUS_TOP_Y + LINE_STEP * static_cast<float>(k), "%2d %2d/%2d %s", k, c.placed, c.count,
             EditorBonusName(k));
        countSum += c.count;
    }
    line(RIGHT_X, BUILD_LINE_Y, "st %d/%d,b%d,g%0.1f", level.status.solid, level.status.built, countSum,
         static_cast<double>(level.status.maxGlue));

    // Left column: the mode and its tools.
    line(LEFT_X, TOP_Y, "mode=%s", EditorModeName(level.editMode));
    float blockTop = 102.0f; // below the one tool line; "del" has none
    switch (level.editMode) {
        case EDIT_MODE_NEW:
            line(LEFT_X, 86.0f, "[%dx%dx%d]", level.cursor.x, level.cursor.y, level.cursor.z);
            line(LEFT_X, 98.0f, "size=%dx%dx%d", level.cursorSize.x, level.cursorSize.y, level.cursorSize.z);
            line(LEFT_X, 110.0f, "material=%s", level.curMaterial.c_str());
            line(LEFT_X, 122.0f, "glue=%0.1f", static_cast<double>(level.curGlue));
            return;
        case EDIT_MODE_BONUS: line(LEFT_X, 86.0f, "curBonus=%d", level.curBonus); break;
        case EDIT_MODE_MAT: line(LEFT_X, 86.0f, "curMaterial=%s", level.curMaterial.c_str()); break;
        case EDIT_MODE_GLUE: line(LEFT_X, 86.0f, "curGlue=%0.1f", static_cast<double>(level.curGlue)); break;
        default: blockTop = 86.0f; break;
    }
    const int hit = level.FindBlockAtCursor();
    if (hit < 0) return;
    const EditorBlock& b = level.CurrentGroup().blocks[static_cast<std::size_t>(hit)];
    y = blockTop;
    line(LEFT_X, y, "[%dx%dx%d]", b.x, b.y, b.z);
    line(LEFT_X, y += LINE_STEP, "size=%dx%dx%d", b.sx, b.sy, b.sz);
    line(LEFT_X, y += LINE_STEP, "material=%s", b.material.c_str());
    line(LEFT_X, y += LINE_STEP, "glue=%0.1f", static_cast<double>(b.glue));
    line(LEFT_X, y += LINE_STEP, "bonus=%d", b.bonus);
}
