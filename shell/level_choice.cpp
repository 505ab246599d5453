#include "shell/level_choice.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "core/file_list.h"
#include "core/init.h"
#include "core/locale.h"
#include "core/log.h"
#include "math/matrix.h"
#include "math/vertex.h"
#include "render/camera.h"
#include "render/font.h"
#include "render/mesh/mesh.h"
#include "render/mesh/mesh_instance.h"
#include "render/render.h"
#include "render/scene/environment_box.h"
#include "render/scene/shadow_volume.h"
#include "render/shader.h"
#include "shell/game_shell_host.h"
#include "shell/ui/ui_display_widgets.h"
#include "shell/ui/ui_layout.h"
#include "world/level/level_file.h"

namespace {

constexpr float SCROLL_SPEED = 5.0f; // levels a second

// Checks a printf format: the number of conversions (negative when one is not an integer one or
// the format ends inside a conversion).
int IntegerConversions(const std::string& format) {
    int count = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') continue;
        ++i;
        if (i < format.size() && format[i] == '%') continue;
        while (i < format.size() && std::strchr("-+ #0", format[i]) && format[i] != '\0') ++i;
        while (i < format.size() && std::isdigit(static_cast<unsigned char>(format[i]))) ++i;
        if (i < format.size() && format[i] == '.') {
            ++i;
            while (i < format.size() && std::isdigit(static_cast<unsigned char>(format[i]))) ++i;
        }
        if (i >= format.size() || !std::strchr("diu", format[i]) || format[i] == '\0') return -1;
        ++count;
    }
    return count;
}

} // namespace

std::string LevelThumbnailPath(const std::string& levelName) { return "levels\\thumb\\" + levelName + ".bmp"; }

std::vector<std::string> ListPlayableLevels(const char* pattern) {
    YFileList files;
    files.Scan(pattern, false);
    std::vector<std::string> names;
    for (std::size_t i = 0; i < files.entries.size(); ++i) {
        YLevelData level;
        std::string error;
        if (ReadLevelFile(files.GetPath(static_cast<int>(i)).c_str(), level, error)) {
            names.push_back(files.entries[i]);
        } else {
            LogPrintf(g_Log, "Level %s is left out: %s", files.entries[i].c_str(), error.c_str());
        }
    }
    return names;
}

std::string FormatLevelNumber(const std::string& format, int number) {
    // Longer formats than a caption can show are not ours either.
    constexpr std::size_t FORMAT_MAX = 200;
    int conversions = format.size() <= FORMAT_MAX ? IntegerConversions(format) : -1;
    if (conversions < 0 || conversions > 1) {
        static std::string reported;
        if (reported != format) {
            reported = format;
            LogPrintf(g_Log, "Level number text \"%.64s\" is not a format with one number; the number is shown alone",
                      format.c_str());
        }
        return std::to_string(number);
    }
    char text[FORMAT_MAX + 64];
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#pragma GCC diagnostic ignored "-Wformat-security"
    std::snprintf(text, sizeof(text), format.c_str(), number);
#pragma GCC diagnostic pop
    return text;
}

LevelChoice::LevelChoice(YGameShellHost& host, Init& config) : host_(host), config_(config) {}

void LevelChoice::SetLevels(const std::vector<std::string>& names) {
    ReleaseThumbnails(true);
    levels_ = names;
    if (levels_.size() > static_cast<std::size_t>(LEVEL_CHOICE_MAX_LEVELS)) {
        LogPrintf(g_Log, "%zu levels found; the level choice offers the first %d", levels_.size(),
                  LEVEL_CHOICE_MAX_LEVELS);
        levels_.resize(LEVEL_CHOICE_MAX_LEVELS);
    }
    levelTarget = std::clamp(levelTarget, 0, std::max(0, LevelCount() - 1));
    base = -1; // the slots are filled anew for the new list
    heldThumbs_.reserve(LEVEL_THUMB_SLOTS + 2 * LEVEL_THUMB_KEEP + 1);
}

void LevelChoice::SetupLevelPage(const YLocale& locale) {
    UILayout* lev = host_.Page(PAGE_LEV);
    auto image = [lev](const char* name) { return lev ? dynamic_cast<UIImage*>(lev->FindChild(name)) : nullptr; };
    levUp_ = image("lev_up");
    levDown_ = image("lev_down");
    startButton_ = image("onStartGame");
    levelNumber_ = lev ? dynamic_cast<UINamedText*>(lev->FindChild("level_number")) : nullptr;
    numberFormat_ = const_cast<YLocale&>(locale).Str("level_number");
    shownNumber_ = -1;
}

void LevelChoice::ShowGameModeTitle(UIControl* sender) {
    auto* item = dynamic_cast<UIMenuItem*>(sender);
    UILayout* lev = host_.Page(PAGE_LEV);
    auto* title = lev ? dynamic_cast<UINamedText*>(lev->FindChild("game_mode")) : nullptr;
    if (item && title) title->SetText(item->GetText());
}

bool LevelChoice::IsOpen(int level) const { return level <= config_.CurrentGameMode().openLevels; }

void LevelChoice::SelectLevel(int index) {
    if (levelChosen) return;
    if (index > LevelCount() - 1) index = LevelCount() - 1;
    if (index < 0) index = 0;
    levelTarget = index;
}

void LevelChoice::StartSelectedLevel() {
    int level = std::min(static_cast<int>(levelScroll), config_.CurrentGameMode().openLevels);
    if (level >= 0 && level < LevelCount()) {
        SelectLevel(level);
        levelChosen = true;
    }
}

void LevelChoice::EnterLevelChoice() {
    levelChosen = false;
    startRequested_ = false;
    const YGameMode& mode = config_.CurrentGameMode();
    int index = host_.RacketLevelIndex();
    if (index < 0) {
        index = mode.level;
        if (index < 0) index = mode.openLevels < LevelCount() ? mode.openLevels : 0;
        host_.SetRacketLevelIndex(index);
        SelectLevel(std::min(mode.openLevels, index));
        levelScroll = static_cast<float>(levelTarget);
    } else {
        SelectLevel(std::min(mode.openLevels, index));
        float target = static_cast<float>(levelTarget);
        if (std::fabs(target - levelScroll) > 5.0f) levelScroll = levelScroll > target ? target + 5.0f : target - 5.0f;
    }
    host_.ShowPage(PAGE_LEV);
}

bool LevelChoice::KeyDown(int key) {
    int r = static_cast<int>(levelScroll + 0.5f);
    switch (key) {
        case plat::VK_RETURN: StartSelectedLevel(); return true;
        case plat::VK_ESCAPE: host_.RequestState(GS_MAIN_MENU); return true;
        case plat::VK_PRIOR: SelectLevel(r - 13); return true;
        case plat::VK_NEXT: SelectLevel(r + 13); return true;
        case plat::VK_LEFT:
        case plat::VK_DOWN: SelectLevel(r + 1); return true;
        case plat::VK_UP:
        case plat::VK_RIGHT: SelectLevel(r - 1); return true;
        default: return false;
    }
}

void LevelChoice::MouseWheel(int delta) {
    if (std::fabs(static_cast<float>(levelTarget) - levelScroll) < 2.0f) SelectLevel(levelTarget - delta / 120);
}

void LevelChoice::Update(float dt, bool leftButton) {
    if (leftButton) {
        if (levDown_ && levDown_->hovered) {
            SelectLevel(static_cast<int>(levelScroll) + 1);
        } else if (levUp_ && levUp_->hovered) {
            SelectLevel(static_cast<int>(levelScroll + 0.5f) - 1);
        }
    }
    float target = static_cast<float>(levelTarget);
    if (target > levelScroll) {
        levelScroll = std::min(levelScroll + SCROLL_SPEED * dt, target);
    } else if (target < levelScroll) {
        levelScroll = std::max(levelScroll - SCROLL_SPEED * dt, target);
    } else if (levelChosen && !startRequested_) {
        int level = static_cast<int>(levelScroll);
        if (level >= 0 && level < LevelCount()) {
            startRequested_ = true;
            host_.SetRacketLevelIndex(level);
            host_.RequestState(GS_LEVEL_START);
        }
    }
    if (levelScroll >= static_cast<float>(LEVEL_CHOICE_MAX_LEVELS)) {
        levelScroll = std::fmod(levelScroll, static_cast<float>(LEVEL_CHOICE_MAX_LEVELS));
    }
    if (static_cast<int>(levelScroll) - 4 != base) RefillSlots();
    UpdateStartButton(static_cast<int>(levelScroll));
}

void LevelChoice::RefillSlots() {
    base = static_cast<int>(levelScroll) - 4;
    ReleaseThumbnails(false);
    for (int k = 0; k < LEVEL_THUMB_SLOTS; ++k) {
        int level = base + k;
        slots[k] = level >= 0 && level < LevelCount()
                       ? host_.GetTexture(LevelThumbnailPath(levels_[static_cast<std::size_t>(level)]))
                       : nullptr;
        if (slots[k] && std::find(heldThumbs_.begin(), heldThumbs_.end(), level) == heldThumbs_.end())
            heldThumbs_.push_back(level);
    }
}

void LevelChoice::ReleaseThumbnails(bool all) {
    std::erase_if(heldThumbs_, [this, all](int level) {
        if (!all && level >= base - LEVEL_THUMB_KEEP && level < base + LEVEL_THUMB_SLOTS + LEVEL_THUMB_KEEP)
            return false;
        host_.ReleaseTexture(LevelThumbnailPath(levels_[static_cast<std::size_t>(level)]));
        return true;
    });
    if (all) {
        for (YTexture*& slot : slots) slot = nullptr;
        if (startButton_) startButton_->SetTexture(static_cast<YTexture*>(nullptr));
    }
}

void LevelChoice::UpdateStartButton(int level) {
    if (LevelCount() == 0) {
        // Nothing to start: the button is drawn and behaves as disabled.
        if (startButton_) {
            startButton_->SetEnabled(false);
            startButton_->greyWhenDisabled = true;
        }
        return;
    }
    if (level < 0 || level >= LevelCount()) return;
    YTexture* texture = slots[level - base];
    if (!texture) return;
    if (startButton_) {
        if (!buttonShader_) {
            buttonShader_ = FindShader("level_thumb2");
            buttonHoverShader_ = FindShader("level_thumb2_h");
            buttonDeniedShader_ = FindShader("level_thumb2_d");
        }
        bool open = IsOpen(level);
        startButton_->SetEnabled(open);
        startButton_->greyWhenDisabled = false; // a closed level has a look of its own
        startButton_->shader = open ? buttonShader_ : buttonDeniedShader_;
        startButton_->hoverShader = open ? buttonHoverShader_ : buttonDeniedShader_;
        startButton_->SetTexture(texture);
    }
    // The text changes with the centred level only, not every frame.
    if (levelNumber_ && level != shownNumber_) {
        shownNumber_ = level;
        levelNumber_->SetText(FormatLevelNumber(numberFormat_, level + 1));
    }
}

ThumbShader LevelChoice::ThumbnailShader(int level) const {
    if (!IsOpen(level)) return ThumbShader::Denied;
    int selected = levelChosen ? levelTarget : static_cast<int>(levelScroll);
    return level == selected ? ThumbShader::Selected : ThumbShader::Normal;
}

namespace {

// A right-handed look-at view for row vectors: the camera axes are the matrix's columns.
YMatrix LookAt(const YVector& eye, const YVector& at, const YVector& up) {
    YVector back{eye.x - at.x, eye.y - at.y, eye.z - at.z};
    back.Normalize();
    YVector right{up.y * back.z - up.z * back.y, up.z * back.x - up.x * back.z, up.x * back.y - up.y * back.x};
    right.Normalize();
    YVector top{back.y * right.z - back.z * right.y, back.z * right.x - back.x * right.z,
                back.x * right.y - back.y * right.x};
    return YMatrix{{right.x, top.x, back.x, 0.0f, right.y, top.y, back.y, 0.0f, right.z, top.z, back.z, 0.0f,
                    -right.Dot(eye), -top.Dot(eye), -back.Dot(eye), 1.0f}};
}

YMatrix Translation(float x, float y, float z) {
    YMatrix m;
    m.MatrixSetTranslation({x, y, z});
    return m;
}

YMatrix RotationZ(float degrees) {
    YMatrix m;
    m.SetRotationZ(degrees);
    return m;
}

constexpr float WHEEL3_X = -253.5761f;
constexpr float SCENE_NEAR = 5.0f;
constexpr float SCENE_FAR = 650.0f;

// What the picker draws with: made on the first frame, kept for the whole run.
struct PickerScene {
    YMeshInstance* wheels[3] = {};
    float angle1 = 0.0f, angle2 = 0.0f;
    YShader* thumb = nullptr;
    YShader* thumbSelect = nullptr;
    YShader* thumbDeny = nullptr;
    YFont* billboard = nullptr;
    YVertex quad[4];

    void Make() {
        if (wheels[0]) return;
        static const char* const meshes[3] = {"mesh\\wheel1.mes", "mesh\\wheel2.mes", "mesh\\wheel3.mes"};
        static const char* const shaders[3] = {"wheel1", "wheel2", "wheel3"};
        for (int i = 0; i < 3; ++i) {
            wheels[i] = new YMeshInstance(GetMesh(meshes[i]), 0.1f, 8);
            wheels[i]->shaders.assign(1, FindShader(shaders[i]));
        }
        thumb = FindShader("level_thumb");
        thumbSelect = FindShader("level_thumb_select");
        thumbDeny = FindShader("level_thumb_deny");
        billboard = FindFont("billboard");
        const YVector normal{0.0f, 0.0f, 1.0f};
        quad[0] = YVertex({271.0f, 3.0f, 3.1f}, normal, {1.0f, 1.0f});
        quad[1] = YVertex({279.0f, 3.0f, 3.1f}, normal, {0.0f, 1.0f});
        quad[2] = YVertex({279.0f, -3.0f, 3.1f}, normal, {0.0f, 0.0f});
        quad[3] = YVertex({271.0f, -3.0f, 3.1f}, normal, {1.0f, 0.0f});
    }
};

PickerScene& Scene() {
    static PickerScene scene;
    return scene;
}

} // namespace

void LevelChoice::DrawLevelPicker(float dt, float aspect) {
    if (!g_Render) return;
    PickerScene& scene = Scene();
    scene.Make();
    g_ShadowVolume.Begin(-10.0f);

    // The sky sways slowly.
    g_Render->SetPerspective(100.0f, aspect, 0.1f, 2.0f);
    scene.angle1 += 13.0f * dt;
    scene.angle2 += 7.0f * dt;
    if (scene.angle1 > 360.0f) scene.angle1 -= 360.0f;
    if (scene.angle2 > 360.0f) scene.angle2 -= 360.0f;
    constexpr float RAD = 3.14159265f / 180.0f;
    YMatrix sky =
        LookAt({0.0f, 0.0f, 0.0f},
               {0.05f * std::sin(scene.angle1 * RAD) - 1.0f, 1.0f, 0.025f * std::cos(scene.angle2 * RAD) - 0.75f},
               {0.0f, 0.0f, 1.0f});
    g_Camera.SetView(&sky);
    g_EnvironmentBox.Draw();

    YMatrix view = LookAt({4.2978f, 33.2277f, 30.074f}, {17.225f, 8.8941f, 6.6322f},
                          {std::sin(9.0f * RAD), 0.0f, std::cos(9.0f * RAD)});
    g_Camera.SetView(&view);
    g_Camera.SetFov(45.0f);
    g_Render->SetPerspective(g_Camera.fov, aspect, SCENE_NEAR, SCENE_FAR);
    g_Render->SetWorldMatrix(&view);

    // The wheels turn together like gears: 27.69, 18 and 1.385 degrees a level.
    float f = (levelScroll - 0.5f) * (-18.0f / 13.0f);
    YMatrix wheel1 = RotationZ(-20.0f * f);
    YMatrix wheel2 = Translation(-5.3303f, 0.0f, 0.0f) * RotationZ(-13.0f * f);
    YMatrix wheel3 = Translation(WHEEL3_X, 0.0f, 0.0f) * RotationZ(-(36.0f + std::fmod(f, 18.0f)));
    const YMatrix* matrices[3] = {&wheel1, &wheel2, &wheel3};
    for (int i = 0; i < 3; ++i) {
        scene.wheels[i]->SetTransform(matrices[i]->m);
        scene.wheels[i]->Draw();
    }
    g_Render->SetWorldMatrix(&view);

    static const float WHITE[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    const YVector right{1.0f, 0.0f, 0.0f}, up{0.0f, 1.0f, 0.0f};
    for (int k = 0; k < LEVEL_THUMB_SLOTS; ++k) {
        if (!slots[k]) continue;
        int level = base + k;
        YMatrix placed =
            Translation(WHEEL3_X, 0.0f, 0.0f) * RotationZ((levelScroll - static_cast<float>(level)) * 18.0f / 13.0f);
        YMatrix world = view * placed;
        g_Render->SetWorldMatrix(&world);
        ThumbShader which = ThumbnailShader(level);
        YShader* shader = which == ThumbShader::Denied     ? scene.thumbDeny
                          : which == ThumbShader::Selected ? scene.thumbSelect
                                                           : scene.thumb;
        g_Render->SetShader(shader, true);
        g_Render->BindStageTexture(slots[k], 0);
        g_Render->DrawLitQuad(scene.quad);

        // The number stands just outside the thumbnail's outer edge.
        YMatrix numberWorld = view * (placed * RotationZ(180.0f));
        g_Render->SetWorldMatrix(&numberWorld);
        g_Render->SetShaderColor(scene.billboard->shader, WHITE);
        char text[16];
        std::snprintf(text, sizeof(text), "%d", level + 1);
        float w = scene.billboard->GetTextWidth(text);
        YVector origin{-281.5f - 3.0f * w, -1.0f, 3.1f};
        g_Render->DrawText3D(scene.billboard, &origin, 3.0f, text, &right, &up);
    }
    g_Render->SetWorldMatrix(&view);
    g_ShadowVolume.Draw(false);
}
