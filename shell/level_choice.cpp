#include "shell/level_choice.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "core/init.h"
#include "core/locale.h"
#include "core/log.h"
#include "render/shader.h"
#include "shell/menu_host.h"
#include "shell/ui/ui_display_widgets.h"
#include "shell/ui/ui_layout.h"

namespace {

constexpr float SCROLL_SPEED = 5.0f; // levels a second
constexpr int KEY_PAGE_UP = 33;
constexpr int KEY_PAGE_DOWN = 34;

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

LevelChoice::LevelChoice(MenuHost& host, Init& config) : host_(host), config_(config) {}

void LevelChoice::SetLevels(const std::vector<std::string>& names) {
    levels_ = names;
    if (levels_.size() > static_cast<std::size_t>(LEVEL_CHOICE_MAX_LEVELS)) {
        LogPrintf(g_Log, "%zu levels found; the level choice offers the first %d", levels_.size(),
                  LEVEL_CHOICE_MAX_LEVELS);
        levels_.resize(LEVEL_CHOICE_MAX_LEVELS);
    }
    levelTarget = std::clamp(levelTarget, 0, std::max(0, LevelCount() - 1));
    base = -1; // the slots are filled anew for the new list
}

void LevelChoice::SetupLevelPage(UILayout* lev, const YLocale& locale) {
    page_ = lev;
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
    auto* title = page_ ? dynamic_cast<UINamedText*>(page_->FindChild("game_mode")) : nullptr;
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
    host_.ShowPage(page_);
}

bool LevelChoice::KeyDown(int key) {
    int r = static_cast<int>(levelScroll + 0.5f);
    switch (key) {
        case uikey::ENTER: StartSelectedLevel(); return true;
        case uikey::ESCAPE: host_.RequestState(gamestate::MAIN_MENU); return true;
        case KEY_PAGE_UP: SelectLevel(r - 13); return true;
        case KEY_PAGE_DOWN: SelectLevel(r + 13); return true;
        case uikey::LEFT:
        case uikey::DOWN: SelectLevel(r + 1); return true;
        case uikey::UP:
        case uikey::RIGHT: SelectLevel(r - 1); return true;
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
            host_.RequestState(gamestate::LEVEL_START);
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
    for (int k = 0; k < LEVEL_THUMB_SLOTS; ++k) {
        int level = base + k;
        slots[k] = level >= 0 && level < LevelCount()
                       ? host_.GetTexture(LevelThumbnailPath(levels_[static_cast<std::size_t>(level)]))
                       : nullptr;
    }
}

void LevelChoice::UpdateStartButton(int level) {
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

void LevelChoice::DrawLevelPicker(float, float) {}
